// Form files with one of each control of the package, and the palette.
#include "KsPackageTesting.h"
#include "KsPackage/Source/KsBar.h"
#include "KsPackage/Source/KsBrickTx.h"
#include "KsPackage/Source/KsCheckBoxTx.h"
#include "KsPackage/Source/KsNumLED.h"
#include "KsPackage/Source/KsPanel.h"
#include "KsPackage/Source/KsRadioButton.h"
#include "KsPackage/Source/KsRegister.h"
#include "platform/FormFile.h"

#include <set>

using namespace platform;

namespace {

template <class C>
C* Add(TWinControl* Parent, const char* Name, int Left, int Top)
{
    C* control = new C(Parent->Owner() ? Parent->Owner() : Parent);
    control->SetName(Name);
    control->SetParent(Parent);
    control->SetBounds(Left, Top, 30, 16);
    return control;
}

void SkinEvery(KsCustomControl& Control, int Width, int Height)
{
    for (int i = 0; i < Control.BitmapCount(); ++i)
        Control.SetBitmap(SolidBitmap(Width, Height, static_cast<TColor>(0x102030 + 0x0F0F0F * i)).get(), i);
}

TForm* EveryControlForm()
{
    TForm* form = New<TForm>(nullptr);
    form->SetName("Families");
    form->SetBounds(0, 0, 320, 240);
    auto* panel = Add<KsPanel>(form, "Panel1", 0, 0);
    panel->SetBounds(0, 0, 300, 200);

    auto* box = Add<KsCheckBox>(panel, "Box", 4, 4);
    SkinEvery(*box, 16, 16);
    box->SetAllowGrayed(true);
    box->SetState(cbGrayed);
    auto* boxTx = Add<KsCheckBoxTx>(panel, "BoxTx", 40, 4);
    SkinEvery(*boxTx, 60, 16);
    boxTx->SetCaption("Sound");
    boxTx->SetChecked(true);
    boxTx->FontColors()->Check()->SetColor(fcRaised, clRed);
    boxTx->FontColors()->Uncheck()->SetColor(fcDisabled, clGray);
    auto* radio = Add<KsRadioButton>(panel, "Radio", 4, 30);
    SkinEvery(*radio, 14, 14);
    radio->SetChecked(true);
    radio->SetClicksDisabled(true);
    auto* brick = Add<KsBrick>(form, "Brick", 4, 60);
    SkinEvery(*brick, 20, 10);
    auto* brickTx = Add<KsBrickTx>(form, "BrickTx", 40, 60);
    SkinEvery(*brickTx, 50, 12);
    brickTx->SetCaption("Level");
    brickTx->FontColors()->SetColor(fcFocused, clBlue);
    auto* bar = Add<KsBar>(form, "Bar", 4, 90);
    SkinEvery(*bar, 100, 12);
    bar->SetIndicator(SolidBitmap(6, 10, clRed).get());
    bar->Origin()->SetX(10);
    bar->Origin()->SetY(6);
    bar->SetLength(80);
    bar->SetScrollPos(33);
    bar->SetKind(sbVertical);
    auto* led = Add<KsNumLed>(form, "Led", 4, 120);
    led->SetFormat("8888");
    led->SetBounds(4, 120, 200, 50);
    led->SetKeepRatio(true);
    led->LedColors()->SetLightColor(clYellow);
    led->SetZeroLeading(true);
    return form;
}

} // namespace

TEST(KsStreaming, AFormWithOneOfEachControlReadsAndWritesToTheSameBytes)
{
    Application->Initialize();
    RegisterKsPackage();
    TForm* original = EveryControlForm();
    const std::string text = WriteComponentText(original);
    FreeAndNil(original);

    for (const char* expected :
         {"object Box: KsCheckBox", "AllowGrayed = True", "State = cbGrayed", "Appearance.Check.RaisedBmp.Data = {",
          "Appearance.Uncheck.SunkenBmp.Data = {", "Appearance.Gray.DisabledBmp.Data = {", "Checked = True",
          "FontColors.Check.Raised = clRed", "FontColors.Uncheck.Disabled = clGray", "Caption = 'Sound'",
          "object Radio: KsRadioButton", "ClicksDisabled = True", "Appearance.Uncheck.FocusedBmp.Data = {",
          "Appearance.NormalBmp.Data = {", "Appearance.DisabledBmp.Data = {", "FontColors.Focused = clBlue",
          "Indicator.Data = {", "Origin.X = 10", "Origin.Y = 6", "Length = 80", "ScrollPos = 33",
          "Kind = sbVertical", "object Led: KsNumLed", "Format = '8888'", "KeepRatio = True", "Width = 163",
          "ZeroLeading = True", "LedColors.LightColor = clYellow", "LedColors.DarkColor = 4072974",
          "object Panel1: KsPanel"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    for (const char* absent : {"DesignTimeVisible", "Type = ", "Style = ", "FontColors.Check.Sunken",
                               "LedColors.BackgroundColor", "Transparent = "})
        EXPECT_EQ(text.find(absent), std::string::npos) << absent;

    TForm* read = New<TForm>(nullptr);
    ReadComponentText(read, text);
    EXPECT_EQ(WriteComponentText(read), text);
    auto* box = dynamic_cast<KsCheckBox*>(read->FindComponent("Box"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->State(), cbGrayed);
    EXPECT_EQ(ShownAt(*box), static_cast<TColor>(0x102030 + 0x0F0F0F * 8)) << "grayed, raised";
    auto* bar = dynamic_cast<KsBar*>(read->FindComponent("Bar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(RectText(bar->Controls(1)->BoundsRect()), RectText(Rect(7, 34, 13, 44)));
    auto* led = dynamic_cast<KsNumLed*>(read->FindComponent("Led"));
    ASSERT_NE(led, nullptr);
    EXPECT_EQ(RectText(led->BoundsRect()), RectText(Rect(4, 120, 167, 170))) << "no pixel lost in the reading";
    EXPECT_EQ(led->Height(), led->Imp()->GetLayer()->Height());
    EXPECT_EQ(led->Imp()->GetLayer()->Image()->Parent(), read);
    FreeAndNil(read);
}

TEST(KsStreaming, EveryControlIsOnItsPalettePage)
{
    RegisterKsPackage();
    const std::vector<const TClassInfo*> plain{&KsButton::StaticClassInfo(), &KsCheckBox::StaticClassInfo(),
                                               &KsRadioButton::StaticClassInfo(), &KsBrick::StaticClassInfo(),
                                               &KsPanel::StaticClassInfo(),    &KsBar::StaticClassInfo(),
                                               &KsNumLed::StaticClassInfo()};
    EXPECT_EQ(PaletteComponents("KsComponents"), plain);
    EXPECT_EQ(PaletteComponents("KsComponentsTx"),
              (std::vector<const TClassInfo*>{&KsButtonTx::StaticClassInfo(), &KsCheckBoxTx::StaticClassInfo(),
                                              &KsBrickTx::StaticClassInfo()}));

    // Bricks keep ClicksDisabled to themselves; check boxes have no OnDblClick.
    auto published = [](const TClassInfo& info) {
        std::set<std::string> names;
        for (const TPropInfo* property : info.PublishedProperties())
            names.insert(property->Name);
        return names;
    };
    EXPECT_FALSE(published(KsBrick::StaticClassInfo()).contains("ClicksDisabled"));
    EXPECT_TRUE(published(KsBrick::StaticClassInfo()).contains("OnDblClick"));
    EXPECT_FALSE(published(KsCheckBox::StaticClassInfo()).contains("OnDblClick"));
    EXPECT_TRUE(published(KsRadioButton::StaticClassInfo()).contains("OnDblClick"));
    EXPECT_TRUE(published(KsBar::StaticClassInfo()).contains("OnIndicate"));
    EXPECT_TRUE(published(KsCheckBoxTx::StaticClassInfo()).contains("FontColors"));
    EXPECT_TRUE(published(KsNumLed::StaticClassInfo()).contains("OnClick"));
    EXPECT_FALSE(published(KsNumLed::StaticClassInfo()).contains("TabStop"));
}
