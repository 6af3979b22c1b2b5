#include "shell/MainFram.h"
#include "shell/MsgFrm.h"
#include "shell/SuiteIni.h"
#include "shell/Toolfunction.h"

#include "platform/Application.h"
#include "platform/ClassBuilder.h"
#include "platform/Registry.h"
#include "platform/SystemServices.h"

#include <cstring>
#include <utility>

using namespace platform;

namespace tessel {

TForm1* Form1 = nullptr;

namespace {

constexpr UINT WM_CONTAINER_SWITCH = WM_USER + 2000;
const char* const Title = "Tessel";

using TMakeNewIni = void(__stdcall*)(const char* IniPath, bool* CheckSuite, bool* CheckFathom);
using TCheckReboot = bool (*)();

template <class F>
F Entry(HMODULE Module, const char* Name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Module, Name)));
}

struct TProduct {
    const char* Key;
    const char* Message;
};

bool CheckConflicts(std::initializer_list<TProduct> Products)
{
    TOwned<TRegistry> registry(new TRegistry);
    registry->SetRootKey(HKEY_LOCAL_MACHINE);
    for (const TProduct& product : Products) {
        // Opened with full access, so a key the user may not write is no conflict.
        if (!registry->OpenKey(product.Key, false))
            continue;
        std::string text = Translate(product.Message);
        text += "\n";
        text += Translate("Press \"OK\" to close this application.");
        SystemServices().ShowMessageBox(nullptr, text, Title, MB_OK);
        registry->CloseKey();
        registry.reset();
        Application->Terminate();
        return true;
    }
    return false;
}

} // namespace

const TClassInfo& TForm1::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TForm1, TForm>("TForm1")
        .Field("TesselTray", &TForm1::TesselTray)
        .Field("TrayMenu", &TForm1::TrayMenu)
        .Field("ToolBar1", &TForm1::ToolBar1)
        .Field("MainWindow1", &TForm1::MainWindow1)
        .Field("Exit1", &TForm1::Exit1)
        .Field("N1", &TForm1::N1)
        .Field("N2", &TForm1::N2)
        .Field("StartatQuickBar1", &TForm1::StartatQuickBar1)
        .Field("StartatToolBar1", &TForm1::StartatToolBar1)
        .Field("TimerGetTips", &TForm1::TimerGetTips)
        .Method("FormCreate", &TForm1::FormCreate)
        .Method("FormClose", &TForm1::FormClose)
        .Method("FormDestroy", &TForm1::FormDestroy)
        .Method("ToolBar1Click", &TForm1::ToolBar1Click)
        .Method("MainWindow1Click", &TForm1::MainWindow1Click)
        .Method("TesselTrayMouseUp", &TForm1::TesselTrayMouseUp)
        .Method("TrayMenuPopup", &TForm1::TrayMenuPopup)
        .Method("TesselTrayRestore", &TForm1::TesselTrayRestore)
        .Method("StartatQuickBar1Click", &TForm1::StartatQuickBar1Click)
        .Method("StartatToolBar1Click", &TForm1::StartatToolBar1Click)
        .Method("Exit1Click", &TForm1::Exit1Click)
        .Method("TimerGetTipsTimer", &TForm1::TimerGetTipsTimer)
        .Build();
    return info;
}

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner), FState(TSuiteState::Running())
{
    LoadLayout();
    Form1 = this;

    StartLanguage();
    if (!PassRebootCheck()) {
        FState.Abandoned = true;
        return;
    }
    TranslateMenu();
    ReadSuiteLayout();
    RunConflictChecks();
    BuildMessageTable();
    LoadFaces();
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::StartLanguage()
{
    LoadLanguage(0);
    ApplyLanguageFont(Font());
}

bool TForm1::PassRebootCheck()
{
    return FState.SkipRebootCheck || CheckRebootNeeded();
}

void TForm1::TranslateMenu()
{
    ToolBar1->SetCaption(Translate("Switch to Quick Bar"));
    MainWindow1->SetCaption(Translate("Switch to Main Window"));
    Exit1->SetCaption(Translate("Exit"));
    StartatQuickBar1->SetCaption(Translate("Start at Quick Bar"));
    StartatToolBar1->SetCaption(Translate("Start at ToolBar"));
}

void TForm1::ReadSuiteLayout()
{
    FState.CheckSuite = false;
    FState.CheckFathom = false;
    PrepareIni();
    // Before any page is called: one that took the last process down is left out.
    if (!FState.PageCalls.LeftCalls().empty()) {
        LeaveOutPages(FState);
        FState.StartupIni.emplace(FState.IniPath);
    }
    LoadGroups(FState, *FState.StartupIni);
    PrepareIni();
}

void TForm1::PrepareIni()
{
    if (HMODULE module = LoadLibraryA((FState.ProgramFolder + "KsTuneProfile.dll").c_str())) {
        if (auto makeNewIni = Entry<TMakeNewIni>(module, "MakeNewIni"))
            makeNewIni(FState.IniPath.c_str(), &FState.CheckSuite, &FState.CheckFathom);
        FreeLibrary(module);
    }
    // The profile module may have written the file.
    FState.StartupIni.emplace(FState.IniPath);
}

void TForm1::RunConflictChecks()
{
    // A conflict requests termination; start-up still runs to its end.
    if (FState.CheckFathom)
        CheckFathomConflicts();
    if (FState.CheckSuite)
        CheckSuiteConflicts();
}

void TForm1::BuildMessageTable()
{
    FState.MessageIds = RebuildMessageTables(FState, FState.GroupCount);
    FState.Ready = 1;
}

void TForm1::LoadFaces()
{
    FState.PageContainerRegistration = {&ModuleCommand, FState.GroupCount, FState.GroupTable};
    FState.BarRegistration = {&ModuleCommand, FState.GroupCount, FState.GroupTable};

    FState.PageContainerModule = LoadViewModule("PageContainer.dll");
    if (FState.PageContainerModule) {
        SendCommand(FState.PageContainerModule, cmdRegister, &FState.PageContainerRegistration);
        SendCommand(FState.PageContainerModule, cmdHide, nullptr);
    }
    FState.BarModule = LoadViewModule("Bar.dll");
    if (FState.BarModule) {
        SendCommand(FState.BarModule, cmdRegister, &FState.BarRegistration);
        switch (ReadObjectStyle(*FState.StartupIni)) {
        case TStartStyle::QuickBar:
            SendCommand(FState.BarModule, cmdShow, nullptr);
            break;
        case TStartStyle::TrayIcon:
            SendCommand(FState.BarModule, cmdHide, nullptr);
            break;
        }
    }
}

HMODULE TForm1::LoadViewModule(const char* FileName)
{
    HMODULE module = LoadLibraryA((FState.ProgramFolder + FileName).c_str());
    // A module without its entry could take no command: it counts as not loaded.
    if (module && !GetProcAddress(module, "Command")) {
        FreeLibrary(module);
        module = nullptr;
    }
    return module;
}

void TForm1::FormCreate(TObject*)
{
    if (FState.Abandoned)
        return;
    FState.ShellWindow = Handle();
    // No taskbar button for the process.
    HWND app = Application->Handle();
    SetWindowLongA(app, GWL_EXSTYLE, GetWindowLongA(app, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    ShowStartView();
}

void TForm1::ShowStartView()
{
    const TStartStyle style = ReadObjectStyle(*FState.StartupIni);
    if (style != TStartStyle::QuickBar && style != TStartStyle::TrayIcon)
        return;
    MarkStartStyle(style);
    if (style == TStartStyle::QuickBar && FState.BarModule) {
        if (TesselTray->Visible())
            TesselTray->SetVisible(false);
        ToolBar1Click(nullptr);
    } else if (!TesselTray->Visible()) {
        // Without its quick bar the program would have no face and no way
        // out: the tray icon stands in for it.
        TesselTray->SetVisible(true);
    }
}

void TForm1::MarkStartStyle(TStartStyle Style)
{
    StartatQuickBar1->SetChecked(Style == TStartStyle::QuickBar);
    StartatToolBar1->SetChecked(Style == TStartStyle::TrayIcon);
}

void TForm1::FormClose(TObject*, TCloseAction& Action)
{
    DispatchCommand(cmdExit, tgMainWindow);
    Action = caNone;
    Hide();
}

void TForm1::FormDestroy(TObject*)
{
    FState.Ready = 0;
    if (FState.PageContainerModule) {
        FreeLibrary(FState.PageContainerModule);
        FState.PageContainerModule = nullptr;
    }
    if (FState.BarModule) {
        FreeLibrary(FState.BarModule);
        FState.BarModule = nullptr;
    }
    FState.MessageIds.clear();
    FreeLanguage();
}

bool TForm1::BeginSwitch(TObject* Sender)
{
    if (Sender)
        NotifyContainer();
    if (SuiteDialogOpen())
        return false;
    if (TesselTray->Visible())
        TesselTray->SetVisible(false);
    return true;
}

void TForm1::ToolBar1Click(TObject* Sender)
{
    if (BeginSwitch(Sender))
        DispatchCommand(cmdShow, tgQuickBar);
}

void TForm1::MainWindow1Click(TObject* Sender)
{
    if (!BeginSwitch(Sender))
        return;
    int32_t position[2] = {0, 0};
    DispatchCommand(cmdShow, tgMainWindow, position);
}

void TForm1::TesselTrayMouseUp(TObject* Sender, TMouseButton Button, TShiftState, int, int)
{
    if (SuiteDialogOpen())
        return;
    switch (Button) {
    case mbRight: {
        const POINT at = SystemServices().CursorPos();
        TrayMenu->Popup(at.x, at.y);
        break;
    }
    case mbLeft:
        if (FState.CurrentView == TView::MainWindow)
            MainWindow1Click(Sender);
        else
            ToolBar1Click(Sender);
        break;
    case mbMiddle:
        break;
    }
}

void TForm1::TrayMenuPopup(TObject*)
{
    SetForegroundWindow(Handle());
    // The Settings page sets the start view as well: the check marks show
    // what Tessel.ini holds now.
    TIniSnapshot ini(FState.IniPath);
    MarkStartStyle(ReadObjectStyle(ini));
}

void TForm1::TesselTrayRestore(TObject*)
{
    ShowWindow(Application->Handle(), SW_HIDE);
}

void TForm1::StartatQuickBar1Click(TObject*)
{
    MarkStartStyle(TStartStyle::QuickBar);
    WriteIniValue(FState.IniPath, "Tessel", "ObjectStyle", "0");
}

void TForm1::StartatToolBar1Click(TObject*)
{
    MarkStartStyle(TStartStyle::TrayIcon);
    WriteIniValue(FState.IniPath, "Tessel", "ObjectStyle", "3");
}

void TForm1::Exit1Click(TObject*)
{
    if (SuiteDialogOpen())
        return;
    TOwned<TfrmMsg> dialog(New<TfrmMsg>(this, Translate("Are you sure to exit?")));
    // One that could not be built is freed unseen: shown, it could not be
    // answered, and its window would hold every way into the suite.
    if (!dialog->Built())
        return;
    // Halves truncate toward zero, as the screen's own centring does.
    dialog->SetLeft(GetSystemMetrics(SM_CXSCREEN) / 2 - dialog->Width() / 2);
    dialog->SetTop(GetSystemMetrics(SM_CYSCREEN) / 2 - dialog->Height() / 2);
    if (dialog->ShowModal() == mrYes)
        DispatchCommand(cmdExit, tgMainWindow);
}

void TForm1::RefreshTips()
{
    const int32_t count = IniNumber(ReadIniValue(FState.IniPath, "Group", "groupcount", 32));
    if (count < 1)
        return;
    for (int32_t i = 0; i < count && i < FState.GroupCount; ++i) {
        TGroupRecord& group = FState.GroupTable[i];
        const std::string section = ReadIniValue(FState.IniPath, "Group", std::to_string(i + 1));
        const int32_t pageCount = IniNumber(ReadIniValue(FState.IniPath, section, "pagecount"));
        for (int32_t j = 0; j < pageCount && j < group.PageCount; ++j)
            CallPageModule(FState.PagePath, FState.PageCalls, group, j, cmdTips);
    }
}

void TForm1::TimerGetTipsTimer(TObject*)
{
    RefreshTips();
    SendCommand(FState.BarModule, cmdShow, nullptr);
}

void TForm1::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_POWERBROADCAST:
        break;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
        // The main window keeps its state as at any other end.
        if (!FState.SessionEnding) {
            FState.SessionEnding = true;
            DispatchCommand(cmdExit, tgMainWindow);
            // The system may end the process from now on: this is its close path.
            FState.PageCalls.Close();
        }
        Application->Terminate();
        break;
    default:
        if (FState.SessionEnding)
            break;
        if (Message.Msg == WM_SYSCOMMAND && Message.WParam == SC_CLOSE) {
            DispatchCommand(cmdExit, tgMainWindow);
        } else if (Message.Msg == ShowFaceMessage()) {
            if (FState.Ready == 1)
                TesselTrayMouseUp(TesselTray, mbLeft, TShiftState{}, 0, 0);
        } else if (FState.Ready == 1) {
            // A number listed twice (01024 and 1024) is forwarded twice.
            const std::vector<int32_t> ids = FState.MessageIds;
            for (int32_t id : ids) {
                if (static_cast<UINT>(id) != Message.Msg || FState.Ready != 1)
                    continue;
                FState.ForwardedMessage = {Message.Msg, static_cast<int32_t>(Message.LParam),
                                           static_cast<int32_t>(Message.WParam)};
                DispatchCommand(cmdForward, tgMainWindow, &FState.ForwardedMessage);
            }
        }
        break;
    }
    TForm::WndProc(Message);
}

void __stdcall ModuleCommand(TCommandRecord* Record)
{
    // The record belongs to the caller, who may reuse it in a nested call.
    if (Record && Form1)
        Form1->DispatchCommand(Record->Code, Record->Target, Record->Data);
}

void TForm1::DispatchCommand(int32_t Code, int32_t Target, void* Data)
{
    // Nothing may unwind into a module's code: errors go to the standard display.
    try {
        switch (Target) {
        case tgQuickBar:
            if (Code == cmdShow) {
                FState.CurrentView = TView::QuickBar;
                RefreshTips();
                TimerGetTips->SetEnabled(true);
                // Only the pointer tells the module this call from the
                // null-data ones; what it points at means nothing.
                char block = 0;
                SendCommand(FState.BarModule, cmdShow, &block);
            } else if (Code == cmdHide) {
                TimerGetTips->SetEnabled(false);
                SendCommand(FState.BarModule, cmdHide, nullptr);
            } else if (Code == cmdExit) {
                Application->Terminate();
            }
            break;
        case tgMainWindow:
            if (Code == cmdShow) {
                TimerGetTips->SetEnabled(false);
                SendCommand(FState.PageContainerModule, cmdShow, Data);
                FState.CurrentView = TView::MainWindow;
            } else if (Code == cmdHide) {
                SendCommand(FState.PageContainerModule, cmdHide, nullptr);
            } else if (Code == cmdExit) {
                SendCommand(FState.PageContainerModule, cmdExit, nullptr);
                Application->Terminate();
            } else if (Code == cmdForward) {
                SendCommand(FState.PageContainerModule, cmdForward, Data);
            }
            break;
        case tgShell:
            if (Code == cmdExit) {
                Application->Terminate();
            } else if (Code == cmdPageCall) {
                if (const auto* page = static_cast<const TPageRecord*>(Data))
                    FState.PageCalls.BeginView(
                        std::string(page->FileName, strnlen(page->FileName, sizeof page->FileName)));
                else
                    FState.PageCalls.EndView();
            }
            break;
        case tgTrayIcon:
            if (Code == cmdShow) {
                if (!TesselTray->Visible())
                    TesselTray->SetVisible(true);
                TimerGetTips->SetEnabled(false);
            } else if (Code == cmdHide) {
                if (TesselTray->Visible())
                    TesselTray->SetVisible(false);
            }
            break;
        }
    } catch (...) {
        Application->HandleException(this);
    }
}

UINT ShowFaceMessage()
{
    static const UINT message = RegisterWindowMessageA("Tessel_ShowFace_4C1A97E0-2B6D-4f83-A51C-7E09D2B48F16");
    return message;
}

void NotifyContainer()
{
    if (HWND container = FindWindowA("TFormContainer", Title))
        SendMessageA(container, WM_CONTAINER_SWITCH, 0, 0);
}

bool SuiteDialogOpen()
{
    // Any visible one counts: the hidden start-up instance of this process
    // (and of other suite processes) may come first in the window order.
    for (HWND dialog = nullptr; (dialog = FindWindowExA(nullptr, dialog, "TfrmMsg", Title)) != nullptr;) {
        if (IsWindowVisible(dialog)) {
            ShowWindow(dialog, SW_SHOW);
            return true;
        }
    }
    return false;
}

bool CheckRebootNeeded()
{
    const std::string path = Format("%s%s", TSuiteState::Running().ProgramFolder.c_str(), "KsIO.dll");
    // A missing module, or one without its entry, asks for a reboot.
    bool needed = true;
    if (HMODULE module = LoadLibraryA(path.c_str())) {
        if (auto checkReboot = Entry<TCheckReboot>(module, "KSIO_CheckReboot"))
            needed = checkReboot();
        FreeLibrary(module);
    }
    if (!needed)
        return true;
    const std::string text =
        Translate("System needs to reboot for using the application. Do you want to reboot now?");
    if (SystemServices().ShowMessageBox(nullptr, text, Title, MB_YESNO | MB_DEFBUTTON2 | MB_SETFOREGROUND) ==
        IDYES) {
        RebootSystem();
        return true;
    }
    SystemServices().ExitProcess(1);
    return false;
}

bool CheckSuiteConflicts()
{
    return CheckConflicts({
        {"SOFTWARE\\Korvane\\Bellwether", "Please uninstall \"Bellwether\" because it will conflict with Tessel."},
        {"SOFTWARE\\Korvane\\Bellwether2", "Please uninstall \"Bellwether2\" because it will conflict with Tessel."},
        {"SOFTWARE\\Korvane\\Corbel", "Please uninstall \"Corbel\" because it will conflict with Tessel."},
        {"SOFTWARE\\Korvane\\Dunmore", "Please uninstall \"Dunmore\" because it will conflict with Tessel."},
    });
}

bool CheckFathomConflicts()
{
    return CheckConflicts({
        {"SOFTWARE\\Korvane\\Fathom", "Please uninstall \"Fathom\" because it will conflict with Tessel."},
        {"SOFTWARE\\Korvane\\Fathom II", "Please uninstall \"Fathom II\" because it will conflict with Tessel."},
    });
}

} // namespace tessel
