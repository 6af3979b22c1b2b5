// Shapes, sizes, captions and streaming of the skinned push buttons.
#include "Allocations.h"
#include "KsPackageTesting.h"
#include "KsPackage/Source/KsRegister.h"
#include "platform/Action.h"
#include "platform/ClassBuilder.h"
#include "platform/FormFile.h"
#include "platform/Menu.h"

#include <algorithm>
#include <map>

using namespace platform;

namespace {

// A window's region as the platform has it; null when it has none.
struct TWindowRegion {
    explicit TWindowRegion(HWND Window) : Handle(CreateRectRgn(0, 0, 0, 0))
    {
        if (GetWindowRgn(Window, Handle) == ERROR) {
            DeleteObject(Handle);
            Handle = nullptr;
        }
    }
    ~TWindowRegion()
    {
        if (Handle)
            DeleteObject(Handle);
    }
    bool Contains(int X, int Y) const { return Handle && PtInRegion(Handle, X, Y); }
    HRGN Handle;
};

// A 30 x 12 raised picture whose four corner pixels are the key colour.
std::unique_ptr<TBitmap> CorneredBitmap()
{
    auto bitmap = SolidBitmap(30, 12, RaisedColor);
    for (auto [x, y] : {std::pair{0, 0}, {29, 0}, {0, 11}, {29, 11}})
        Put24(*bitmap, x, y, KeyColor);
    return bitmap;
}

} // namespace

TEST_F(KsFormTest, RegionsFollowTransparencyAndServeAsTheHitTest)
{
    auto* button = Place<KsButton>(10, 10);
    EXPECT_FALSE(button->IsInside(0, 0)) << "no region before the first update";
    EXPECT_FALSE(button->IsInside(5, 5));

    button->SetBitmap(CorneredBitmap().get(), 0);
    HWND window = button->Handle();
    EXPECT_EQ(TWindowRegion(window).Handle, nullptr) << "not transparent: no window region";
    EXPECT_TRUE(button->IsInside(0, 0));
    EXPECT_TRUE(button->IsInside(29, 11));
    EXPECT_FALSE(button->IsInside(30, 5));
    EXPECT_EQ(button->GetTransparentColor(), KeyColor) << "the raised picture brings its bottom-left colour";

    button->SetTransparent(true);
    {
        TWindowRegion region(window);
        ASSERT_NE(region.Handle, nullptr);
        EXPECT_FALSE(region.Contains(0, 0));
        EXPECT_FALSE(region.Contains(29, 11));
        EXPECT_TRUE(region.Contains(1, 0));
        EXPECT_TRUE(region.Contains(15, 6));
    }
    EXPECT_FALSE(button->IsInside(0, 0));
    EXPECT_TRUE(button->IsInside(1, 0));

    // A press on a cut-away corner presses nothing.
    button->SetBitmap(SolidBitmap(30, 12, SunkenColor).get(), 1);
    Send(*button, WM_LBUTTONDOWN, MK_LBUTTON, 0, 0);
    EXPECT_EQ(ShownAt(*button, 15, 6), RaisedColor) << "the raised picture stays";
    Send(*button, WM_LBUTTONUP, 0, 0, 0);
    Send(*button, WM_LBUTTONDOWN, MK_LBUTTON, 15, 6);
    EXPECT_EQ(ShownAt(*button, 15, 6), SunkenColor);
    Send(*button, WM_LBUTTONUP, 0, 15, 6);

    // The same colour again still rebuilds and reapplies the region.
    SetWindowRgn(window, nullptr, TRUE);
    button->SetTransparentColor(KeyColor);
    EXPECT_FALSE(TWindowRegion(window).Contains(0, 0));
    EXPECT_TRUE(TWindowRegion(window).Contains(1, 0));

    // Another colour cuts other pixels.
    button->SetTransparentColor(RaisedColor);
    EXPECT_TRUE(TWindowRegion(window).Contains(0, 0));
    EXPECT_FALSE(TWindowRegion(window).Contains(15, 6));

    button->SetTransparent(false);
    EXPECT_EQ(TWindowRegion(window).Handle, nullptr);
    EXPECT_TRUE(button->IsInside(15, 6));

    // In the form designer the region serves the hit test only.
    button->SetDesigning(true);
    button->SetTransparent(true);
    EXPECT_EQ(TWindowRegion(window).Handle, nullptr);
    EXPECT_FALSE(button->IsInside(15, 6));
}

TEST_F(KsFormTest, TheRaisedPictureFixesTheSizeAndTheBackgroundIsNotErased)
{
    auto* button = Place<KsButton>(10, 20);
    button->SetBounds(10, 20, 60, 30);
    EXPECT_EQ(button->Width(), 60) << "without a picture any size goes";
    Skin(*button, 97, 23);
    EXPECT_EQ(button->Width(), 97);
    EXPECT_EQ(button->Height(), 23);

    button->SetBounds(10, 20, 200, 50);
    EXPECT_EQ(button->Width(), 97);
    EXPECT_EQ(button->Height(), 23);
    RECT r;
    GetClientRect(button->Handle(), &r);
    EXPECT_EQ(r.right, 97);
    EXPECT_EQ(r.bottom, 23);

    button->SetBitmap(SolidBitmap(120, 40, RaisedColor).get(), 0);
    EXPECT_EQ(button->BoundsRect().left, 10);
    EXPECT_EQ(button->BoundsRect().top, 20);
    EXPECT_EQ(button->Width(), 120);
    EXPECT_EQ(button->Height(), 40);
    EXPECT_EQ(ShownPicture(*button)->Width(), 120);
    EXPECT_EQ(ScreenPixel(button->Handle(), 110, 35), RaisedColor);

    // The erase request is answered without painting.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP surface = CreateCompatibleBitmap(screen, 8, 8);
    HGDIOBJ old = SelectObject(dc, surface);
    SetPixel(dc, 2, 2, RGB(1, 2, 3));
    EXPECT_EQ(SendMessageA(button->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(1, 2, 3));
    // The hidden image covers the whole button, and the framework leaves it out of the erase.
    button->SetDesigning(true);
    button->Controls(0)->Hide();
    SendMessageA(button->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_NE(GetPixel(dc, 2, 2), RGB(1, 2, 3)) << "the designer erases";
    SelectObject(dc, old);
    DeleteObject(surface);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

namespace {

constexpr TColor Background = 0x202020, TextColor = 0xF0F0F0;

class KsCaptionTest : public KsFormTest {
protected:
    void SetUp() override
    {
        KsFormTest::SetUp();
        Button = Place<KsButtonTx>(10, 10);
        Skin(*Button, 97, 23, {Background, Background, Background, -1});
        Button->Font()->SetColor(TextColor);
        Button->Font()->SetHeight(-12);
        Button->SetCaption("Yes");
        Button->SetTabStop(true);
    }
    TInk Ink() { return InkOf(*Button, Background); }
    KsButtonTx* Button = nullptr;
};

} // namespace

TEST_F(KsCaptionTest, TheCaptionIsCentredAndShiftedOnceByHalfTheDisplacement)
{
    EXPECT_EQ(Button->TextBounds().right, 97);
    const TInk centred = Ink();
    ASSERT_FALSE(centred.Empty());
    EXPECT_LE(std::abs(centred.Box.left - (97 - centred.Box.right)), 1) << "centred across the button";
    EXPECT_PRED2(Near, centred.Color, TextColor);

    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 40, 10);
    const TInk pressed = Ink();
    EXPECT_EQ(pressed.Box.left, centred.Box.left + 1);
    EXPECT_EQ(pressed.Box.top, centred.Box.top + 1);
    Button->Repaint();
    EXPECT_EQ(Ink().Box.left, centred.Box.left) << "a redraw while pressed is not shifted";
    Send(*Button, WM_LBUTTONUP, 0, 40, 10);
    EXPECT_EQ(Ink().Box.left, centred.Box.left);

    // On the screen as in the hidden image.
    const TInk shown = Ink();
    EXPECT_EQ(ScreenPixel(Button->Handle(), 2, 2), Background);
    int inked = 0;
    for (int x = shown.Box.left; x < shown.Box.right; ++x)
        for (int y = shown.Box.top; y < shown.Box.bottom; ++y)
            inked += Near(ScreenPixel(Button->Handle(), x, y), TextColor);
    EXPECT_GT(inked, 3);

    Button->SetDisp(4, 0);
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 40, 10);
    EXPECT_EQ(Ink().Box.left, centred.Box.left + 2);
    EXPECT_EQ(Ink().Box.top, centred.Box.top);
    Send(*Button, WM_LBUTTONUP, 0, 40, 10);

    // A button without a sunken picture still shifts its caption.
    Button->SetBitmap(nullptr, ksSunken);
    Button->SetDisp(2, 2);
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 40, 10);
    EXPECT_EQ(Ink().Box.left, centred.Box.left + 1);
    Send(*Button, WM_LBUTTONUP, 0, 40, 10);

    Button->SetTextBounds(10, 2, 50, 19);
    const TInk moved = Ink();
    EXPECT_LE(std::abs((moved.Box.left - 10) - (60 - moved.Box.right)), 1);
    EXPECT_EQ(moved.Box.bottom - moved.Box.top, centred.Box.bottom - centred.Box.top);
    EXPECT_LE(std::abs(moved.Box.top - centred.Box.top), 1) << "both rectangles have their middle at 11.5";

    // Every move puts the text rectangle back on the whole button.
    Button->SetLeft(30);
    EXPECT_EQ(Ink().Box.left, centred.Box.left);
}

TEST_F(KsCaptionTest, TheCaptionColourFollowsTheState)
{
    Button->FontColors()->SetColor(fcSunken, clRed);
    Send(*Button, WM_LBUTTONDOWN, MK_LBUTTON, 40, 10);
    EXPECT_PRED2(Near, Ink().Color, clRed);
    Send(*Button, WM_LBUTTONUP, 0, 40, 10);
    EXPECT_PRED2(Near, Ink().Color, TextColor) << "focused, no focused colour: the font's";

    Button->FontColors()->SetColor(fcFocused, clLime);
    EXPECT_PRED2(Near, Ink().Color, clLime) << "redrawn at once";

    // Disabled without a disabled picture: the raised one, in grey text.
    Button->SetEnabled(false);
    EXPECT_PRED2(Near, Ink().Color, static_cast<TColor>(ColorToRGB(clGrayText)));
    Button->FontColors()->SetColor(fcDisabled, clBlue);
    EXPECT_PRED2(Near, Ink().Color, clBlue);
    Button->SetEnabled(true);
    EXPECT_PRED2(Near, Ink().Color, TextColor);

    // The font's own handler still runs after the button redraws.
    EXPECT_FALSE(Button->ParentFont());
    Button->SetParentFont(true);
    Form->Font()->SetColor(clYellow);
    EXPECT_EQ(Button->Font()->Color(), clYellow);
    EXPECT_PRED2(Near, Ink().Color, clYellow);
    Button->Font()->SetColor(clAqua);
    EXPECT_PRED2(Near, Ink().Color, clAqua);
    EXPECT_FALSE(Button->ParentFont());

    Button->SetCaption("A much longer caption");
    EXPECT_GT(Ink().Box.right - Ink().Box.left, 40);
}

TEST_F(KsFormTest, RecordsAreCopiedAndTellTheirOwnerOnce)
{
    auto* a = Place<KsButtonTx>(0, 0);
    auto* b = Place<KsButtonTx>(0, 40);
    Skin(*a, 20, 10);
    KsFourStateAppearance* own = b->Appearance();
    SetObjectProp(*b, "Appearance", a->Appearance());
    EXPECT_EQ(b->Appearance(), own) << "copied, not adopted";
    EXPECT_EQ(b->Width(), 20);
    EXPECT_EQ(PixelOf(b->GetBitmap(ksFocused)->Canvas(), 3, 3), FocusedColor);
    Fill24(*a->GetBitmap(ksFocused), 20, 10, clRed);
    EXPECT_EQ(PixelOf(b->GetBitmap(ksFocused)->Canvas(), 3, 3), FocusedColor);
    b->SetAppearance(a->Appearance());
    EXPECT_EQ(PixelOf(b->GetBitmap(ksFocused)->Canvas(), 3, 3), clRed);
    EXPECT_EQ(b->Appearance(), own);

    // Drawing on the bitmap an appearance hands out changes the picture shown.
    Fill24(*a->Appearance()->RaisedBmp(), 20, 10, clNavy);
    EXPECT_EQ(ShownAt(*a), clNavy);

    int changes = 0;
    b->FontColors()->OnChange = [&](TObject*) { ++changes; };
    b->FontColors()->SetColor(fcFocused, clRed);
    b->FontColors()->SetColor(fcFocused, clRed);
    EXPECT_EQ(changes, 1);
    a->FontColors()->SetColor(fcSunken, clGreen);
    SetObjectProp(*b, "FontColors", a->FontColors());
    EXPECT_EQ(changes, 2) << "one notification for the whole copy";
    EXPECT_EQ(b->FontColors()->GetColor(fcSunken), clGreen);
    EXPECT_EQ(b->FontColors()->GetColor(fcFocused), -1);
    SetObjectProp(*b, "FontColors", a->FontColors());
    EXPECT_EQ(changes, 3) << "also when nothing differed";
    EXPECT_THROW(SetObjectProp(*b, "FontColors", a->Appearance()), EPropertyError);
}

TEST_F(KsFormTest, LoadingPicturesFromFilesKeepsThemAllWhenOneFails)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string dir = std::string(folder) + "KsSkin";
    CreateDirectoryA(dir.c_str(), nullptr);
    SolidBitmap(12, 8, RaisedColor)->SaveToFile(dir + "\\n.bmp");
    SolidBitmap(12, 8, FocusedColor)->SaveToFile(dir + "\\o.bmp");

    auto* button = Place<KsButton>(0, 0);
    Skin(*button, 30, 10);
    EXPECT_TRUE(button->LoadBitmap(dir, "n.bmp", "", "o.bmp", ""));
    EXPECT_EQ(button->Width(), 12);
    EXPECT_EQ(PixelOf(button->GetBitmap(ksFocused)->Canvas(), 1, 1), FocusedColor);
    EXPECT_EQ(button->GetBitmap(ksSunken)->Width(), 30) << "an empty name keeps its picture";

    EXPECT_THROW(button->LoadBitmap(dir + "\\", "o.bmp", "", "missing.bmp", ""), Exception);
    EXPECT_EQ(PixelOf(button->GetBitmap(ksRaised)->Canvas(), 1, 1), RaisedColor);
    EXPECT_THROW(button->LoadBitmap("", "n.bmp", "", "", ""), ERangeError);

    DeleteFileA((dir + "\\n.bmp").c_str());
    DeleteFileA((dir + "\\o.bmp").c_str());
    RemoveDirectoryA(dir.c_str());
}

namespace {

// A form with two text buttons, made in code.
TForm* TwoButtonForm()
{
    TForm* form = New<TForm>(nullptr);
    form->SetName("Gallery");
    form->SetBounds(0, 0, 300, 160);
    auto* yes = new KsButtonTx(form);
    yes->SetName("Yes");
    yes->SetParent(form);
    yes->SetBounds(20, 108, 97, 23);
    Skin(*yes, 97, 23, {0xE4E2E0, 0x303030, 0x808080, -1});
    Put24(*yes->GetBitmap(ksRaised), 0, 0, 0xE4E2E0 ^ 1);
    yes->SetTransparentColor(15000288);
    yes->SetCaption("Yes");
    yes->SetTabOrder(0);
    yes->SetModalResult(mrYes);
    yes->SetCursor(crHandPoint);
    yes->FontColors()->SetColor(fcFocused, clRed);
    auto* menu = new TPopupMenu(form);
    menu->SetName("Menu1");
    yes->SetPopupMenu(menu);
    yes->SetDragMode(dmAutomatic);
    yes->SetDragKind(dkDock);
    yes->SetDragCursor(crNo);
    yes->SetAnchors(TAnchors{akLeft, akRight});
    yes->SetHint("Says yes");
    yes->SetShowHint(true);
    yes->SetHelpContext(12);
    auto* no = new KsButtonTx(form);
    no->SetName("No");
    no->SetParent(form);
    no->SetBounds(167, 108, 97, 23);
    Skin(*no, 97, 23, {KeyColor, SunkenColor, FocusedColor, DisabledColor});
    Put24(*no->GetBitmap(ksRaised), 5, 5, RaisedColor);
    no->SetTransparent(true);
    no->SetCaption("It's 'No'");
    no->Font()->SetColor(clNavy);
    no->SetEnabled(false);
    no->SetTabStop(true);
    no->SetShowMouseOver(false);
    return form;
}

// Counts the windows made while a form file is still being read.
int WindowsMadeWhileReading = 0;

class KsWatchedButton : public KsButtonTx {
    PLATFORM_CLASS(KsWatchedButton, KsButtonTx)
public:
    using KsButtonTx::KsButtonTx;

protected:
    void CreateHandle() override
    {
        if (ComponentState().Contains(csReading))
            ++WindowsMadeWhileReading;
        inherited::CreateHandle();
    }
};

const TClassInfo& KsWatchedButton::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<KsWatchedButton, KsButtonTx>("KsWatchedButton").Build();
    return info;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

TEST(KsStreaming, AFormWithTwoButtonsReadsWritesAndReadsAgainToTheSameBytes)
{
    Application->Initialize();
    RegisterKsPackage();
    TForm* original = TwoButtonForm();
    const std::string text = WriteComponentText(original);
    FreeAndNil(original);

    for (const char* expected : {"object Yes: KsButtonTx", "Appearance.RaisedBmp.Data = {", "Appearance.FocusedBmp.Data",
                                 "FontColors.Focused = clRed", "ModalResult = 6", "TransparentColor = 15000288",
                                 "Caption = 'It''s ''No'''", "Font.Color = clNavy", "Enabled = False",
                                 "ShowMouseOver = False", "Transparent = True", "Cursor = crHandPoint",
                                 "PopupMenu = Menu1", "DragMode = dmAutomatic", "DragKind = dkDock",
                                 "DragCursor = crNo", "Anchors = [akLeft, akRight]", "Hint = 'Says yes'",
                                 "ShowHint = True", "HelpContext = 12", "TabOrder = 0", "TabStop = True"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    // Defaults are not written.
    for (const char* absent : {"FontColors.Sunken", "Transparent = False", "ShowMouseOver = True"})
        EXPECT_EQ(text.find(absent), std::string::npos) << absent;

    TForm* read = New<TForm>(nullptr);
    ReadComponentText(read, text);
    EXPECT_FALSE(read->HandleAllocated()) << "reading creates no window";
    auto* no = dynamic_cast<KsButtonTx*>(read->FindComponent("No"));
    ASSERT_NE(no, nullptr);
    EXPECT_FALSE(no->HandleAllocated());
    EXPECT_EQ(WriteComponentText(read), text);
    auto* yes = dynamic_cast<KsButtonTx*>(read->FindComponent("Yes"));
    ASSERT_NE(yes, nullptr);
    EXPECT_EQ(yes->PopupMenu(), read->FindComponent("Menu1"));

    // The state bitmaps were read into the live pictures: the disabled
    // button shows its own disabled picture, the size and shape follow.
    EXPECT_EQ(Shown(*no), "disabled");
    EXPECT_EQ(no->Width(), 97);
    EXPECT_FALSE(no->IsInside(0, 0));
    EXPECT_TRUE(no->IsInside(5, 5));
    read->Show();
    TWindowRegion region(no->Handle());
    EXPECT_FALSE(region.Contains(0, 0)) << "the region reaches the window once it exists";
    EXPECT_TRUE(region.Contains(5, 5));
    FreeAndNil(read);

    TForm* again = New<TForm>(nullptr);
    ReadComponentText(again, text);
    EXPECT_EQ(WriteComponentText(again), text);
    FreeAndNil(again);

    // A form shown by its form file shows once the whole file has been read.
    RegisterClasses({&KsWatchedButton::StaticClassInfo()});
    WindowsMadeWhileReading = 0;
    TForm* shown = New<TForm>(nullptr);
    ReadComponentText(shown, Replaced(Replaced(text, "object Gallery: TForm\r\n", "object Gallery: TForm\r\n  Visible = True\r\n"),
                                      ": KsButtonTx", ": KsWatchedButton"));
    EXPECT_EQ(WindowsMadeWhileReading, 0);
    ASSERT_TRUE(shown->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(shown->Handle()));
    auto* watched = dynamic_cast<KsWatchedButton*>(shown->FindComponent("No"));
    ASSERT_NE(watched, nullptr);
    ASSERT_TRUE(watched->HandleAllocated());
    EXPECT_FALSE(TWindowRegion(watched->Handle()).Contains(0, 0));
    EXPECT_TRUE(TWindowRegion(watched->Handle()).Contains(5, 5));
    FreeAndNil(shown);
}

namespace {

// A form that binds every event a button publishes to a handler that notes it.
class TButtonForm : public TForm {
    PLATFORM_CLASS(TButtonForm, TForm)
public:
    explicit TButtonForm(TComponent* AOwner) : TForm(AOwner) {}

    void Notify(TObject*) { Events.push_back("notify"); }
    void ContextPopup(TObject*, TPoint, bool&) { Events.push_back("context"); }
    void DragOver(TObject*, TObject*, int, int, TDragState, bool&) { Events.push_back("over"); }
    void DragDrop(TObject*, TObject*, int, int) { Events.push_back("drop"); }
    void EndDrag(TObject*, TObject*, int, int) { Events.push_back("end"); }
    void StartDrag(TObject*, TDragObject*&) { Events.push_back("start"); }
    void Key(TObject*, WORD&, TShiftState) { Events.push_back("key"); }
    void KeyPress(TObject*, char&) { Events.push_back("press"); }
    void Mouse(TObject*, TMouseButton, TShiftState, int, int) { Events.push_back("mouse"); }
    void MouseMove(TObject*, TShiftState, int, int) { Events.push_back("move"); }

    TPopupMenu* Menu1 = nullptr;
    TAction* Action1 = nullptr;
    KsButton* Plain = nullptr;
    KsButtonTx* Texted = nullptr;
    std::vector<std::string> Events;
};

const TClassInfo& TButtonForm::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TButtonForm, TForm>("TButtonForm")
        .Field("Menu1", &TButtonForm::Menu1)
        .Field("Action1", &TButtonForm::Action1)
        .Field("Plain", &TButtonForm::Plain)
        .Field("Texted", &TButtonForm::Texted)
        .Method("Notify", &TButtonForm::Notify)
        .Method("ContextPopup", &TButtonForm::ContextPopup)
        .Method("DragOver", &TButtonForm::DragOver)
        .Method("DragDrop", &TButtonForm::DragDrop)
        .Method("EndDrag", &TButtonForm::EndDrag)
        .Method("StartDrag", &TButtonForm::StartDrag)
        .Method("Key", &TButtonForm::Key)
        .Method("KeyPress", &TButtonForm::KeyPress)
        .Method("Mouse", &TButtonForm::Mouse)
        .Method("MouseMove", &TButtonForm::MouseMove)
        .Build();
    return info;
}

// The text with CR LF line ends, as form files are written.
std::string WithCrLf(const std::string& Text)
{
    std::string result;
    for (char c : Text)
        result += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return result;
}

// One of the two buttons as a form file holds it, with every property the
// designer shows away from its default and every event bound; Own is what
// only its class shows.
std::string ButtonObject(const std::string& Declaration, int Tag, int Left, int HelpContext, int ModalResult,
                         int TabOrder, const std::string& Own = "")
{
    const auto line = [](const char* Name, int Value) { return "    " + std::string(Name) + " = " +
                                                             std::to_string(Value) + "\n"; };
    return "  object " + Declaration + "\n" + line("Tag", Tag) + line("Left", Left) + R"(    Top = 8
    Width = 2
    Height = 2
    Cursor = crHandPoint
    Hint = 'Says yes')"
           "\n" + line("HelpContext", HelpContext) + R"(    OnMouseEnter = Notify
    OnMouseLeave = Notify
    TransparentColor = clLime
    Transparent = True
    Appearance.RaisedBmp.Data = {
      46000000424D4600000000000000360000002800000002000000020000000100
      1800000000001000000000000000000000000000000000000000405060405060
      00004050604050600000}
    Appearance.SunkenBmp.Data = {
      46000000424D4600000000000000360000002800000002000000020000000100
      1800000000001000000000000000000000000000000000000000102030102030
      00001020301020300000}
    Appearance.FocusedBmp.Data = {
      46000000424D4600000000000000360000002800000002000000020000000100
      180000000000100000000000000000000000000000000000000060A0C060A0C0
      000060A0C060A0C00000}
    Appearance.DisabledBmp.Data = {
      46000000424D4600000000000000360000002800000002000000020000000100
      1800000000001000000000000000000000000000000000000000909090909090
      00009090909090900000})"
           "\n" + line("ModalResult", ModalResult) + R"(    ShowMouseOver = False
    Action = Action1
    Anchors = [akLeft, akBottom]
    DragCursor = crNo
    DragKind = dkDock
    DragMode = dmAutomatic
    Enabled = False
    ParentShowHint = False
    PopupMenu = Menu1
    ShowHint = True)"
           "\n" + line("TabOrder", TabOrder) + R"(    TabStop = True
    Visible = False
    OnClick = Notify
    OnContextPopup = ContextPopup
    OnDragDrop = DragDrop
    OnDragOver = DragOver
    OnEndDock = EndDrag
    OnEndDrag = EndDrag
    OnEnter = Notify
    OnExit = Notify
    OnKeyDown = Key
    OnKeyPress = KeyPress
    OnKeyUp = Key
    OnMouseDown = Mouse
    OnMouseMove = MouseMove
    OnMouseUp = Mouse
    OnStartDock = StartDrag
    OnStartDrag = StartDrag)"
           "\n" + Own + "  end\n";
}

// The two buttons on a form, as the designer writes it.
const std::string EveryButtonProperty = WithCrLf(R"(object ButtonForm: TButtonForm
  Left = 0
  Top = 0
  Width = 308
  Height = 227
  Color = clBtnFace
  ClientWidth = 300
  ClientHeight = 200
)" + ButtonObject("Plain: KsButton", 7, 8, 12, 2, 1) +
                                                  ButtonObject("Texted: KsButtonTx", 8, 108, 13, 3, 0, R"(    Font.Color = clNavy
    Caption = 'Go'
    FontColors.Focused = clRed
)") + R"(  object Menu1: TPopupMenu
  end
  object Action1: TAction
    Caption = 'Go'
    Enabled = False
    Hint = 'Says yes'
    Visible = False
  end
end
)");

// The block of one object of a form file, from its "object" line to its "end".
std::string ObjectBlock(const std::string& Text, const std::string& Name)
{
    const size_t start = Text.find("  object " + Name + ":");
    return start == std::string::npos ? std::string() : Text.substr(start, Text.find("\r\n  end\r\n", start) - start);
}

} // namespace

// A form file that sets every property the designer shows reads onto the
// buttons and writes back to the same bytes; what the designer shows is
// exactly what the file may set, and anything else in a file is refused.
TEST(KsStreaming, EveryPublishedPropertyReadsFromAFormFileOntoTheButtonsAndBack)
{
    Application->Initialize();
    RegisterKsPackage();
    RegisterKsPackage();
    RegisterClasses({&TAction::StaticClassInfo()});
    EXPECT_EQ(PaletteComponents("KsComponents").front(), &KsButton::StaticClassInfo());
    EXPECT_EQ(PaletteComponents("KsComponentsTx").front(), &KsButtonTx::StaticClassInfo());

    auto* form = New<TButtonForm>(nullptr);
    ReadComponentText(form, EveryButtonProperty);
    EXPECT_EQ(WriteComponentText(form), EveryButtonProperty);

    for (KsButton* button : {form->Plain, static_cast<KsButton*>(form->Texted)}) {
        ASSERT_NE(button, nullptr);
        SCOPED_TRACE(button->Name());
        EXPECT_EQ(button->Tag(), button == form->Plain ? 7 : 8);
        EXPECT_EQ(button->Left(), button == form->Plain ? 8 : 108);
        EXPECT_EQ(button->Width(), 2);
        EXPECT_EQ(button->Cursor(), crHandPoint);
        EXPECT_EQ(button->Hint(), "Says yes");
        EXPECT_EQ(button->HelpContext(), button == form->Plain ? 12 : 13);
        EXPECT_EQ(button->GetTransparentColor(), clLime);
        EXPECT_TRUE(button->GetTransparent());
        EXPECT_EQ(PixelOf(button->GetBitmap(ksRaised)->Canvas(), 1, 1), RaisedColor);
        EXPECT_EQ(PixelOf(button->GetBitmap(ksSunken)->Canvas(), 1, 1), SunkenColor);
        EXPECT_EQ(PixelOf(button->GetBitmap(ksFocused)->Canvas(), 1, 1), FocusedColor);
        EXPECT_EQ(Shown(*button), "disabled");
        EXPECT_EQ(button->ModalResult(), button == form->Plain ? mrCancel : mrAbort);
        EXPECT_FALSE(button->ShowMouseOver());
        EXPECT_EQ(button->Action(), form->Action1);
        EXPECT_EQ(button->Anchors(), (TAnchors{akLeft, akBottom}));
        EXPECT_EQ(button->DragCursor(), crNo);
        EXPECT_EQ(button->DragKind(), dkDock);
        EXPECT_EQ(button->DragMode(), dmAutomatic);
        EXPECT_FALSE(button->Enabled());
        EXPECT_FALSE(button->ParentShowHint());
        EXPECT_EQ(button->PopupMenu(), form->Menu1);
        EXPECT_TRUE(button->ShowHint());
        EXPECT_EQ(button->TabOrder(), button == form->Plain ? 1 : 0);
        EXPECT_TRUE(button->TabStop());
        EXPECT_FALSE(button->Visible());

        // Each bound event reaches the form's handler.
        form->Events.clear();
        TPoint at{1, 1};
        bool handled = false, accept = false;
        WORD key = VK_SPACE;
        char typed = ' ';
        TDragObject* dragged = nullptr;
        button->OnClick(button);
        button->OnContextPopup(button, at, handled);
        button->OnDragDrop(button, button, 1, 1);
        button->OnDragOver(button, button, 1, 1, dsDragMove, accept);
        button->OnEndDock(button, nullptr, 1, 1);
        button->OnEndDrag(button, nullptr, 1, 1);
        button->OnEnter(button);
        button->OnExit(button);
        button->OnKeyDown(button, key, TShiftState());
        button->OnKeyPress(button, typed);
        button->OnKeyUp(button, key, TShiftState());
        button->OnMouseDown(button, mbLeft, TShiftState(), 1, 1);
        button->OnMouseMove(button, TShiftState(), 1, 1);
        button->OnMouseUp(button, mbLeft, TShiftState(), 1, 1);
        button->OnStartDock(button, dragged);
        button->OnStartDrag(button, dragged);
        button->OnMouseEnter(button);
        button->OnMouseLeave(button);
        EXPECT_EQ(form->Events, (std::vector<std::string>{"notify", "context", "drop", "over", "end", "end", "notify",
                                                           "notify", "key", "press", "key", "mouse", "move", "mouse",
                                                           "start", "start", "notify", "notify"}));
    }
    EXPECT_EQ(form->Texted->Caption(), "Go");
    EXPECT_EQ(form->Texted->Font()->Color(), clNavy);
    EXPECT_EQ(form->Texted->FontColors()->GetColor(fcFocused), clRed);
    form->Free();

    // The designer shows a property exactly when the file above sets it on
    // that button: nothing published is left out of the file, nothing more is published.
    const auto shows = [](const TClassInfo& Info, const std::string& Block) {
        for (const TPropInfo* property : Info.PublishedProperties()) {
            const std::string name = property->Name;
            const bool set = name == "Name" ? Block.find("  object ") == 0
                                            : Block.find("\n    " + name + " = ") != std::string::npos ||
                                                  Block.find("\n    " + name + ".") != std::string::npos;
            EXPECT_TRUE(set) << Info.Name << " publishes " << name << ", which the form file does not set";
        }
    };
    shows(KsButton::StaticClassInfo(), ObjectBlock(EveryButtonProperty, "Plain"));
    shows(KsButtonTx::StaticClassInfo(), ObjectBlock(EveryButtonProperty, "Texted"));

    // A file that sets what the designer does not show for a button is refused.
    const auto refused = [](const std::string& Class, const std::string& Line) {
        auto* other = New<TForm>(nullptr);
        const std::string text = "object F: TForm\n  object B: " + Class + "\n    " + Line + "\n  end\nend\n";
        EXPECT_THROW(ReadComponentText(other, text), EReadError) << Class << ": " << Line;
        other->Free();
    };
    for (const char* line : {"Caption = 'Go'", "Font.Color = clNavy", "FontColors.Focused = clRed",
                             "ClicksDisabled = True", "OnDblClick = Notify"})
        refused("KsButton", line);
    for (const char* line : {"ClicksDisabled = True", "Color = clRed", "ParentFont = False"})
        refused("KsButtonTx", line);
}

// Running out of memory at any point of making a button frees everything
// made so far.
TEST(KsButtonConstruction, RunningOutOfMemoryFreesWhatWasMade)
{
    EXPECT_EQ(FirstLeakingFailure([] { (new KsButton(nullptr))->Free(); }), -1);
    EXPECT_EQ(FirstLeakingFailure([] { (new KsButtonTx(nullptr))->Free(); }), -1);
}
