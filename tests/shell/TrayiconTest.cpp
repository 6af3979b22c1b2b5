#include "shell/Trayicon.h"

#include "platform/Application.h"
#include "platform/Bitmap.h"
#include "platform/ClassBuilder.h"
#include "platform/FormFile.h"
#include "platform/Icon.h"
#include "platform/ImageList.h"
#include "platform/Menu.h"
#include "platform/SystemServices.h"
#include "../platform/MenuDriver.h"
#include "../platform/MessagePump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace platform;

namespace {

// Records every notification-area request with a copy of the record as it
// was at that moment, answers as told, and reports a fixed cursor position.
class TTrayServices : public TSystemServices {
public:
    TTrayServices() : FPrevious(SetSystemServices(this)) {}
    ~TTrayServices() override { SetSystemServices(FPrevious); }

    struct TCall {
        DWORD Message;
        TNotifyIconDataA Data;
    };
    std::vector<TCall> Calls;
    bool Answer = true;
    POINT Cursor{321, 123};

    bool NotifyIcon(DWORD Message, NOTIFYICONDATAA* Data) override
    {
        TCall call{Message, {}};
        std::memcpy(&call.Data, Data, sizeof call.Data);
        Calls.push_back(call);
        return Answer;
    }
    POINT CursorPos() override { return Cursor; }
    std::vector<DWORD> Messages() const
    {
        std::vector<DWORD> m;
        for (const TCall& c : Calls)
            m.push_back(c.Message);
        return m;
    }

private:
    TSystemServices* FPrevious;
};

// "Up R R 321,123": the event, the button, the shift flags (SACLRMD) and the position.
std::string MouseText(const char* event, const char* button, TShiftState s, int x, int y)
{
    std::string shift;
    for (int f = ssShift; f <= ssDouble; ++f)
        if (s.Contains(static_cast<TShiftStateFlag>(f)))
            shift += "SACLRMD"[f];
    return Format("%s %s%s %d,%d", event, button, shift.c_str(), x, y);
}

const char* ButtonText(TMouseButton b)
{
    return b == mbLeft ? "L " : b == mbRight ? "R " : "M ";
}

// Logs every image it is told to show.
class TLoggingTray : public TTrayIcon {
public:
    TLoggingTray(TComponent* AOwner, std::vector<std::string>& Log) : TTrayIcon(AOwner), FLog(Log) {}
    void SetIconIndex(int Value) override
    {
        FLog.push_back("Index " + std::to_string(Value));
        TTrayIcon::SetIconIndex(Value);
    }

private:
    std::vector<std::string>& FLog;
};

class TLoggingMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int X, int Y) override { Shown.push_back({X, Y}); }
    std::vector<POINT> Shown;
};

LRESULT Send(TTrayIcon* tray, UINT msg, WPARAM w = 0, LPARAM l = 0)
{
    return SendMessageA(tray->Handle(), msg, w, l);
}

// The colour at the middle of an icon drawn at 16 by 16 pixels.
COLORREF IconColour(HICON icon)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
    const COLORREF c = GetPixel(dc, 8, 8);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return c;
}

void AddSolidImage(TImageList* list, TColor colour)
{
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(16, 16);
    bmp.Canvas()->Brush()->SetColor(colour);
    bmp.Canvas()->FillRect(Rect(0, 0, 16, 16));
    list->Add(&bmp, nullptr);
}

// The application window's messages reach this hook after the tray icon's.
struct TCommandWatch {
    std::vector<WPARAM> Commands;
    TCommandWatch()
    {
        Application->HookMainWindow(this, [this](TMessage& m) {
            if (m.Msg == WM_SYSCOMMAND)
                Commands.push_back(m.WParam);
            return false;
        });
    }
    ~TCommandWatch()
    {
        Application->UnhookMainWindow(this);
        ShowWindow(Application->Handle(), SW_HIDE);
    }
};

} // namespace

// What each gesture on the icon does under each choice of options: the
// hidden application window comes back ("Restore", from OnRestore once it is
// shown), the tray menu opens at the pointer ("Menu" with where it opened)
// and the icon's events are raised, all in the order they happen.
TEST(TrayIcon, GesturesRestoreTheApplicationAndOpenTheMenuAsChosen)
{
    struct TRow {
        UINT Mouse;
        TTrayIconMessage RestoreOn, PopupMenuOn;
        bool WithOnClick;
        std::vector<std::string> Expected;
    };
    const std::vector<TRow> rows = {
        // Moves are translated whether or not OnClick is assigned.
        {WM_MOUSEMOVE, imMouseDown, imMouseDown, false, {"Move  321,123"}},
        {WM_MOUSEMOVE, imNone, imNone, true, {"Move  321,123"}},
        {WM_LBUTTONDOWN, imMouseDown, imMouseUp, false, {"Restore", "Down L L 321,123"}},
        {WM_LBUTTONUP, imClick, imClick, false, {"Up L L 321,123"}},
        {WM_LBUTTONUP, imClick, imClick, true, {"Restore", "Menu 321,123", "Click", "Up L L 321,123"}},
        {WM_LBUTTONUP, imLeftClickUp, imLeftClickUp, false, {"Up L L 321,123", "Restore", "Menu 321,123"}},
        {WM_LBUTTONUP, imMouseUp, imRightClickUp, true, {"Click", "Restore", "Up L L 321,123"}},
        {WM_LBUTTONDBLCLK, imDoubleClick, imLeftDoubleClick, false, {"Restore", "DblClick", "Menu 321,123"}},
        {WM_LBUTTONDBLCLK, imRightDoubleClick, imMouseUp, false, {"DblClick"}},
        {WM_RBUTTONDOWN, imMouseDown, imMouseDown, false, {"Restore", "Menu 321,123", "Down R R 321,123"}},
        {WM_RBUTTONUP, imNone, imRightClickUp, true, {"Up R R 321,123", "Menu 321,123"}},
        {WM_RBUTTONUP, imLeftClickUp, imClick, true, {"Up R R 321,123"}},
        {WM_RBUTTONUP, imMouseUp, imNone, false, {"Restore", "Up R R 321,123"}},
        {WM_RBUTTONDBLCLK, imRightDoubleClick, imDoubleClick, false, {"Menu 321,123", "DblClick", "Restore"}},
        {WM_MBUTTONDOWN, imMouseDown, imNone, false, {"Restore", "Down M M 321,123"}},
        {WM_MBUTTONUP, imLeftClickUp, imRightClickUp, true, {"Up M M 321,123"}},
        {WM_MBUTTONUP, imMouseUp, imMouseUp, false, {"Restore", "Menu 321,123", "Up M M 321,123"}},
        {WM_MBUTTONDBLCLK, imLeftDoubleClick, imDoubleClick, false, {"Menu 321,123", "DblClick"}},
        // The form's settings: the events alone.
        {WM_RBUTTONUP, imNone, imNone, false, {"Up R R 321,123"}},
        {WM_LBUTTONDBLCLK, imNone, imNone, false, {"DblClick"}},
        {WM_KEYDOWN, imMouseDown, imMouseDown, true, {}},
    };
    TTrayServices services;
    const HWND app = Application->Handle();
    std::vector<std::string> log;
    TTrayIcon* tray = New<TTrayIcon>(nullptr);
    tray->OnRestore = [&](TObject*) { log.push_back(IsWindowVisible(app) ? "Restore" : "Restore, still hidden"); };
    tray->OnDblClick = [&](TObject*) { log.push_back("DblClick"); };
    tray->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState s, int x, int y) {
        log.push_back(MouseText("Down", ButtonText(b), s, x, y));
    };
    tray->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState s, int x, int y) {
        log.push_back(MouseText("Up", ButtonText(b), s, x, y));
    };
    tray->OnMouseMove = [&](TObject*, TShiftState s, int x, int y) { log.push_back(MouseText("Move", "", s, x, y)); };
    auto* menu = new TPopupMenu(nullptr);
    auto* item = new TMenuItem(menu);
    item->SetCaption("Exit");
    menu->Items()->Add(item);
    tray->SetPopupMenu(menu);

    for (size_t i = 0; i < rows.size(); ++i) {
        const TRow& row = rows[i];
        tray->SetRestoreOn(row.RestoreOn);
        tray->SetPopupMenuOn(row.PopupMenuOn);
        tray->OnClick = nullptr;
        if (row.WithOnClick)
            tray->OnClick = [&log](TObject*) { log.push_back("Click"); };
        ShowWindow(app, SW_HIDE);
        log.clear();
        std::vector<std::string> menus;
        TMenuDriver driver{.Log = &menus};
        driver.Inspect = [&](HMENU) { log.push_back(Format("Menu %ld,%ld", driver.Shown.left, driver.Shown.top)); };
        driver.Run([&] { EXPECT_EQ(0, Send(tray, TTrayIcon::WM_TRAYICON, 0, static_cast<LPARAM>(row.Mouse))); });
        EXPECT_EQ(row.Expected, log) << "row " << i;
        const bool restored = std::find(row.Expected.begin(), row.Expected.end(), "Restore") != row.Expected.end();
        EXPECT_EQ(restored, IsWindowVisible(app) != FALSE) << "row " << i;
    }
    ShowWindow(app, SW_HIDE);
    tray->Free();
    menu->Free();
}

TEST(TrayIcon, RecordVisibilityHintAndSessionEnd)
{
    TTrayServices services;
    TOwned<TTrayIcon> tray(New<TTrayIcon>(nullptr));
    const TNotifyIconDataA& d = tray->Data();
    EXPECT_EQ(488u, d.cbSize);
    EXPECT_EQ(tray->Handle(), d.hWnd);
    EXPECT_EQ(static_cast<UINT>(reinterpret_cast<uintptr_t>(tray.get())), d.uID);
    EXPECT_EQ(3u, d.uFlags);
    EXPECT_EQ(0x401u, d.uCallbackMessage);
    EXPECT_TRUE(services.Calls.empty()) << "constructing adds no icon";

    // Hidden, a hint changes only the record.
    tray->SetHint("Tessel");
    EXPECT_STREQ("Tessel", d.szTip);
    EXPECT_EQ(7u, d.uFlags);
    EXPECT_TRUE(services.Calls.empty());

    tray->SetVisible(true);
    tray->SetVisible(true);
    ASSERT_EQ((std::vector<DWORD>{NIM_ADD, NIM_ADD}), services.Messages());
    const TNotifyIconDataA& added = services.Calls[0].Data;
    EXPECT_EQ(488u, added.cbSize);
    EXPECT_EQ(tray->Handle(), added.hWnd);
    EXPECT_EQ(tray->CurrentIcon()->Handle(), added.hIcon);
    EXPECT_NE(nullptr, added.hIcon);
    EXPECT_TRUE(tray->Hide());

    services.Calls.clear();
    const std::string hint63(63, 'h'), hint64(64, 'x');
    tray->SetHint(hint63);
    tray->SetHint(hint64);
    tray->SetHint(hint63);
    ASSERT_EQ(1u, services.Calls.size());
    EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), services.Calls[0].Message);
    EXPECT_EQ(hint63, services.Calls[0].Data.szTip);
    EXPECT_EQ(hint63, tray->Hint());
    tray->SetHint("");
    ASSERT_EQ(2u, services.Calls.size());
    EXPECT_EQ(3u, services.Calls[1].Data.uFlags) << "the tip goes, image and notifications stay";
    EXPECT_STREQ("", services.Calls[1].Data.szTip);
    EXPECT_NE(nullptr, services.Calls[1].Data.hIcon);

    services.Calls.clear();
    EXPECT_EQ(1, Send(tray.get(), WM_QUERYENDSESSION, 0, 0));
    EXPECT_TRUE(services.Calls.empty());
    EXPECT_EQ(0, Send(tray.get(), WM_ENDSESSION, TRUE, 0));
    EXPECT_EQ(std::vector<DWORD>{NIM_DELETE}, services.Messages());
    EXPECT_TRUE(tray->Visible());
    EXPECT_TRUE(tray->Hide());
    EXPECT_EQ(0, Send(tray.get(), WM_USER + 7, 1, 1));

    services.Calls.clear();
    tray->SetVisible(false);
    tray->SetVisible(false);
    EXPECT_EQ((std::vector<DWORD>{NIM_DELETE, NIM_DELETE}), services.Messages());
    EXPECT_FALSE(tray->Hide());
    tray->SetDefaultIcon();
    EXPECT_EQ(2u, services.Calls.size()) << "a hidden icon is not modified";

    services.Calls.clear();
    tray.reset();
    EXPECT_EQ(std::vector<DWORD>{NIM_DELETE}, services.Messages()) << "destruction deletes, answer ignored";
}

TEST(TrayIcon, RefusedRequestsRaiseTheirTexts)
{
    TTrayServices services;
    const TOwned<TTrayIcon> tray(New<TTrayIcon>(nullptr));
    int minimized = 0;
    tray->OnMinimize = [&](TObject*) { ++minimized; };
    TCommandWatch watch;

    services.Answer = false;
    tray->SetHide(false);
    try {
        tray->SetVisible(true);
        ADD_FAILURE() << "no exception";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ("Cannot Create System Shell Notification Icon", e.Message());
    }
    EXPECT_TRUE(tray->Visible());
    EXPECT_FALSE(tray->Hide());
    SendMessageA(Application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(1, minimized) << "the hook is installed even when the very first add is refused";

    // A restarted taskbar then brings the icon back, and it works as one shown.
    services.Answer = true;
    services.Calls.clear();
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !services.Calls.empty(); }, 3000));
    EXPECT_EQ(std::vector<DWORD>{NIM_ADD}, services.Messages());
    SendMessageA(Application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(2, minimized);

    tray->SetVisible(true);
    services.Answer = false;
    try {
        tray->SetVisible(false);
        ADD_FAILURE() << "no exception";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ("Cannot Remove System Shell Notification Icon", e.Message());
    }
    EXPECT_FALSE(tray->Visible());
    EXPECT_TRUE(tray->Hide());
    SendMessageA(Application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(3, minimized) << "the hook stays after a refused delete";
}

TEST(TrayIcon, HookMinimizesAndRestoresAndPassesTheCommandOn)
{
    TTrayServices services;
    HWND app = Application->Handle();
    std::vector<std::string> events;
    TTrayIcon* tray = New<TTrayIcon>(nullptr);
    tray->OnMinimize = [&](TObject*) { events.push_back(IsWindowVisible(app) ? "Minimize shown" : "Minimize"); };
    tray->OnRestore = [&](TObject*) { events.push_back(IsIconic(app) ? "Restore iconic" : "Restore"); };
    tray->SetVisible(true);
    {
        TCommandWatch watch;
        SendMessageA(app, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
        SendMessageA(app, WM_SYSCOMMAND, SC_MINIMIZE | 2, 0); // compared whole
        EXPECT_EQ((std::vector<std::string>{"Minimize", "Restore"}), events);
        EXPECT_EQ((std::vector<WPARAM>{SC_MINIMIZE, SC_RESTORE, SC_MINIMIZE | 2}), watch.Commands);

        tray->SetVisible(false);
        events.clear();
        SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_TRUE(events.empty()) << "hidden, the icon no longer hooks the application";

        // Freed while shown: nothing may call into the freed component.
        tray->SetVisible(true);
        tray->Free();
        SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_TRUE(events.empty());
        EXPECT_EQ(SC_RESTORE, watch.Commands.back());
    }
}

TEST(TrayIcon, ShowMenuAndRemovedCompanions)
{
    TTrayServices services;
    const TOwned<TComponent> owner(new TComponent(nullptr));
    const TOwned<TComponent> elsewhere(new TComponent(nullptr));
    TTrayIcon* tray = New<TTrayIcon>(owner.get());

    tray->ShowMenu(); // no menu: nothing, and no failure
    auto* menu = new TLoggingMenu(elsewhere.get());
    tray->SetPopupMenu(menu);
    services.Cursor = {40, 50};
    tray->ShowMenu();
    ASSERT_EQ(1u, menu->Shown.size());
    EXPECT_EQ(40, menu->Shown[0].x);
    EXPECT_EQ(50, menu->Shown[0].y);

    auto* list = new TImageList(owner.get());
    tray->SetIcons(list);
    menu->Free();
    EXPECT_EQ(nullptr, tray->PopupMenu()) << "a menu of another owner.get() is forgotten too";
    EXPECT_EQ(list, tray->Icons());
    auto* sibling = new TPopupMenu(owner.get());
    tray->SetPopupMenu(sibling);
    list->Free();
    EXPECT_EQ(nullptr, tray->Icons());
    EXPECT_EQ(sibling, tray->PopupMenu());
    sibling->Free();
    EXPECT_EQ(nullptr, tray->PopupMenu());
}

TEST(TrayIcon, AnimationStepsThroughTheImages)
{
    TTrayServices services;
    std::vector<std::string> log;
    const TOwned<TLoggingTray> tray(New<TLoggingTray>(nullptr, log));
    tray->SetAnimate(true);
    EXPECT_FALSE(tray->Animate()) << "no image list outside loading";

    TOwned<TImageList> list(new TImageList(nullptr));
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (COLORREF c : colours)
        AddSolidImage(list.get(), static_cast<TColor>(c));
    tray->SetIcons(list.get());
    tray->SetIconIndex(0);
    EXPECT_EQ(colours[0], IconColour(tray->CurrentIcon()->Handle()));

    tray->SetAnimateInterval(20);
    log.clear();
    tray->SetAnimate(true);
    ASSERT_TRUE(tray->Animate());
    ASSERT_TRUE(PumpUntil([&] { return log.size() >= 3; }, 5000));
    tray->SetAnimate(false);
    EXPECT_EQ((std::vector<std::string>{"Index 1", "Index 2", "Index 0"}),
              std::vector<std::string>(log.begin(), log.begin() + 3));
    for (int i = 0; i < 3; ++i) {
        tray->SetIconIndex(i);
        EXPECT_EQ(colours[i], IconColour(tray->CurrentIcon()->Handle())) << "image " << i;
    }
    const COLORREF own = IconColour(Application->Icon()->Handle());
    tray->SetIconIndex(7);
    EXPECT_EQ(own, IconColour(tray->CurrentIcon()->Handle())) << "outside the list: the application's icon";
    tray->SetIconIndex(1);

    // The list goes while the timer runs: ticks change nothing and do not fail.
    tray->SetAnimate(true);
    list.reset();
    log.clear();
    PumpFor(100);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(1, tray->IconIndex());
}

TEST(TrayIcon, TaskbarRestartAddsTheVisibleIconAgain)
{
    TTrayServices services;
    const TOwned<TTrayIcon> tray(New<TTrayIcon>(nullptr));
    const UINT created = RegisterWindowMessageA("TaskbarCreated");

    PostMessageA(HWND_BROADCAST, created, 0, 0);
    PumpFor(200);
    EXPECT_TRUE(services.Calls.empty()) << "a hidden icon stays hidden";

    tray->SetVisible(true);
    services.Calls.clear();
    PostMessageA(HWND_BROADCAST, created, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !services.Calls.empty(); }, 3000));
    EXPECT_EQ(std::vector<DWORD>{NIM_ADD}, services.Messages());
    EXPECT_EQ(tray->Handle(), services.Calls[0].Data.hWnd);
    EXPECT_TRUE(tray->Visible());
}

namespace {

class TTrayRoot : public TComponent {
    PLATFORM_CLASS(TTrayRoot, TComponent)
public:
    using TComponent::TComponent;
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent*) override
    {
        for (int i = 0; i < ComponentCount(); ++i)
            if (!Components(i)->HasParent())
                Proc(Components(i));
    }
    void TesselTrayRestore(TObject*) { Log.push_back("OnRestore"); }
    void TesselTrayMouseUp(TObject*, TMouseButton b, TShiftState s, int x, int y)
    {
        Log.push_back(MouseText("Up", ButtonText(b), s, x, y));
    }
    TPopupMenu* TrayMenu = nullptr;
    std::vector<std::string> Log;
};

// The tray icon's class is found in the class registry: the root declares no field of it.
const TClassInfo& TTrayRoot::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TTrayRoot, TComponent>("TTrayRoot")
        .Field("TrayMenu", &TTrayRoot::TrayMenu)
        .Method("TesselTrayRestore", &TTrayRoot::TesselTrayRestore)
        .Method("TesselTrayMouseUp", &TTrayRoot::TesselTrayMouseUp)
        .Build();
    return info;
}

} // namespace

TEST(TrayIcon, ReadFromFormTextWithTheShellsSettings)
{
    TTrayServices services;
    services.Cursor = {1000, 700};
    TTrayRoot* root = new TTrayRoot(nullptr);
    ReadComponentText(root, "object Form1: TTrayRoot\n"
                            "  object TesselTray: TTrayIcon\n"
                            "    Hint = 'Tessel'\n"
                            "    PopupMenu = TrayMenu\n"
                            "    Hide = True\n"
                            "    RestoreOn = imNone\n"
                            "    PopupMenuOn = imNone\n"
                            "    OnRestore = TesselTrayRestore\n"
                            "    OnMouseUp = TesselTrayMouseUp\n"
                            "  end\n"
                            "  object TrayMenu: TPopupMenu\n"
                            "    AutoPopup = False\n"
                            "  end\n"
                            "end\n");
    auto* tray = dynamic_cast<TTrayIcon*>(root->FindComponent("TesselTray"));
    ASSERT_NE(nullptr, tray);
    EXPECT_EQ(root->TrayMenu, tray->PopupMenu());
    EXPECT_EQ(imNone, tray->RestoreOn());
    EXPECT_FALSE(tray->Visible());
    EXPECT_STREQ("Tessel", tray->Data().szTip);
    EXPECT_EQ(7u, tray->Data().uFlags);
    EXPECT_TRUE(services.Calls.empty());

    tray->SetVisible(true);
    for (UINT mouse : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        Send(tray, TTrayIcon::WM_TRAYICON, 0, static_cast<LPARAM>(mouse));
    EXPECT_EQ((std::vector<std::string>{"Up R R 1000,700", "Up L L 1000,700"}), root->Log);

    root->Log.clear();
    {
        TCommandWatch watch;
        SendMessageA(Application->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_EQ(std::vector<std::string>{"OnRestore"}, root->Log);
        EXPECT_EQ(std::vector<WPARAM>{SC_RESTORE}, watch.Commands);
    }
    root->Free();
}

TEST(TrayIcon, LoadedStartsTheAnimationOverItsImageList)
{
    TTrayServices services;
    TComponent* root = new TTrayRoot(nullptr);
    RegisterClasses({&TImageList::StaticClassInfo()});
    ReadComponentText(root, "object Form1: TTrayRoot\n"
                            "  object Tray: TTrayIcon\n"
                            "    Icons = Images\n"
                            "    IconIndex = 5\n"
                            "    AnimateInterval = 20\n"
                            "    Animate = True\n"
                            "  end\n"
                            "  object Images: TImageList\n"
                            "  end\n"
                            "end\n");
    auto* tray = static_cast<TTrayIcon*>(root->FindComponent("Tray"));
    EXPECT_TRUE(tray->Animate());
    EXPECT_EQ(20, tray->AnimateInterval());
    // An empty list: every tick falls back to index 0 and the application's icon.
    ASSERT_TRUE(PumpUntil([&] { return tray->IconIndex() == 0; }, 3000));
    EXPECT_EQ(IconColour(Application->Icon()->Handle()), IconColour(tray->CurrentIcon()->Handle()));
    root->Free();
}

// The notification area of the Wine session, without a double.
TEST(TrayIcon, RealNotificationArea)
{
    struct TSpy : TSystemServices {
        TSystemServices* Previous = SetSystemServices(this);
        std::vector<std::pair<DWORD, bool>> Answers;
        ~TSpy() override { SetSystemServices(Previous); }
        bool NotifyIcon(DWORD Message, NOTIFYICONDATAA* Data) override
        {
            const bool answer = TSystemServices::NotifyIcon(Message, Data);
            Answers.push_back({Message, answer});
            return answer;
        }
    } spy;
    ASSERT_NE(nullptr, FindWindowA("Shell_TrayWnd", nullptr)) << "the session has no notification area";
    TTrayIcon* tray = New<TTrayIcon>(nullptr);
    tray->SetHint("Tessel");
    EXPECT_NO_THROW(tray->SetVisible(true));
    tray->SetHint("Tessel again");
    EXPECT_NO_THROW(tray->SetVisible(false));
    tray->Free();
    const std::vector<std::pair<DWORD, bool>> expected = {
        {NIM_ADD, true}, {NIM_MODIFY, true}, {NIM_DELETE, true}, {NIM_DELETE, false}};
    EXPECT_EQ(expected, spy.Answers) << "the last delete finds no icon";
}
