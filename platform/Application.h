// The application object: the message loop, the terminate request, the
// hidden application window with its hooks, the main form and the standard
// exception display; and the screen object.
#pragma once

#include "platform/Component.h"
#include "platform/Canvas.h"
#include "platform/Messages.h"

#include <exception>
#include <string>
#include <vector>

namespace platform {

class TControl;
class TForm;
class THintWindow;
class TIcon;
class TTimer;

// What a help request carries: the help context found for it.
using THelpEvent = TEvent<int>;

// A hint text "short|long": the short part is shown by the hint window, the
// long part by the program (Application->Hint). Without '|' both are the whole text.
std::string GetShortHint(const std::string& Hint);
std::string GetLongHint(const std::string& Hint);

class TApplication : public TComponent {
    PLATFORM_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    // Creates the hidden application window and arranges for the forms to be
    // freed when the program ends.
    void Initialize();
    // Creates a form owned by the application; the first one becomes the main
    // form. Reference is assigned by the form's own constructor where it wants
    // it earlier; here it is assigned at the latest when the form exists.
    template <class T>
    void CreateForm(T*& Reference);
    void Run();
    // Ends Run, and every message loop running inside it (message boxes,
    // menus, modal forms, also of other copies of the framework). Before Run
    // starts the request is only remembered, so that message boxes shown
    // meanwhile still run their own loops.
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Handles every waiting message and returns.
    void ProcessMessages();
    // Handles one message; with none waiting, lets the actions update
    // themselves (OnUpdate) and waits for one.
    void HandleMessage();

    HWND Handle();
    void Minimize();
    void Restore();

    // A hook sees every message to the application window before it does and
    // claims it by returning true. Owner identifies the hook for removal.
    void HookMainWindow(const void* Owner, std::function<bool(TMessage&)> Hook);
    void UnhookMainWindow(const void* Owner);

    TForm* MainForm() const { return FMainForm; }
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool Value) { FShowMainForm = Value; }
    // The program file's full path.
    std::string ExeName() const;
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value);
    // The program's own icon (the icon resource MAINICON, else the system's application icon).
    TIcon* Icon();

    // Hints: the short part of the hint of the control under the pointer
    // (or of the nearest parent with one, among those whose ShowHint
    // holds) shows HintPause ms after the pointer came to it, for
    // HintHidePause ms. It goes when the pointer leaves that control or a
    // key or mouse button is pressed, and stays away until the pointer
    // comes to another control.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    int HintPause() const { return FHintPause; }
    void SetHintPause(int Value) { FHintPause = Value; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int Value) { FHintHidePause = Value; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor Value) { FHintColor = Value; }
    // Every mouse and key message a control receives passes here first.
    void HintMessage(TControl* Control, const TMessage& Message);
    // Hides the hint and forgets the control it was for.
    void CancelHint();
    // The long part of the hint of the control under the pointer (or of
    // its nearest parent with a hint), whatever ShowHint says; OnHint
    // follows every change, for a status line to show it.
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value);
    TNotifyEvent OnHint;

    // Help: F1 on a control or form, or a help request of the system, raises
    // OnHelp with the first non-zero HelpContext from that control up its
    // parents; without one, or without a handler, nothing happens.
    void ControlHelp(TControl* Control);
    THelpEvent OnHelp;

    void Notification(TComponent* AComponent, TOperation Operation) override;

    // The standard exception display: a message box with the exception's text.
    void ShowException(const std::exception& E);
    // Shows the exception being handled; call it inside a catch block.
    void HandleException(TObject* Sender);

    // The first form created becomes the main form; a form freed stops being it.
    void FormCreated(TForm* Form);
    void FormDestroyed(TForm* Form);

private:
    void WndProc(TMessage& Message);
    static LRESULT CALLBACK WindowProcedure(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    bool ProcessMessage(MSG& Msg);
    void Idle();
    void HintTimerTick();
    void HideHint();
    void SetHintControl(TControl* Control);

    HWND FHandle = nullptr;
    TForm* FMainForm = nullptr;
    bool FShowMainForm = true;
    bool FTerminated = false;
    bool FRunning = false;
    std::string FTitle;
    TIcon* FIcon = nullptr;
    std::vector<std::pair<const void*, std::function<bool(TMessage&)>>> FHooks;

    enum THintState { hsWaiting, hsShowing, hsDone };
    bool FShowHint = true;
    int FHintPause = 500;
    int FHintHidePause = 2500;
    TColor FHintColor = clInfoBk;
    std::string FHint;
    TControl* FHintControl = nullptr;
    THintState FHintState = hsWaiting;
    DWORD FHintSince = 0;
    TPoint FHintCursor{};
    // Made on first use and kept for the program's life.
    TTimer* FHintTimer = nullptr;
    THintWindow* FHintWindow = nullptr;
};

class TScreen : public TComponent {
    PLATFORM_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* AOwner) : TComponent(AOwner) {}

    int Width() const;
    int Height() const;
    // The form whose window is active, if any.
    TForm* ActiveForm() const;
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TForm* Forms(int Index) const { return FForms.at(static_cast<size_t>(Index)); }

private:
    friend class TForm;
    std::vector<TForm*> FForms;
};

// The framework's own components. The application object registers them, so
// every form file of the program knows them by class name; the registry
// itself knows no class until one is handed to it.
std::vector<const TClassInfo*> StandardClasses();

// The application frees its forms when the program ends (at exit, once Initialize has run).
extern TApplication* Application;
extern TScreen* Screen;

template <class T>
void TApplication::CreateForm(T*& Reference)
{
    Reference = New<T>(this);
    FormCreated(Reference);
}

} // namespace platform
