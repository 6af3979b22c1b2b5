#include "Trayicon.h"

#include "platform/Application.h"
#include "platform/ClassBuilder.h"
#include "platform/Form.h"
#include "platform/Icon.h"
#include "platform/ImageList.h"
#include "platform/Menu.h"
#include "platform/Resources.h"
#include "platform/SystemServices.h"
#include "platform/Timer.h"
#include "platform/UtilWindow.h"

#include <cstring>

using namespace platform;

namespace {

// String table entries of the two refused shell requests.
const int SCannotCreateIcon = 0;
const int SCannotRemoveIcon = 5;

const DWORD BaseFlags = NIF_MESSAGE | NIF_ICON;

// A process running with higher rights than the taskbar's does not receive
// the taskbar's broadcasts unless it lets them through. The filter call does
// not exist on every system the program runs on, so it is looked up.
void AllowMessageFrom(HWND Wnd, UINT Message)
{
    using TFilter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32)
        return;
    auto filter = reinterpret_cast<TFilter>(
        reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
    if (filter)
        filter(Wnd, Message, 1 /* MSGFLT_ALLOW */, nullptr);
}

// Form files create the component by class name whether or not the form
// declares a field of this class.
[[maybe_unused]] const bool Registered = (RegisterClasses({&TTrayIcon::StaticClassInfo()}), true);

} // namespace

const TClassInfo& TTrayIcon::StaticClassInfo()
{
    static const std::vector<std::string> Gestures = {
        "imClick",        "imDoubleClick",      "imMouseDown", "imMouseUp", "imLeftClickUp", "imLeftDoubleClick",
        "imRightClickUp", "imRightDoubleClick", "imNone"};
    static const TClassInfo& info = TClassBuilder<TTrayIcon, TComponent>("TTrayIcon")
        .Bool("Visible", &TTrayIcon::Visible, &TTrayIcon::SetVisible, false)
        .Str("Hint", &TTrayIcon::Hint, &TTrayIcon::SetHint)
        .Ref<TPopupMenu>("PopupMenu", &TTrayIcon::PopupMenu, &TTrayIcon::SetPopupMenu)
        .Bool("Hide", &TTrayIcon::Hide, &TTrayIcon::SetHide, true)
        .Enum("RestoreOn", Gestures, &TTrayIcon::RestoreOn, &TTrayIcon::SetRestoreOn, imDoubleClick)
        .Enum("PopupMenuOn", Gestures, &TTrayIcon::PopupMenuOn, &TTrayIcon::SetPopupMenuOn, imNone)
        .Ref<TImageList>("Icons", &TTrayIcon::Icons, &TTrayIcon::SetIcons)
        .Int("IconIndex", &TTrayIcon::IconIndex, &TTrayIcon::SetIconIndex, 0)
        .Int("AnimateInterval", &TTrayIcon::AnimateInterval, &TTrayIcon::SetAnimateInterval, 1000)
        .Bool("Animate", &TTrayIcon::Animate, &TTrayIcon::SetAnimate, false)
        .Event("OnMinimize", &TTrayIcon::OnMinimize)
        .Event("OnRestore", &TTrayIcon::OnRestore)
        .Event("OnMouseMove", &TTrayIcon::OnMouseMove)
        .Event("OnMouseExit", &TTrayIcon::OnMouseExit)
        .Event("OnMouseEnter", &TTrayIcon::OnMouseEnter)
        .Event("OnClick", &TTrayIcon::OnClick)
        .Event("OnMouseDown", &TTrayIcon::OnMouseDown)
        .Event("OnMouseUp", &TTrayIcon::OnMouseUp)
        .Event("OnAnimate", &TTrayIcon::OnAnimate)
        .Event("OnCreate", &TTrayIcon::OnCreate)
        .Event("OnDestroy", &TTrayIcon::OnDestroy)
        .Event("OnActivate", &TTrayIcon::OnActivate)
        .Event("OnDeactivate", &TTrayIcon::OnDeactivate)
        .Build();
    return info;
}

TTrayIcon::TTrayIcon(TComponent* AOwner) : TComponent(AOwner), FIcon(new TIcon), FTimer(new TTimer(nullptr))
{
    try {
        FIcon->Assign(Application->Icon());
        OnAnimate = [this](TObject* Sender) { DoOnAnimate(Sender); };
        FTimer->SetEnabled(false);
        FTimer->SetOnTimer(OnAnimate);
        FTimer->SetInterval(1000);

        if (Designing())
            return;
        FData = TNotifyIconDataA{};
        FData.cbSize = sizeof(TNotifyIconDataA);
        FData.hWnd = AllocateHWnd([this](TMessage& Message) { DoMessage(Message); });
        FData.uID = static_cast<UINT>(reinterpret_cast<uintptr_t>(this));
        FData.hIcon = FIcon->Handle();
        FData.uFlags = BaseFlags;
        FData.uCallbackMessage = WM_TRAYICON;
        FApplicationHook = [this](TMessage& Message) { return ApplicationHookProc(Message); };
        FTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
        if (FTaskbarCreated)
            AllowMessageFrom(FData.hWnd, FTaskbarCreated);
        Update();
    } catch (...) {
        DeallocateHWnd(FData.hWnd);
        throw;
    }
}

TTrayIcon::~TTrayIcon()
{
    if (!Designing()) {
        Notify(NIM_DELETE);
        DeallocateHWnd(FData.hWnd);
    }
    // The hook is otherwise removed only when the icon is hidden; a component
    // freed while shown must not leave the application calling into it.
    if (Application)
        Application->UnhookMainWindow(this);
    // The image list and the popup menu are only referenced.
}

bool TTrayIcon::Notify(DWORD Message)
{
    // The record is the classic prefix of the system's longer one; the shell reads cbSize bytes.
    return SystemServices().NotifyIcon(Message, reinterpret_cast<NOTIFYICONDATAA*>(&FData));
}

void TTrayIcon::Loaded()
{
    TComponent::Loaded();
    if (!FIcons) {
        FAnimate = false;
        FIcon->Assign(Application->Icon());
    } else {
        FTimer->SetEnabled(FAnimate);
        FetchIcon(FIconIndex);
    }
    Update();
}

void TTrayIcon::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FIcons)
        FIcons = nullptr;
    else if (AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

void TTrayIcon::SetVisible(bool Value)
{
    FVisible = Value;
    if (Designing())
        return;
    if (Value) {
        // Hooked even when the add is refused: a restarted taskbar adds the
        // icon again (DoMessage), and the icon must then work as one shown.
        Application->HookMainWindow(this, FApplicationHook);
        if (!Notify(NIM_ADD))
            throw EOutOfResources(LoadStr(SCannotCreateIcon));
        FHide = true;
    } else {
        if (!Notify(NIM_DELETE))
            throw EOutOfResources(LoadStr(SCannotRemoveIcon));
        FHide = false;
        Application->UnhookMainWindow(this);
    }
}

void TTrayIcon::SetHint(const std::string& Value)
{
    if (Value == FHint || Value.size() >= 64)
        return;
    FHint = Value;
    std::strncpy(FData.szTip, FHint.c_str(), sizeof FData.szTip - 1);
    FData.szTip[sizeof FData.szTip - 1] = '\0';
    FData.uFlags = FHint.empty() ? BaseFlags : BaseFlags | NIF_TIP;
    Update();
}

void TTrayIcon::SetPopupMenu(TPopupMenu* Value)
{
    if (Value == FPopupMenu)
        return;
    // A menu of another owner would otherwise go unnoticed when it is freed.
    if (FPopupMenu)
        RemoveFreeNotification(FPopupMenu);
    FPopupMenu = Value;
    if (Value)
        FreeNotification(Value);
}

void TTrayIcon::SetIcons(TImageList* Value)
{
    if (Value == FIcons)
        return;
    if (FIcons)
        RemoveFreeNotification(FIcons);
    FIcons = Value;
    if (Value)
        FreeNotification(Value);
}

int TTrayIcon::AnimateInterval() const
{
    return FTimer->Interval();
}

void TTrayIcon::SetAnimateInterval(int Value)
{
    FTimer->SetInterval(Value);
}

void TTrayIcon::SetAnimate(bool Value)
{
    // While the form is read the image list is not bound yet: Loaded starts the timer.
    if (FIcons || ComponentState().Contains(csLoading))
        FAnimate = Value;
    if (FIcons && !Designing())
        FTimer->SetEnabled(Value);
}

void TTrayIcon::FetchIcon(int Index)
{
    if (!FIcons->GetIcon(Index, FIcon.get()))
        FIcon->Assign(Application->Icon());
}

void TTrayIcon::SetIconIndex(int Value)
{
    FIconIndex = Value;
    if (FIcons)
        FetchIcon(Value);
    Update();
}

void TTrayIcon::SetDefaultIcon()
{
    FIcon->Assign(Application->Icon());
    Update();
}

void TTrayIcon::Update()
{
    if (Designing())
        return;
    FData.hIcon = FIcon->Handle();
    if (FVisible)
        Notify(NIM_MODIFY);
}

void TTrayIcon::EndSession()
{
    Notify(NIM_DELETE);
}

void TTrayIcon::DoOnAnimate(TObject*)
{
    // The timer goes on running when the image list is removed; its ticks then show nothing new.
    if (!FIcons)
        return;
    int next = FIconIndex + 1;
    if (next < 0 || next > FIcons->Count() - 1)
        next = 0;
    SetIconIndex(next);
    Update();
}

void TTrayIcon::DoMessage(TMessage& Message)
{
    // Nothing goes to the system's default handling: what is not acted on is answered 0.
    switch (Message.Msg) {
    case WM_QUERYENDSESSION:
        Message.Result = 1;
        return;
    case WM_ENDSESSION:
        EndSession();
        return;
    case WM_TRAYICON:
        TranslateMouse(Message.LParam);
        return;
    }
    // A restarted taskbar has forgotten every icon: without this a program
    // shown only by its icon could no longer be reached.
    if (FTaskbarCreated && Message.Msg == FTaskbarCreated && FVisible)
        Notify(NIM_ADD);
}

void TTrayIcon::TranslateMouse(LPARAM MouseMessage)
{
    // The shell's notification carries no position: the cursor is where the gesture happened.
    const POINT p = SystemServices().CursorPos();
    const TShiftState shift = ShiftState();
    auto with = [shift](TShiftStateFlag button) {
        TShiftState s = shift;
        s.Include(button);
        return s;
    };
    switch (static_cast<UINT>(MouseMessage)) {
    case WM_MOUSEMOVE:
        // Translated whether or not OnClick is assigned.
        DoMouseMove(shift, p.x, p.y);
        break;
    case WM_LBUTTONDOWN:
        DoMouseDown(mbLeft, with(ssLeft), p.x, p.y);
        break;
    case WM_LBUTTONUP:
        if (OnClick)
            DoClick();
        DoMouseUp(mbLeft, with(ssLeft), p.x, p.y);
        if (FRestoreOn == imLeftClickUp)
            Restore();
        if (FPopupMenuOn == imLeftClickUp)
            ShowMenu();
        break;
    case WM_LBUTTONDBLCLK:
        DoDblClick();
        if (FRestoreOn == imLeftDoubleClick)
            Restore();
        if (FPopupMenuOn == imLeftDoubleClick)
            ShowMenu();
        break;
    case WM_RBUTTONDOWN:
        DoMouseDown(mbRight, with(ssRight), p.x, p.y);
        break;
    case WM_RBUTTONUP:
        DoMouseUp(mbRight, with(ssRight), p.x, p.y);
        if (FRestoreOn == imRightClickUp)
            Restore();
        if (FPopupMenuOn == imRightClickUp)
            ShowMenu();
        break;
    case WM_RBUTTONDBLCLK:
        DoDblClick();
        if (FRestoreOn == imRightDoubleClick)
            Restore();
        if (FPopupMenuOn == imRightDoubleClick)
            ShowMenu();
        break;
    case WM_MBUTTONDOWN:
        DoMouseDown(mbMiddle, with(ssMiddle), p.x, p.y);
        break;
    case WM_MBUTTONUP:
        DoMouseUp(mbMiddle, with(ssMiddle), p.x, p.y);
        break;
    case WM_MBUTTONDBLCLK:
        DoDblClick();
        break;
    }
}

// Each step acts on its options first and raises its event last.

void TTrayIcon::DoClick()
{
    if (FRestoreOn == imClick)
        Restore();
    if (FPopupMenuOn == imClick)
        ShowMenu();
    if (OnClick)
        OnClick(this);
}

void TTrayIcon::DoDblClick()
{
    if (FRestoreOn == imDoubleClick)
        Restore();
    if (FPopupMenuOn == imDoubleClick)
        ShowMenu();
    if (OnDblClick)
        OnDblClick(this);
}

void TTrayIcon::DoMouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TTrayIcon::DoMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FRestoreOn == imMouseDown)
        Restore();
    if (FPopupMenuOn == imMouseDown)
        ShowMenu();
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TTrayIcon::DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FRestoreOn == imMouseUp)
        Restore();
    if (FPopupMenuOn == imMouseUp)
        ShowMenu();
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TTrayIcon::ShowMenu()
{
    if (!FPopupMenu)
        return;
    const POINT p = SystemServices().CursorPos();
    // A menu opened for a window that is not in front does not close when
    // the user clicks elsewhere; failing to bring the form forward is no
    // reason not to show it.
    try {
        TForm* active = Screen ? Screen->ActiveForm() : nullptr;
        if (active && active->HandleAllocated())
            SetForegroundWindow(active->Handle());
    } catch (...) {
    }
    FPopupMenu->Popup(p.x, p.y);
}

void TTrayIcon::Minimize()
{
    Application->Minimize();
    // Hidden, the application window takes its taskbar button away with it.
    ShowWindow(Application->Handle(), SW_HIDE);
    if (OnMinimize)
        OnMinimize(this);
}

void TTrayIcon::Restore()
{
    Application->Restore();
    ShowWindow(Application->Handle(), SW_RESTORE);
    SetForegroundWindow(Application->Handle());
    if (OnRestore)
        OnRestore(this);
}

bool TTrayIcon::ApplicationHookProc(TMessage& Message)
{
    if (Message.Msg == WM_SYSCOMMAND) {
        // Compared whole: a command with extra bits set is not one of these.
        if (Message.WParam == SC_MINIMIZE)
            Minimize();
        else if (Message.WParam == SC_RESTORE)
            Restore();
    }
    // The application goes on to handle the command itself.
    return false;
}

TShiftState TTrayIcon::ShiftState()
{
    return KeyboardShiftState();
}
