#include "platform/Dock.h"
#include "platform/Application.h"
#include "platform/ClassBuilder.h"

namespace platform {

// The frame that shows where a dragged control would land: a window cut to
// a ring, above every other, that neither takes the activation nor stands
// in the pointer's way.
class TDockFrame : public TCustomControl {
    PLATFORM_CLASS(TDockFrame, TCustomControl)
public:
    explicit TDockFrame(TComponent* AOwner) : TCustomControl(AOwner) { SetVisible(false); }

    void ShowAt(const TRect& R)
    {
        SetBounds(R.left, R.top, R.right - R.left, R.bottom - R.top);
        HRGN ring = CreateRectRgn(0, 0, Width(), Height());
        HRGN inside = CreateRectRgn(Thickness, Thickness, Width() - Thickness, Height() - Thickness);
        CombineRgn(ring, ring, inside, RGN_DIFF);
        DeleteObject(inside);
        SetWindowRgn(Handle(), ring, TRUE); // the window owns the region now
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetVisible(true);
    }

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TCustomControl::CreateParams(Params);
        Params.Style = WS_POPUP;
        Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
        Params.WndParent = nullptr;
    }
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_NCHITTEST) {
            Message.Result = HTTRANSPARENT;
            return;
        }
        TCustomControl::WndProc(Message);
    }
    // Black and white dots, seen on any background.
    void Paint() override
    {
        static const WORD dots[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
        HBITMAP pattern = CreateBitmap(8, 8, 1, 1, dots);
        HBRUSH brush = CreatePatternBrush(pattern);
        HDC dc = Canvas()->Handle();
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        const TRect all = ClientRect();
        ::FillRect(dc, &all, brush);
        DeleteObject(brush);
        DeleteObject(pattern);
    }

private:
    static constexpr int Thickness = 3;
};

const TClassInfo& TDockFrame::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TDockFrame, TCustomControl>("TDockFrame").Build();
    return info;
}

// ---------------------------------------------------------------- TDragDockObject

const TClassInfo& TDragDockObject::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TDragDockObject, TDragObject>("TDragDockObject").Build();
    return info;
}

TDragDockObject::~TDragDockObject()
{
    delete FFrame;
}

void TDragDockObject::Begin(TPoint ScreenPos)
{
    FGrab = FControl->ScreenToClient(ScreenPos);
    FFrame = new TDockFrame(nullptr);
}

namespace {

bool IsWithin(const TControl* Control, const TControl* Ancestor)
{
    for (; Control; Control = Control->Parent())
        if (Control == Ancestor)
            return true;
    return false;
}

} // namespace

TWinControl* TDragDockObject::SiteAt(TPoint ScreenPos) const
{
    // A control cannot go into itself or into one of its own children.
    for (TControl* c = ControlAtScreenPos(ScreenPos); c; c = c->Parent())
        if (auto* site = dynamic_cast<TWinControl*>(c); site && site->DockSite() && !IsWithin(site, FControl))
            return site;
    return nullptr;
}

void TDragDockObject::MovedTo(TPoint ScreenPos, TWinControl* AcceptingSite)
{
    const int width = FControl->Width(), height = FControl->Height();
    FDockRect = Rect(ScreenPos.x - FGrab.x, ScreenPos.y - FGrab.y, ScreenPos.x - FGrab.x + width,
                     ScreenPos.y - FGrab.y + height);
    if (AcceptingSite && FControl->Align() != alNone) {
        TRect area = AcceptingSite->ClientRect();
        AcceptingSite->AdjustClientRect(area);
        const TPoint origin = AcceptingSite->ClientToScreen(Point(0, 0));
        OffsetRect(&area, origin.x, origin.y);
        switch (FControl->Align()) {
        case alTop: area.bottom = std::min<LONG>(area.bottom, area.top + height); break;
        case alBottom: area.top = std::max<LONG>(area.top, area.bottom - height); break;
        case alLeft: area.right = std::min<LONG>(area.right, area.left + width); break;
        case alRight: area.left = std::max<LONG>(area.left, area.right - width); break;
        default: break;
        }
        FDockRect = area;
    }
    FFrame->ShowAt(FDockRect);
}

void TDragDockObject::Finish(TPoint ScreenPos, TWinControl* AcceptingSite, bool Drop)
{
    delete FFrame;
    FFrame = nullptr;
    if (!FControl)
        return;
    if (!Drop) {
        FControl->DoEndDock(nullptr, 0, 0);
        return;
    }
    // Handlers may free the control: DragControlGone clears FControl then.
    TWinControl* from = FControl->Parent();
    if (from && from != AcceptingSite && from->DockSite() && !from->DoUnDock(AcceptingSite, FControl)) {
        if (FControl)
            FControl->DoEndDock(nullptr, 0, 0);
        return;
    }
    if (!FControl)
        return;
    if (AcceptingSite) {
        Dock(AcceptingSite, ScreenPos);
        return;
    }
    Float();
    FControl->DoEndDock(nullptr, 0, 0);
}

void TDragDockObject::Dock(TWinControl* Site, TPoint ScreenPos)
{
    auto* host = dynamic_cast<TToolDockForm*>(FControl->Parent());
    const TPoint at = Site->ScreenToClient(Point(FDockRect.left, FDockRect.top));
    FControl->SetParent(Site);
    FControl->SetBounds(at.x, at.y, FControl->Width(), FControl->Height());
    if (host)
        host->Release();
    const TPoint p = Site->ScreenToClient(ScreenPos);
    Site->DockDrop(this, p.x, p.y);
    if (FControl)
        FControl->DoEndDock(Site, p.x, p.y);
}

void TDragDockObject::Float()
{
    auto* host = dynamic_cast<TToolDockForm*>(FControl->Parent());
    if (!host) {
        host = New<TToolDockForm>(Application);
        host->Hold(FControl);
    }
    // The control keeps its size and stays under the pointer where it was held.
    TRect frame = FDockRect;
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(host->Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(host->Handle(), GWL_EXSTYLE)));
    host->SetBounds(frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
    host->Show();
}

// ---------------------------------------------------------------- TToolDockForm

const TClassInfo& TToolDockForm::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TToolDockForm, TForm>("TToolDockForm").Build();
    return info;
}

TToolDockForm::TToolDockForm(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsSizeToolWin);
}

TToolDockForm::~TToolDockForm()
{
    while (ControlCount() > 0)
        Controls(0)->SetParent(nullptr);
}

void TToolDockForm::Hold(TControl* Control)
{
    SetCaption(Control->Caption());
    Control->SetParent(this);
    FreeNotification(Control);
}

void TToolDockForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TForm::Notification(AComponent, Operation);
    // Its control has gone (freed, or docked by the program somewhere else).
    if (Operation == opRemove && ControlCount() == 0 && !ComponentState().Contains(csDestroying))
        Release();
}

void TToolDockForm::AlignControls()
{
    const TRect client = ClientRect();
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->SetBounds(0, 0, client.right, client.bottom);
}

// ---------------------------------------------------------------- the controls' part

void TControl::DoStartDock(TDragObject*& DragObject)
{
    if (OnStartDock)
        OnStartDock(this, DragObject);
}

void TControl::DoEndDock(TObject* Target, int X, int Y)
{
    if (OnEndDock)
        OnEndDock(this, Target, X, Y);
}

void TWinControl::DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    if (OnDockOver)
        OnDockOver(this, Source, X, Y, State, Accept);
}

void TWinControl::DockDrop(TDragDockObject* Source, int X, int Y)
{
    if (OnDockDrop)
        OnDockDrop(this, Source, X, Y);
}

bool TWinControl::DoUnDock(TWinControl* NewTarget, TControl* Client)
{
    bool allow = true;
    if (OnUnDock)
        OnUnDock(this, Client, NewTarget, allow);
    return allow;
}

} // namespace platform
