#include "modules/Bar/QuickBar.h"
#include "modules/Suite/SuiteSettings.h"
#include "modules/Suite/SuiteSkin.h"
#include "modules/Suite/SuiteText.h"

#include "loom/Graphics/WinRegion.h"
#include "platform/ClassBuilder.h"

#include <algorithm>
#include <cstring>

using namespace platform;

namespace tessel {

namespace {

const char* const Section = "Bar";
// The card's corners are cut away where the picture holds the key colour.
const TColor KeyColour = RGB(255, 0, 255);
constexpr int Grip = 22, Pad = 8, Step = SkinButtonHeight + 4, Gap = 8;

} // namespace

const TClassInfo& TFormBar::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TFormBar, TForm>("TFormBar").Build();
    return info;
}

TFormBar::TFormBar(TComponent* AOwner, const TModuleRegistration& Registration)
    : TForm(AOwner), FRegistration(Registration)
{
    SetBorderStyle(bsNone);
    SetText("Tessel");
    ApplyLanguageFont(Font());

    FCard = New<TImage>(this);
    FCard->SetParent(this);
    // The card is the bar's handle: dragging it moves the bar.
    FCard->OnMouseDown = [this](TObject*, TMouseButton Button, TShiftState, int, int) {
        if (Button != mbLeft)
            return;
        ReleaseCapture();
        PostMessageA(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
    };

    int top = Grip;
    const int groups = std::clamp<int>(Registration.Groups ? Registration.GroupCount : 0, 0, 256);
    for (int i = 0; i < groups; ++i) {
        const TGroupRecord& group = Registration.Groups[i];
        for (int j = 0; j < std::max(group.PageCount, 0) && group.Pages; ++j) {
            TPageButton& page = FPages.emplace_back(TPageButton{nullptr, &group.Pages[j], {i + 1, j + 1}});
            page.Button = MakeSkinButton(this, PageCaption(group.Pages[j]), Pad, top);
            page.Button->SetShowHint(true);
            const size_t index = FPages.size() - 1;
            page.Button->OnClick = [this, index](TObject*) {
                Ask(cmdShow, tgMainWindow, FPages[index].Pair);
                Hide();
            };
            top += Step;
        }
    }
    top += FPages.empty() ? 0 : Gap;
    auto* main = FMain = MakeSkinButton(this, Tr("Main Window"), Pad, top);
    main->OnClick = [this](TObject*) {
        Ask(cmdShow, tgMainWindow, nullptr);
        Hide();
    };
    auto* tray = FTray = MakeSkinButton(this, Tr("Tray"), Pad, top + Step);
    tray->OnClick = [this](TObject*) {
        Ask(cmdShow, tgTrayIcon, nullptr);
        Hide();
    };
    auto* exit = FExit = MakeSkinButton(this, Tr("Exit"), Pad, top + 2 * Step);
    exit->OnClick = [this](TObject*) {
        if (ConfirmExit())
            Ask(cmdExit, tgMainWindow, nullptr);
    };

    // Closed by the keyboard (Alt+F4), the bar goes to the tray as its Tray
    // button does: a hidden bar alone would leave the suite with no face.
    OnClose = [this](TObject*, TCloseAction& Action) {
        Action = caNone;
        Ask(cmdShow, tgTrayIcon, nullptr);
        Hide();
    };

    // As wide as the captions need before it takes its place, so that the
    // place it kept is where it stands.
    const int height = top + 3 * Step + Pad - 4;
    SetBounds(0, 80, SkinButtonWidth + 2 * Pad, height);
    RefreshTips();
    SetBounds(GetSystemMetrics(SM_CXSCREEN) - Width() - 40, 80, Width(), height);
    RestoreBounds(this, Section, false);
    DrawCard(Width(), height);
}

void TFormBar::DrawCard(int Width, int Height)
{
    FCard->SetBounds(0, 0, Width, Height);
    FCard->Picture()->Bitmap()->SetSize(Width, Height);
    TCanvas* canvas = FCard->Canvas();
    canvas->Brush()->SetColor(KeyColour);
    canvas->FillRect(Rect(0, 0, Width, Height));
    canvas->Pen()->SetColor(RGB(55, 65, 81));
    canvas->Brush()->SetColor(RGB(237, 240, 244));
    canvas->RoundRect(0, 0, Width, Height, 14, 14);
    // The grip: a blue accent with the suite's name.
    canvas->Brush()->SetColor(RGB(46, 110, 190));
    canvas->Pen()->SetColor(RGB(46, 110, 190));
    canvas->RoundRect(4, 4, Width - 4, Grip - 4, 8, 8);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetColor(RGB(255, 255, 255));
    canvas->Font()->SetHeight(-MulDiv(7, 96, 72));
    canvas->Font()->SetStyle({fsBold});
    canvas->TextOut(10, 5, "Tessel");

    loom::WinRegion region;
    region.FromBitmap(FCard->Picture()->Bitmap(), KeyColour);
    region.ApplyToWindow(Handle(), true);
}

void TFormBar::Ask(int32_t Code, int32_t Target, void* Data)
{
    TCommandRecord record{Code, Target, Data};
    if (FRegistration.Callback)
        FRegistration.Callback(&record);
}

void TFormBar::ShowBar()
{
    RefreshTips();
    // On top before it shows, so that it never shows below another window.
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Show();
}

void TFormBar::RefreshTips()
{
    for (TPageButton& page : FPages) {
        TPageRecord& record = *page.Record;
        // A page whose module failed, or that was left out, says only why,
        // and cannot be opened.
        const TPageState state = PageStateOf(FRegistration.Groups[page.Pair[0] - 1], page.Pair[1] - 1);
        const bool available = state == pageAvailable;
        const std::string tip = available ? FieldText(PageTip(record).Tip) : std::string();
        const std::string badge = FieldText(PageTip(record).Badge);
        std::string text = PageCaption(record);
        if (!tip.empty())
            text.append(" [").append(badge.empty() ? std::string(1, '!') : badge).append("]");
        if (page.Button->Text() != text)
            page.Button->SetText(text);
        page.Button->SetHint(available ? tip : UnavailableText(state));
        page.Button->SetEnabled(available);
    }
    Fit();
}

void TFormBar::Fit()
{
    int width = SkinButtonWidth;
    for (TPageButton& page : FPages)
        width = std::max(width, page.Button->FittingWidth());
    for (TSkinButton* button : {FMain, FTray, FExit})
        width = std::max(width, button->FittingWidth());
    if (width == FButtonWidth)
        return;
    FButtonWidth = width;
    for (TPageButton& page : FPages)
        page.Button->SetButtonWidth(width);
    for (TSkinButton* button : {FMain, FTray, FExit})
        button->SetButtonWidth(width);
    // Grown, it stays where it stands as long as it fits on the work area.
    const int barWidth = width + 2 * Pad;
    RECT wanted{Left(), Top(), Left() + barWidth, Top() + Height()};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor);
    const int left = std::clamp<int>(wanted.left, monitor.rcWork.left,
                                     std::max<int>(monitor.rcWork.left, monitor.rcWork.right - barWidth));
    SetBounds(left, Top(), barWidth, Height());
    DrawCard(Width(), Height());
}

void TFormBar::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ENTERSIZEMOVE:
        FMoving = true;
        break;
    case WM_EXITSIZEMOVE:
        FMoving = false;
        SaveBounds(this, Section, false);
        break;
    case WM_WINDOWPOSCHANGED:
        // A drag is kept once it ends; a move made by a program at once.
        if (!FMoving && HandleAllocated() && IsWindowVisible(Handle())) {
            TForm::WndProc(Message);
            SaveBounds(this, Section, false);
            return;
        }
        break;
    }
    TForm::WndProc(Message);
}

} // namespace tessel
