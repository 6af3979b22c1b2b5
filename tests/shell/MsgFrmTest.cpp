// The message dialog built in the test program over a suite folder: its
// layout, fonts and texts under each language rule, its shape on the screen
// with and without the skin files, its answers, its dragging, and the
// hidden start-up instance beside a second dialog.
#include "DialogDriver.h"
#include "RecordingServices.h"
#include "ShellHarness.h"

#include "shell/MsgFrm.h"

#include "platform/Application.h"

#include <gtest/gtest.h>

using namespace tessel;
using namespace shelltest;
using platform::TControl;

namespace {

using TDialog = platform::TOwned<TfrmMsg>;

std::string Bounds(const TControl* Control)
{
    return std::to_string(Control->Left()) + "," + std::to_string(Control->Top()) + "," +
           std::to_string(Control->Width()) + "," + std::to_string(Control->Height());
}

std::string Font(const platform::TFont* Font)
{
    return std::to_string(Font->Charset()) + " " + Font->Name() + " " + std::to_string(Font->Height());
}

constexpr int ShownLeft = 960, ShownTop = 820;
const COLORREF Body = RGB(250, 251, 252), Tray = RGB(237, 240, 244), Frame = RGB(55, 65, 81);

class MessageDialog : public TSuiteTest {
protected:
    void SetUp() override
    {
        TSuiteTest::SetUp();
        Suite.AddModule("KsMultiLang.dll");
        Suite.Double("KsMultiLang", "Prefix", "[t]");
        Suite.AddSkin();
    }
    void Language(const std::string& Name)
    {
        FreeLanguage();
        Suite.Double("KsMultiLang", "Name", Name);
        ASSERT_EQ(LoadLanguage(0), langLoaded);
    }
    static TDialog Make(const std::string& Text) { return TDialog(platform::New<TfrmMsg>(nullptr, Text)); }
    // Shown and painted above every other window, in a corner of the screen
    // that the other test programs leave alone.
    static void Show(TfrmMsg* Dialog)
    {
        Dialog->SetLeft(ShownLeft);
        Dialog->SetTop(ShownTop);
        Dialog->Show();
        SetWindowPos(Dialog->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        RedrawWindow(Dialog->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        platform::Application->ProcessMessages();
        Sleep(200);
        platform::Application->ProcessMessages();
    }
};

TEST_F(MessageDialog, LayoutFontsAndTextsUnderEachLanguage)
{
    struct TCase {
        const char* Language;
        int Charset;
        bool Lowered;
    };
    for (const TCase& c : {TCase{"English", DEFAULT_CHARSET, false}, TCase{"Japanese", SHIFTJIS_CHARSET, true},
                           TCase{"JAPANESE", SHIFTJIS_CHARSET, false}, TCase{"russian", RUSSIAN_CHARSET, false},
                           TCase{"Thai", THAI_CHARSET, false}}) {
        SCOPED_TRACE(c.Language);
        Language(c.Language);
        TDialog dialog = Make("Are you sure?");
        EXPECT_EQ(dialog->ClassName(), "TfrmMsg");
        EXPECT_EQ(dialog->Caption(), "Tessel");
        EXPECT_EQ(dialog->BorderStyle(), platform::bsNone);
        EXPECT_EQ(Bounds(dialog.get()), "0,0,270,160");
        EXPECT_EQ(Bounds(dialog->ImgMsgBackground), "0,0,270,160");
        EXPECT_EQ(Bounds(dialog->mrOk), "33,112,97,23");
        EXPECT_EQ(Bounds(dialog->mrCancel), "143,112,97,23");
        EXPECT_EQ(Bounds(dialog->LabelDescription), c.Lowered ? "20,63,240,60" : "20,60,240,60");
        EXPECT_EQ(Bounds(dialog->LabelCaption), c.Lowered ? "20,21,150,18" : "20,18,150,18");

        EXPECT_EQ(dialog->mrOk->Caption(), "[t]Yes");
        EXPECT_EQ(dialog->mrCancel->Caption(), "[t]No");
        EXPECT_EQ(dialog->LabelDescription->Caption(), "Are you sure?");
        EXPECT_EQ(dialog->LabelCaption->Caption(), "");

        const std::string thai = std::to_string(THAI_CHARSET) + " MS Sans Serif ";
        const std::string charset = std::to_string(c.Charset) + " ";
        EXPECT_EQ(Font(dialog->Font()), charset + "MS Sans Serif -14");
        EXPECT_EQ(Font(dialog->LabelCaption->Font()), charset + "MS Sans Serif -12");
        EXPECT_EQ(Font(dialog->LabelDescription->Font()), charset + "MS Sans Serif -12");
        for (KsButtonTx* button : {dialog->mrOk, dialog->mrCancel}) {
            EXPECT_EQ(button->Font()->Charset(), c.Charset);
            EXPECT_EQ(button->Font()->Height(), -11);
            if (c.Charset == THAI_CHARSET) {
                EXPECT_EQ(button->Font()->Name(), "MS Sans Serif");
            }
        }
    }

    // The start-up instance keeps the stored texts and fonts, but not the stored layout.
    Language("Japanese");
    TDialog hidden = TDialog(platform::New<TfrmMsg>(nullptr));
    EXPECT_EQ(hidden->mrOk->Caption(), "Yes");
    EXPECT_EQ(hidden->mrCancel->Caption(), "No");
    EXPECT_EQ(hidden->Font()->Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(Bounds(hidden.get()), "0,0,270,160");
    EXPECT_EQ(Bounds(hidden->LabelDescription), "20,63,240,60");
    EXPECT_FALSE(IsWindowVisible(hidden->Handle()));
}

TEST_F(MessageDialog, SkinnedDialogIsCutToItsBackgroundOnTheScreen)
{
    Language("English");
    TDialog dialog = Make("Are you sure to exit?");
    const POINT probes[] = {{0, 0}, {1, 1}, {269, 0}, {0, 159}, {269, 159}, {5, 5}, {135, 0}, {135, 80}, {264, 154}};
    EXPECT_EQ(RegionShape(dialog->Handle(), probes, 9), ".....####") << "the key-coloured corners are cut away";

    Show(dialog.get());
    const TScreenShot shot(dialog->Handle());
    EXPECT_NE(shot.Pixel(0, 0), RGB(255, 0, 255)) << "what lies behind shows through the corner";
    EXPECT_EQ(shot.Pixel(0, 80), Frame);
    EXPECT_EQ(shot.Pixel(135, 40), Body);
    EXPECT_EQ(shot.Pixel(135, 140), Tray);
    EXPECT_GT(shot.DarkPixels({20, 60, 260, 80}), 20) << "the question is written on the body";
    EXPECT_GT(shot.DarkPixels({YesButton.x - 30, 112, YesButton.x + 30, 135}), 5) << "Yes";
    EXPECT_GT(shot.DarkPixels({NoButton.x - 30, 112, NoButton.x + 30, 135}), 5) << "No";
}

TEST_F(MessageDialog, WithoutSkinFilesAPlainFramedRectangleWithWorkingButtons)
{
    // The buttons' files are missing, the background's is damaged: both count as missing.
    for (const char* name : {"button_n.bmp", "button_d.bmp", "button_o.bmp", "button_un.bmp"})
        DeleteFileA((Suite.Path() + "ContainerImages\\" + name).c_str());
    Suite.Write("ContainerImages\\popup_bg_s.bmp", "BM damaged");
    Language("English");
    TRecordingServices services;
    TDialog dialog = Make("Are you sure to exit?");
    EXPECT_EQ(services.Log, std::vector<std::string>{}) << "no error is shown";
    EXPECT_EQ(Bounds(dialog.get()), "0,0,270,160");
    EXPECT_EQ(RegionShape(dialog->Handle(), nullptr, 0), "none") << "a whole rectangle";

    // The buttons keep the raised, sunken and focused pictures stored with the
    // form, which the skin generator drew as it drew the skin files.
    for (KsButtonTx* button : {dialog->mrOk, dialog->mrCancel}) {
        SCOPED_TRACE(button->Name());
        KsFourStateAppearance* look = button->Appearance();
        for (auto [stored, file] : {std::pair{look->RaisedBmp(), "button_n.bmp"},
                                    std::pair{look->SunkenBmp(), "button_d.bmp"},
                                    std::pair{look->FocusedBmp(), "button_o.bmp"}}) {
            platform::TBitmap drawn;
            drawn.LoadFromFile(SuiteBin() + "ContainerImages\\" + file);
            ASSERT_EQ(stored->Width(), 97);
            ASSERT_EQ(stored->Height(), 23);
            EXPECT_EQ(stored->PixelFormat(), platform::pf24bit);
            for (int y = 0; y < 23; ++y)
                for (int x = 0; x < 97; ++x)
                    ASSERT_EQ(stored->Canvas()->Pixel(x, y), drawn.Canvas()->Pixel(x, y))
                        << file << " " << x << "," << y;
        }
        EXPECT_TRUE(look->DisabledBmp()->Empty());
        EXPECT_EQ(button->GetTransparentColor(), 15000288);
        EXPECT_FALSE(button->GetTransparent());
        EXPECT_EQ(button->Cursor(), platform::crHandPoint);
    }

    Show(dialog.get());
    {
        const TScreenShot shot(dialog->Handle());
        EXPECT_EQ(shot.Pixel(0, 0), Frame);
        EXPECT_EQ(shot.Pixel(269, 159), Frame);
        EXPECT_EQ(shot.Pixel(1, 1), Tray);
        EXPECT_EQ(shot.Pixel(135, 40), Tray);
        EXPECT_GT(shot.DarkPixels({20, 60, 260, 80}), 20) << "the question stays readable";
    }
    dialog->Hide();

    TModalDriver driver(nullptr, [](HWND d) { ClickAt(d, NoButton); });
    EXPECT_EQ(dialog->ShowModal(), platform::mrNo);
    EXPECT_TRUE(driver.Answered());
}

TEST_F(MessageDialog, YesGivesSixNoSevenAndAltF4ARefusal)
{
    Language("English");
    TDialog dialog = Make("Are you sure to exit?");
    struct TCase {
        const char* Name;
        std::function<void(HWND)> Answer;
        int Result;
    };
    for (const TCase& c : {TCase{"Yes", [](HWND d) { ClickAt(d, YesButton); }, 6},
                           TCase{"No", [](HWND d) { ClickAt(d, NoButton); }, 7},
                           TCase{"Alt+F4", [](HWND d) { PressAltF4(d); }, platform::mrCancel}}) {
        TModalDriver driver(nullptr, c.Answer);
        EXPECT_EQ(dialog->ShowModal(), c.Result) << c.Name;
        EXPECT_TRUE(driver.Answered()) << c.Name;
        EXPECT_FALSE(IsWindowVisible(dialog->Handle())) << c.Name;
    }
}

TEST_F(MessageDialog, DraggedByItsBodyItsLabelsAndItsImageWithTheLeftButton)
{
    Language("English");
    TDialog dialog = Make("Are you sure to exit?");
    Show(dialog.get());
    HWND wnd = dialog->Handle();
    // Whether the dialog asked the system to move it, as by its caption.
    auto dragged = [wnd] {
        MSG msg{};
        bool asked = false;
        while (PeekMessageA(&msg, wnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE))
            asked = asked || (msg.wParam == HTCAPTION && msg.lParam == 0);
        return asked;
    };
    // The caption label, the description, the picture.
    for (POINT at : {POINT{30, 25}, POINT{130, 70}, POINT{250, 100}}) {
        SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        EXPECT_TRUE(dragged()) << at.x << "," << at.y;
        EXPECT_EQ(GetCapture(), nullptr);
        SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        SendMessageA(wnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
        SendMessageA(wnd, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        EXPECT_FALSE(dragged()) << "right button at " << at.x << "," << at.y;
    }
    // The form's own body, where no control lies.
    dialog->ImgMsgBackground->SetVisible(false);
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(250, 100));
    SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(250, 100));
    EXPECT_TRUE(dragged());
}

TEST_F(MessageDialog, ASecondDialogLeavesTheHiddenOneAlone)
{
    Language("English");
    TDialog hidden = TDialog(platform::New<TfrmMsg>(nullptr));
    hidden->SetBounds(300, 200, 270, 160);
    TDialog second = Make("Are you sure to exit?");
    EXPECT_EQ(Bounds(second.get()), "0,0,270,160");
    EXPECT_EQ(Bounds(hidden.get()), "300,200,270,160");
    RECT r{};
    GetWindowRect(hidden->Handle(), &r);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 200);
    EXPECT_FALSE(IsWindowVisible(hidden->Handle()));
}

} // namespace
