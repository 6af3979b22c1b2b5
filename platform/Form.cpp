#include "platform/Form.h"
#include "platform/Align.h"
#include "platform/Application.h"
#include "platform/DialogKeys.h"
#include "platform/FormFile.h"
#include "platform/Resources.h"

#include <algorithm>

namespace platform {

namespace {

// Frees a released form once the messages before it have been handled.
constexpr UINT CM_RELEASE = WM_APP + 0x3F00;

struct TDisabledWindows {
    HWND Keep;
    std::vector<HWND> Windows;
};

BOOL CALLBACK DisableWindow(HWND Wnd, LPARAM Data)
{
    auto* disabled = reinterpret_cast<TDisabledWindows*>(Data);
    if (Wnd != disabled->Keep && IsWindowVisible(Wnd) && IsWindowEnabled(Wnd)) {
        disabled->Windows.push_back(Wnd);
        EnableWindow(Wnd, FALSE);
    }
    return TRUE;
}

} // namespace

const TClassInfo& TForm::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TForm, TWinControl>("TForm")
        .Publish({"Caption", "Color", "Font", "Enabled", "OnClick", "OnDblClick", "OnMouseDown",
                  "OnMouseMove", "OnMouseUp", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnResize", "PopupMenu",
                  "ShowHint", "OnContextPopup", "OnDragDrop", "OnDragOver", "Constraints", "DockSite",
                  "OnDockDrop", "OnDockOver", "OnUnDock"})
        .Enum("BorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
              &TForm::BorderStyle, &TForm::SetBorderStyle, bsSizeable)
        .Int("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth, std::nullopt)
        .Int("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight, std::nullopt)
        .Bool("Visible", &TForm::Visible, &TForm::SetVisible, false)
        .Event("OnCreate", &TForm::OnCreate)
        .Event("OnDestroy", &TForm::OnDestroy)
        .Event("OnShow", &TForm::OnShow)
        .Event("OnHide", &TForm::OnHide)
        .Event("OnClose", &TForm::OnClose)
        .Event("OnCloseQuery", &TForm::OnCloseQuery)
        .Build();
    return info;
}

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner)
{
    SetVisible(false);
    SetParentFont(false);
    Screen->FForms.push_back(this);
}

TForm::~TForm()
{
    Destroying();
    if (FModalState) {
        FModalState->Gone = true;
        FModalState->Result = FModalResult;
    }
    auto& forms = Screen->FForms;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    Application->FormDestroyed(this);
}

void TForm::AfterConstruction()
{
    TWinControl::AfterConstruction();
    try {
        if (OnCreate)
            OnCreate(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TForm::BeforeDestruction()
{
    TWinControl::BeforeDestruction();
    if (HandleAllocated())
        ShowWindow(Handle(), SW_HIDE);
    try {
        if (OnDestroy)
            OnDestroy(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TForm::LoadLayout()
{
    std::string text;
    if (!FindFormResource(ClassName(), text))
        throw EResNotFound("Resource " + ClassName() + " not found");
    ReadComponentText(this, text);
}

void TForm::BorderStyles(DWORD& Style, DWORD& ExStyle) const
{
    switch (FBorderStyle) {
    case bsNone:
        Style |= WS_POPUP;
        break;
    case bsSingle:
        Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        break;
    case bsSizeable:
        Style |= WS_OVERLAPPEDWINDOW;
        break;
    case bsDialog:
        Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case bsToolWindow:
        Style |= WS_CAPTION | WS_SYSMENU;
        ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
        ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
}

void TForm::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (!Enabled())
        Params.Style |= WS_DISABLED;
    Params.ExStyle = 0;
    BorderStyles(Params.Style, Params.ExStyle);
    // Forms belong to the hidden application window, which keeps them off the taskbar.
    Params.WndParent = Application->Handle();
}

void TForm::SetVisible(bool Value)
{
    if (Value == Visible())
        return;
    // A form being read shows itself once it has been read whole (Loaded).
    if (ComponentState().Contains(csLoading)) {
        TControl::SetVisible(Value);
        return;
    }
    if (Value) {
        TWinControl::SetVisible(true);
        ShowWindow(Handle(), SW_SHOW);
        SetForegroundWindow(Handle());
        if (OnShow)
            OnShow(this);
    } else {
        TWinControl::SetVisible(false);
        if (OnHide)
            OnHide(this);
    }
}

void TForm::Loaded()
{
    TWinControl::Loaded();
    if (Visible()) {
        TControl::SetVisible(false);
        SetVisible(true);
    }
}

void TForm::SetBorderStyle(TFormBorderStyle Value)
{
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    if (HandleAllocated()) {
        DWORD style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
        DWORD exStyle = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE));
        style &= ~(WS_POPUP | WS_OVERLAPPEDWINDOW | DS_MODALFRAME);
        exStyle &= ~(WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW);
        BorderStyles(style, exStyle);
        SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>(style));
        SetWindowLongA(Handle(), GWL_EXSTYLE, static_cast<LONG>(exStyle));
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// What the window adds around its client area, from its styles: a window
// narrower than its own frame has no client area to measure it by.
SIZE TForm::FrameSize() const
{
    DWORD style = 0, exStyle = 0;
    if (HandleAllocated()) {
        HWND window = const_cast<TForm*>(this)->Handle(); // exists: nothing is created
        style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
        exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    } else {
        BorderStyles(style, exStyle);
    }
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

TRect TForm::ClientRect() const
{
    if (HandleAllocated())
        return TWinControl::ClientRect();
    const SIZE frame = FrameSize();
    return Rect(0, 0, std::max(0L, Width() - frame.cx), std::max(0L, Height() - frame.cy));
}

void TForm::SetClientWidth(int Value)
{
    SetBounds(Left(), Top(), Value + FrameSize().cx, Height());
}

void TForm::SetClientHeight(int Value)
{
    SetBounds(Left(), Top(), Width(), Value + FrameSize().cy);
}

bool TForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::DoClose(TCloseAction& Action)
{
    if (OnClose)
        OnClose(this, Action);
}

void TForm::Close()
{
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        ShowWindow(Handle(), SW_MINIMIZE);
    else
        Release();
}

TModalResult TForm::ShowModal()
{
    if (Visible() || !Enabled() || FModal)
        throw EInvalidOperation("Cannot make a visible window modal");
    if (GetCapture())
        ReleaseCapture();
    const HWND active = GetActiveWindow();
    const HWND focus = GetFocus();
    TModalState state;
    FModal = true;
    FModalResult = mrNone;
    FModalState = &state;
    TDisabledWindows disabled{Handle(), {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&disabled));
    // While this form is still shown, so Windows does not activate another window when it hides.
    auto restore = [&] {
        for (HWND wnd : disabled.Windows)
            if (IsWindow(wnd))
                EnableWindow(wnd, TRUE);
        if (active && IsWindow(active))
            SetActiveWindow(active);
        if (focus && IsWindow(focus))
            ::SetFocus(focus);
        if (!state.Gone) {
            FModal = false;
            FModalState = nullptr;
        }
    };
    TCloseAction action = caHide;
    try {
        Show();
        while (!state.Gone && FModalResult == mrNone) {
            Application->HandleMessage();
            if (state.Gone)
                break;
            if (Application->Terminated())
                FModalResult = mrCancel;
            else if (FModalResult != mrNone) {
                // The result may still be refused by OnCloseQuery or OnClose.
                action = caNone;
                if (CloseQuery() && !state.Gone) {
                    action = caHide;
                    DoClose(action);
                }
                if (!state.Gone && action == caNone)
                    FModalResult = mrNone;
            }
        }
        restore();
    } catch (...) {
        restore();
        throw;
    }
    if (state.Gone)
        return state.Result != mrNone ? state.Result : mrCancel;
    Hide();
    if (action == caFree)
        Release();
    return FModalResult;
}

// The system asks before the user sizes the frame and before it maximises
// the window: both keep to the constraints.
void TForm::LimitTracking(MINMAXINFO& Info) const
{
    const TSizeConstraints* limits = Constraints();
    if (limits->MinWidth() > 0)
        Info.ptMinTrackSize.x = std::max<LONG>(Info.ptMinTrackSize.x, limits->MinWidth());
    if (limits->MinHeight() > 0)
        Info.ptMinTrackSize.y = std::max<LONG>(Info.ptMinTrackSize.y, limits->MinHeight());
    if (limits->MaxWidth() > 0) {
        Info.ptMaxTrackSize.x = std::max<LONG>(Info.ptMinTrackSize.x, limits->MaxWidth());
        Info.ptMaxSize.x = std::min(Info.ptMaxSize.x, Info.ptMaxTrackSize.x);
    }
    if (limits->MaxHeight() > 0) {
        Info.ptMaxTrackSize.y = std::max<LONG>(Info.ptMinTrackSize.y, limits->MaxHeight());
        Info.ptMaxSize.y = std::min(Info.ptMaxSize.y, Info.ptMaxTrackSize.y);
    }
}

void TForm::Release()
{
    PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

void TForm::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case WM_QUERYENDSESSION:
        Message.Result = CloseQuery() ? 1 : 0;
        return;
    case CM_RELEASE:
        Free();
        return;
    case WM_ACTIVATE:
        // As a dialog box does: the focus comes back to where it was, or
        // at first to the first tab stop; it never stays on the bare form.
        if (LOWORD(Message.WParam) == WA_INACTIVE) {
            if (const HWND focus = GetFocus(); focus && IsChild(Handle(), focus))
                FLastFocus = focus;
            break;
        }
        DefaultHandler(Message);
        NoteHeldKeys(Handle());
        if (!HIWORD(Message.WParam)) {
            HWND focus = FLastFocus;
            if (!focus || !IsChild(Handle(), focus) || !IsWindowVisible(focus) || !IsWindowEnabled(focus))
                focus = GetNextDlgTabItem(Handle(), nullptr, FALSE);
            if (focus && IsChild(Handle(), focus))
                ::SetFocus(focus);
        }
        return;
    case WM_GETMINMAXINFO:
        DefaultHandler(Message);
        LimitTracking(*reinterpret_cast<MINMAXINFO*>(Message.LParam));
        return;
    }
    if (Message.Msg == DialogKeyMessage()) {
        Message.Result = DialogKey(static_cast<WORD>(Message.WParam), KeyboardShiftState()) ? 1 : 0;
        return;
    }
    TWinControl::Dispatch(Message);
}

bool TForm::DialogKey(WORD, TShiftState)
{
    return false;
}

void TForm::SelectNext(TWinControl* Current, bool Forward)
{
    const HWND from = Current && Current->HandleAllocated() ? Current->Handle() : nullptr;
    if (const HWND next = GetNextDlgTabItem(Handle(), from, !Forward))
        ::SetFocus(next);
}

void TForm::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root)
{
    TWinControl::GetChildren(Proc, Root);
    if (Root == this)
        for (int i = 0; i < ComponentCount(); ++i)
            if (!Components(i)->HasParent())
                Proc(Components(i));
}

} // namespace platform
