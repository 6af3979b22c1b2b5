#include "platform/Application.h"
#include "platform/Action.h"
#include "platform/DialogKeys.h"
#include "platform/Form.h"
#include "platform/HintWindow.h"
#include "platform/Icon.h"
#include "platform/SystemServices.h"
#include "platform/Timer.h"
#include "platform/UtilWindow.h"

#include <algorithm>
#include <windowsx.h>
#include <cstdlib>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace platform {

namespace {

// The forms go when the program ends, newest first, like every owned component.
void DoneApplication()
{
    Application->DestroyComponents();
}

std::string ProgramFileName()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

} // namespace

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

const TClassInfo& TApplication::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TApplication, TComponent>("TApplication").Build();
    return info;
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
    RegisterClasses(StandardClasses());
    RegisterComponents("Standard", {&TActionList::StaticClassInfo()});
    std::string name = ProgramFileName();
    name = name.substr(name.find_last_of("\\/") + 1);
    FTitle = name.substr(0, name.rfind('.'));
}

TApplication::~TApplication()
{
    if (FHandle)
        DestroyWindow(FHandle);
    delete FIcon;
}

TIcon* TApplication::Icon()
{
    if (!FIcon) {
        FIcon = new TIcon;
        try {
            FIcon->LoadFromResourceName(GetModuleHandleA(nullptr), "MAINICON");
        } catch (const EResNotFound&) {
            // A program without an icon of its own shows the system's application icon.
            FIcon->SetHandle(CopyIcon(LoadIconA(nullptr, IDI_APPLICATION)));
        }
    }
    return FIcon;
}

void TApplication::Initialize()
{
    // Registered after every static object of the program was made, so the
    // forms are freed at exit before any of those go (exit runs in reverse order).
    static const bool registered = std::atexit(DoneApplication) == 0;
    (void)registered;
    Handle();
}

HWND TApplication::Handle()
{
    if (FHandle)
        return FHandle;
    static const char* const ClassName = "TApplication";
    // The module's own class, as for controls (Control.cpp).
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(&__ImageBase);
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, ClassName, &existing)) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &TApplication::WindowProcedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = ClassName;
        RegisterClassA(&windowClass);
    }
    // Never shown by itself: a zero-sized window that owns the forms.
    FHandle = CreateWindowExA(0, ClassName, FTitle.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                              nullptr, nullptr, instance, this);
    if (!FHandle)
        throw EOutOfResources("Cannot create the application window");
    return FHandle;
}

LRESULT CALLBACK TApplication::WindowProcedure(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_NCCREATE) {
        auto* self = static_cast<TApplication*>(reinterpret_cast<CREATESTRUCTA*>(LParam)->lpCreateParams);
        SetWindowLongPtrA(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->FHandle = Wnd;
    }
    auto* self = reinterpret_cast<TApplication*>(GetWindowLongPtrA(Wnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(Wnd, Msg, WParam, LParam);
    TMessage message{Msg, WParam, LParam, 0};
    try {
        self->WndProc(message);
    } catch (...) {
        HandleWindowException(self);
    }
    return message.Result;
}

void TApplication::WndProc(TMessage& Message)
{
    // A hook may remove itself or others while it runs: walk a copy.
    const auto hooks = FHooks;
    for (const auto& hook : hooks)
        if (hook.second(Message))
            return;
    switch (Message.Msg) {
    case WM_SYSCOMMAND:
        switch (Message.WParam & 0xFFF0) {
        case SC_MINIMIZE:
            Minimize();
            return;
        case SC_RESTORE:
            Restore();
            return;
        }
        break;
    case WM_CLOSE:
        if (FMainForm)
            FMainForm->Close();
        return;
    case WM_QUERYENDSESSION:
        Message.Result = 1;
        return;
    }
    Message.Result = DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TApplication::HookMainWindow(const void* Owner, std::function<bool(TMessage&)> Hook)
{
    UnhookMainWindow(Owner);
    FHooks.emplace_back(Owner, std::move(Hook));
}

void TApplication::UnhookMainWindow(const void* Owner)
{
    FHooks.erase(std::remove_if(FHooks.begin(), FHooks.end(), [Owner](const auto& h) { return h.first == Owner; }),
                 FHooks.end());
}

void TApplication::Minimize()
{
    if (!IsIconic(Handle()))
        ShowWindow(FHandle, SW_MINIMIZE);
}

void TApplication::Restore()
{
    if (IsIconic(Handle()))
        ShowWindow(FHandle, SW_RESTORE);
}

void TApplication::FormCreated(TForm* Form)
{
    if (!FMainForm) {
        FMainForm = Form;
        Form->HandleNeeded();
    }
}

void TApplication::FormDestroyed(TForm* Form)
{
    if (FMainForm == Form)
        FMainForm = nullptr;
}

void TApplication::SetShowHint(bool Value)
{
    FShowHint = Value;
    if (!Value)
        CancelHint();
}

std::string GetShortHint(const std::string& Hint)
{
    return Hint.substr(0, Hint.find('|'));
}

std::string GetLongHint(const std::string& Hint)
{
    const size_t bar = Hint.find('|');
    return bar == std::string::npos ? Hint : Hint.substr(bar + 1);
}

namespace {

// The control whose hint shows for the pointer over Control.
TControl* HintControlOf(TControl* Control)
{
    while (Control && (!Control->ShowHint() || Control->Hint().empty()))
        Control = Control->Parent();
    return Control;
}

// The hint of Control, or of its nearest parent with one.
std::string HintOf(const TControl* Control)
{
    while (Control && Control->Hint().empty())
        Control = Control->Parent();
    return Control ? Control->Hint() : std::string();
}

// A disabled window takes no mouse input, so its parent hears of the pointer
// over it; its hint is what the pointer is over (often the reason why it is
// disabled).
TControl* DisabledChildAt(TControl* Control, TPoint At)
{
    auto* parent = dynamic_cast<TWinControl*>(Control);
    for (int i = parent ? parent->ControlCount() - 1 : -1; i >= 0; --i) {
        TControl* child = parent->Controls(i);
        const TRect r = child->BoundsRect();
        if (!child->Enabled() && child->Visible() && PtInRect(&r, At))
            return child;
    }
    return Control;
}

// The pointer leaving the control's rectangle takes its hint away.
bool PointerOver(TControl* Control)
{
    const TPoint origin = Control->ClientToScreen(Point(0, 0));
    const TRect area = Rect(origin.x, origin.y, origin.x + Control->Width(), origin.y + Control->Height());
    return Control->Showing() && PtInRect(&area, SystemServices().CursorPos());
}

} // namespace

void TApplication::HintMessage(TControl* Control, const TMessage& Message)
{
    if (Message.Msg != WM_MOUSEMOVE) {
        if (FHintControl) {
            HideHint();
            FHintState = hsDone;
        }
        return;
    }
    TControl* const over = DisabledChildAt(Control, Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
    SetHint(GetLongHint(HintOf(over)));
    TControl* hintControl = FShowHint ? HintControlOf(over) : nullptr;
    if (hintControl == FHintControl)
        return;
    HideHint();
    SetHintControl(hintControl);
    if (!hintControl)
        return;
    FHintState = hsWaiting;
    FHintSince = GetTickCount();
    FHintCursor = Control->ClientToScreen(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
    if (!FHintTimer) {
        FHintTimer = new TTimer(nullptr);
        FHintTimer->SetInterval(50);
        FHintTimer->SetOnTimer([this](TObject*) { HintTimerTick(); });
    }
    FHintTimer->SetEnabled(true);
}

void TApplication::HintTimerTick()
{
    if (!FHintControl || !PointerOver(FHintControl)) {
        CancelHint();
        return;
    }
    const DWORD elapsed = GetTickCount() - FHintSince;
    if (FHintState == hsWaiting && elapsed >= static_cast<DWORD>(FHintPause)) {
        // A hint with a long part only shows no window.
        const std::string hint = GetShortHint(FHintControl->Hint());
        if (hint.empty()) {
            FHintState = hsDone;
            return;
        }
        if (!FHintWindow)
            FHintWindow = new THintWindow(nullptr);
        FHintWindow->SetColor(FHintColor);
        TRect r = FHintWindow->CalcHintRect(Screen->Width() / 3, hint);
        // Below the pointer's arrow, as the system's tooltips sit.
        OffsetRect(&r, FHintCursor.x, FHintCursor.y + GetSystemMetrics(SM_CYCURSOR) * 5 / 8);
        FHintWindow->ActivateHint(r, hint);
        FHintState = hsShowing;
        FHintSince = GetTickCount();
    } else if (FHintState == hsShowing && elapsed >= static_cast<DWORD>(FHintHidePause)) {
        HideHint();
        FHintState = hsDone;
    }
}

void TApplication::SetHint(const std::string& Value)
{
    if (Value == FHint)
        return;
    FHint = Value;
    if (OnHint)
        OnHint(this);
}

void TApplication::ControlHelp(TControl* Control)
{
    while (Control && Control->HelpContext() == 0)
        Control = Control->Parent();
    if (Control && OnHelp)
        OnHelp(Control->HelpContext());
}

void TApplication::HideHint()
{
    if (FHintWindow)
        FHintWindow->Hide();
}

void TApplication::CancelHint()
{
    HideHint();
    SetHintControl(nullptr);
}

void TApplication::SetHintControl(TControl* Control)
{
    if (FHintControl)
        RemoveFreeNotification(FHintControl);
    FHintControl = Control;
    if (Control)
        FreeNotification(Control);
    else if (FHintTimer)
        FHintTimer->SetEnabled(false);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FHintControl)
        CancelHint();
}

void TApplication::Run()
{
    FRunning = true;
    if (!FTerminated && FMainForm && FShowMainForm)
        FMainForm->Show();
    while (!FTerminated)
        HandleMessage();
    FRunning = false;
    // A quit that no loop took would end the next message box at once.
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

void TApplication::Terminate()
{
    FTerminated = true;
    // While the loop runs, the quit also ends whatever loop runs inside it:
    // a message box, or the modal loop of a form of another copy of this
    // framework (a module's), which knows nothing of this request. An open
    // menu's loop takes the quit and goes on: the menu is ended by itself.
    // Before the loop runs, the request is only remembered, so that message
    // boxes still show.
    if (FRunning) {
        PostQuitMessage(0);
        EndMenu();
    }
}

bool TApplication::ProcessMessage(MSG& Msg)
{
    if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (Msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    if (IsActionShortCut(Msg) || IsDialogKey(Msg))
        return true;
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
    return true;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (!ProcessMessage(msg))
        Idle();
}

void TApplication::Idle()
{
    UpdateActions();
    WaitMessage();
}

std::string TApplication::ExeName() const
{
    return ProgramFileName();
}

void TApplication::SetTitle(const std::string& Value)
{
    FTitle = Value;
    if (FHandle)
        SetWindowTextA(FHandle, Value.c_str());
}

void TApplication::ShowException(const std::exception& E)
{
    std::string text = E.what();
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    SystemServices().ShowMessageBox(nullptr, text, FTitle, MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException(TObject*)
{
    try {
        throw;
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(Exception("Unknown exception"));
    }
}

// ---------------------------------------------------------------- TScreen

const TClassInfo& TScreen::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TScreen, TComponent>("TScreen").Build();
    return info;
}

int TScreen::Width() const
{
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const
{
    return GetSystemMetrics(SM_CYSCREEN);
}

TForm* TScreen::ActiveForm() const
{
    HWND active = GetActiveWindow();
    for (TForm* form : FForms)
        if (form->HandleAllocated() && form->Handle() == active)
            return form;
    return nullptr;
}

} // namespace platform
