// The hidden main form of Tessel.exe. It never shows itself: it owns the
// tray icon, its menu and the tips timer, brings the running suite state
// (SuiteState.h) up in its constructor and FormCreate, and turns the
// modules' requests, the tray's clicks and the window messages other
// processes send it into commands to the modules.
#pragma once

#include "shell/SuiteIni.h"
#include "shell/SuiteModules.h"
#include "shell/SuiteState.h"
#include "shell/Trayicon.h"

#include "platform/Form.h"
#include "platform/Menu.h"
#include "platform/Timer.h"

namespace tessel {

class TForm1 : public platform::TForm {
    PLATFORM_CLASS(TForm1, platform::TForm)
public:
    explicit TForm1(platform::TComponent* AOwner);
    ~TForm1() override;

    // Published components, read from the form text.
    TTrayIcon* TesselTray = nullptr;
    platform::TPopupMenu* TrayMenu = nullptr;
    platform::TMenuItem* ToolBar1 = nullptr;
    platform::TMenuItem* MainWindow1 = nullptr;
    platform::TMenuItem* Exit1 = nullptr;
    platform::TMenuItem* N1 = nullptr;
    platform::TMenuItem* N2 = nullptr;
    platform::TMenuItem* StartatQuickBar1 = nullptr;
    platform::TMenuItem* StartatToolBar1 = nullptr;
    platform::TTimer* TimerGetTips = nullptr;

    // Published handlers.
    void FormCreate(platform::TObject* Sender);
    void FormClose(platform::TObject* Sender, platform::TCloseAction& Action);
    void FormDestroy(platform::TObject* Sender);
    // The two switches; a null Sender means the shell switches by itself.
    void ToolBar1Click(platform::TObject* Sender);
    void MainWindow1Click(platform::TObject* Sender);
    void TesselTrayMouseUp(platform::TObject* Sender, platform::TMouseButton Button, platform::TShiftState Shift,
                           int X, int Y);
    void TrayMenuPopup(platform::TObject* Sender);
    void TesselTrayRestore(platform::TObject* Sender);
    void StartatQuickBar1Click(platform::TObject* Sender);
    void StartatToolBar1Click(platform::TObject* Sender);
    // Asks "Are you sure to exit?" in a message dialog; Yes ends the process
    // after telling the main window.
    void Exit1Click(platform::TObject* Sender);
    void TimerGetTipsTimer(platform::TObject* Sender);

    // The dispatcher behind ModuleCommand: switches faces, hides them and
    // ends the process.
    void DispatchCommand(int32_t Code, int32_t Target, void* Data = nullptr);
    // One tips poll of every page module (code 8).
    void RefreshTips();

    void WndProc(platform::TMessage& Message) override;

private:
    // Start-up, in this order; the constructor runs the steps up to
    // LoadFaces, FormCreate brings up the start view.
    void StartLanguage();
    bool PassRebootCheck();
    void TranslateMenu();
    void ReadSuiteLayout();
    void RunConflictChecks();
    void BuildMessageTable();
    void LoadFaces();
    void ShowStartView();

    void PrepareIni();
    HMODULE LoadViewModule(const char* FileName);
    // The start-view items' check marks; a style that is neither item's
    // checks neither.
    void MarkStartStyle(TStartStyle Style);
    // The steps both switches share; false when an open suite dialog is
    // brought forward instead of switching.
    bool BeginSwitch(platform::TObject* Sender);

    TSuiteState& FState;
};

extern TForm1* Form1;

// The modules' callback: hands the record to the main form's dispatcher.
void __stdcall ModuleCommand(TCommandRecord* Record);
// The message a second start of the program posts to the running one's
// main form: bring the current face forward, as a left click on the tray
// icon does. Registered, so that no other window takes it for its own.
UINT ShowFaceMessage();
// Tells the main-window module's container window that the user switches.
void NotifyContainer();
// True (after bringing it forward) when a suite message dialog is visible.
bool SuiteDialogOpen();

// Start-up checks. CheckRebootNeeded returns false when the process was told
// to end (with exit code 1); the conflict checks return true when they found
// a conflicting product and requested termination.
bool CheckRebootNeeded();
bool CheckSuiteConflicts();
bool CheckFathomConflicts();

} // namespace tessel
