// The notification-area icon of the shell: a non-visual component that keeps
// one icon in the taskbar's notification area, turns the shell's mouse
// notifications for it into events, restores or minimises the application or
// pops up a menu in answer to a chosen gesture, animates the icon over an
// image list and watches the application's main window for minimise and
// restore commands while the icon is shown.
#pragma once

#include "platform/Component.h"
#include "platform/Control.h"
#include "platform/Messages.h"
#include "platform/Win32.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {
class TIcon;
class TImageList;
class TPopupMenu;
class TTimer;
} // namespace platform

// The shell's notification record in its classic ANSI layout, 488 bytes.
// Newer system headers declare a longer record; the shell takes the length
// from cbSize, so this prefix is what every shell since then understands.
struct TNotifyIconDataA {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    char szTip[128];
    DWORD dwState;
    DWORD dwStateMask;
    char szInfo[256];
    UINT uTimeoutOrVersion;
    char szInfoTitle[64];
    DWORD dwInfoFlags;
};

static_assert(sizeof(TNotifyIconDataA) == 488, "the ANSI notification record is 488 bytes");
static_assert(offsetof(TNotifyIconDataA, hWnd) == offsetof(NOTIFYICONDATAA, hWnd));
static_assert(offsetof(TNotifyIconDataA, uID) == offsetof(NOTIFYICONDATAA, uID));
static_assert(offsetof(TNotifyIconDataA, uFlags) == offsetof(NOTIFYICONDATAA, uFlags));
static_assert(offsetof(TNotifyIconDataA, uCallbackMessage) == offsetof(NOTIFYICONDATAA, uCallbackMessage));
static_assert(offsetof(TNotifyIconDataA, hIcon) == offsetof(NOTIFYICONDATAA, hIcon));
static_assert(offsetof(TNotifyIconDataA, szTip) == offsetof(NOTIFYICONDATAA, szTip));
static_assert(offsetof(TNotifyIconDataA, dwState) == offsetof(NOTIFYICONDATAA, dwState));
static_assert(offsetof(TNotifyIconDataA, szInfo) == offsetof(NOTIFYICONDATAA, szInfo));
static_assert(offsetof(TNotifyIconDataA, szInfoTitle) == offsetof(NOTIFYICONDATAA, szInfoTitle));
static_assert(offsetof(TNotifyIconDataA, dwInfoFlags) == offsetof(NOTIFYICONDATAA, dwInfoFlags));

// The gesture that triggers Restore (RestoreOn) or ShowMenu (PopupMenuOn).
enum TTrayIconMessage : uint8_t {
    imClick,            // the click step: a left release while OnClick is assigned
    imDoubleClick,      // a double click of any button
    imMouseDown,        // a press of any button
    imMouseUp,          // a release of any button
    imLeftClickUp,
    imLeftDoubleClick,
    imRightClickUp,
    imRightDoubleClick,
    imNone              // never
};

class TTrayIcon : public platform::TComponent {
    PLATFORM_CLASS(TTrayIcon, platform::TComponent)
public:
    // The shell's callback message for the icon; lParam carries the mouse message.
    static constexpr UINT WM_TRAYICON = WM_USER + 1;

    explicit TTrayIcon(platform::TComponent* AOwner);
    ~TTrayIcon() override;

    void Loaded() override;
    void Notification(platform::TComponent* AComponent, platform::TOperation Operation) override;

    // Every write asks the shell to add (true) or delete (false) the icon,
    // also when the value does not change; a refused request raises
    // EOutOfResources and leaves Visible as written.
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);

protected:
    // The hidden window's message procedure.
    virtual void DoMessage(platform::TMessage& Message);
    virtual void DoClick();
    virtual void DoDblClick();
    virtual void DoMouseMove(platform::TShiftState Shift, int X, int Y);
    virtual void DoMouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y);
    virtual void DoMouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y);
    // The animation timer's tick.
    virtual void DoOnAnimate(platform::TObject* Sender);

public:
    virtual void Minimize();
    virtual void Restore();
    // Puts the current icon into the record and, while shown, into the notification area.
    virtual void Update();
    // Pops PopupMenu up at the cursor; without a menu it does nothing.
    virtual void ShowMenu();
    virtual void SetIconIndex(int Value);
    // Takes the application's icon again.
    virtual void SetDefaultIcon();

    // Takes the icon away for the end of the session; Visible stays as it is.
    void EndSession();
    // Sees the application window's messages while the icon is shown; never claims one.
    bool ApplicationHookProc(platform::TMessage& Message);
    // The keyboard's shift, ctrl and alt keys as they are now.
    static platform::TShiftState ShiftState();

    const std::string& Hint() const { return FHint; }
    // Hints of 64 characters or more are ignored.
    void SetHint(const std::string& Value);
    platform::TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(platform::TPopupMenu* Value);
    // Set when the icon is added and cleared when it is removed; nothing else reads it.
    bool Hide() const { return FHide; }
    void SetHide(bool Value) { FHide = Value; }
    TTrayIconMessage RestoreOn() const { return FRestoreOn; }
    void SetRestoreOn(TTrayIconMessage Value) { FRestoreOn = Value; }
    TTrayIconMessage PopupMenuOn() const { return FPopupMenuOn; }
    void SetPopupMenuOn(TTrayIconMessage Value) { FPopupMenuOn = Value; }
    platform::TImageList* Icons() const { return FIcons; }
    void SetIcons(platform::TImageList* Value);
    int IconIndex() const { return FIconIndex; }
    int AnimateInterval() const;
    void SetAnimateInterval(int Value);
    bool Animate() const { return FAnimate; }
    void SetAnimate(bool Value);
    // The hidden message window the shell reports to.
    HWND Handle() const { return FData.hWnd; }

    // The record as it stands, for inspection.
    const TNotifyIconDataA& Data() const { return FData; }
    // The image the icon shows (owned).
    platform::TIcon* CurrentIcon() const { return FIcon.get(); }

    platform::TNotifyEvent OnMinimize;
    platform::TNotifyEvent OnRestore;
    platform::TMouseMoveEvent OnMouseMove;
    platform::TMouseMoveEvent OnMouseExit;  // stored only
    platform::TMouseMoveEvent OnMouseEnter; // stored only
    platform::TNotifyEvent OnClick;
    platform::TNotifyEvent OnDblClick; // not published
    platform::TMouseEvent OnMouseDown;
    platform::TMouseEvent OnMouseUp;
    // Holds DoOnAnimate from construction; the timer was bound to that value
    // then, so assigning another handler does not change what a tick calls.
    platform::TNotifyEvent OnAnimate;
    platform::TNotifyEvent OnCreate;     // stored only
    platform::TNotifyEvent OnDestroy;    // stored only
    platform::TNotifyEvent OnActivate;   // stored only
    platform::TNotifyEvent OnDeactivate; // stored only

private:
    bool Designing() const { return ComponentState().Contains(platform::csDesigning); }
    // Puts image Index of Icons into the current icon; outside the list, the application's icon.
    void FetchIcon(int Index);
    bool Notify(DWORD Message);
    void TranslateMouse(LPARAM MouseMessage);

    TNotifyIconDataA FData{};
    std::unique_ptr<platform::TIcon> FIcon;
    platform::TImageList* FIcons = nullptr;        // referenced
    platform::TPopupMenu* FPopupMenu = nullptr;    // referenced
    platform::TOwned<platform::TTimer> FTimer;
    std::string FHint;
    int FIconIndex = 0;
    bool FVisible = false;
    bool FHide = true;
    bool FAnimate = false;
    TTrayIconMessage FRestoreOn = imDoubleClick;
    TTrayIconMessage FPopupMenuOn = imNone;
    std::function<bool(platform::TMessage&)> FApplicationHook;
    // The message the taskbar broadcasts when it has been (re)started.
    UINT FTaskbarCreated = 0;
};
