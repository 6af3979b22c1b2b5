#include "FormFixture.h"

#include "components/Calendar.h"
#include "components/ColorGrid.h"
#include "components/DirOutline.h"
#include "components/Gauge.h"
#include "components/PerfGraph.h"
#include "components/Samples.h"
#include "components/Spin.h"
#include "platform/FormFile.h"

using namespace platform;
using namespace components;

namespace {

std::string WithCrLf(const std::string& Text)
{
    std::string result;
    for (char c : Text)
        result += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return result;
}

// Every published property away from its default, as a form file holds it
// (with CR LF line ends).
const std::string AllSeven = WithCrLf(R"(object Samples: TForm
  Left = 0
  Top = 0
  Width = 500
  Height = 300
  Color = clBtnFace
  ClientWidth = 492
  ClientHeight = 273
  object Calendar1: TCalendar
    Left = 8
    Top = 8
    Width = 280
    Height = 140
    Color = clInfoBk
    TabOrder = 0
    TabStop = True
    Year = 2024
    Month = 2
    Day = 29
    UseCurrentDate = False
    StartOfWeek = 1
    ReadOnly = True
  end
  object Outline1: TDirectoryOutline
    Left = 296
    Top = 8
    Width = 190
    Height = 140
    Color = clWindow
    TabOrder = 1
    TabStop = True
    Directory = 'C:\windows'
    TextCase = tcLowerCase
  end
  object Gauge1: TGauge
    Left = 8
    Top = 156
    Width = 120
    Height = 40
    ParentFont = False
    Font.Color = clRed
    Font.Style = [fsBold]
    Kind = gkNeedle
    BorderStyle = bsNone
    ForeColor = clNavy
    BackColor = clYellow
    MinValue = 200
    MaxValue = 500
    Progress = 350
    ShowText = False
  end
  object ColorGrid1: TColorGrid
    Left = 136
    Top = 156
    Width = 160
    Height = 40
    TabOrder = 2
    TabStop = True
    GridOrdering = go8x2
    ForegroundIndex = 4
    BackgroundIndex = 9
    BackgroundEnabled = False
    ClickEnablesColor = True
  end
  object SpinButton1: TSpinButton
    Left = 304
    Top = 156
    Width = 20
    Height = 30
    TabOrder = 3
    Orientation = soHorizontal
    FocusControl = SpinEdit1
  end
  object SpinEdit1: TSpinEdit
    Left = 332
    Top = 156
    Width = 80
    Height = 22
    Color = clWindow
    TabOrder = 4
    TabStop = True
    EditorEnabled = False
    Increment = 5
    MinValue = -100
    MaxValue = -10
    Value = -20
  end
  object Graph1: TPerformanceGraph
    Left = 8
    Top = 204
    Width = 400
    Height = 60
    Color = clBlack
    GridColor = clLime
    GridSize = 8
    Step = 3
    Scale = 250
    AutoScale = True
  end
end
)");

} // namespace

class SamplesForm : public FormFixture {};

TEST_F(SamplesForm, TheSevenAreOnTheirPaletteAndAFormOfThemReadsBackToTheSameBytes)
{
    RegisterSamples();
    RegisterSamples();
    const std::vector<const TClassInfo*> page = PaletteComponents(SamplesPage);
    std::vector<std::string> names;
    for (const TClassInfo* info : page)
        names.push_back(info->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"TCalendar", "TDirectoryOutline", "TGauge", "TColorGrid",
                                                "TSpinButton", "TSpinEdit", "TPerformanceGraph"}));

    const TOwned<TForm> form(New<TForm>(nullptr));
    ReadComponentText(form.get(), AllSeven);
    const std::string written = WriteComponentText(form.get());
    EXPECT_EQ(written, AllSeven);

    auto* calendar = dynamic_cast<TCalendar*>(form->FindComponent("Calendar1"));
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->Day(), 29);
    EXPECT_TRUE(calendar->ReadOnly());
    auto* gauge = dynamic_cast<TGauge*>(form->FindComponent("Gauge1"));
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->Progress(), 350);
    EXPECT_EQ(gauge->Font()->Color(), clRed);
    auto* spin = dynamic_cast<TSpinEdit*>(form->FindComponent("SpinEdit1"));
    auto* buttons = dynamic_cast<TSpinButton*>(form->FindComponent("SpinButton1"));
    ASSERT_NE(spin, nullptr);
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(spin->Text(), "-20");
    EXPECT_EQ(buttons->FocusControl(), spin);
    auto* outline = dynamic_cast<TDirectoryOutline*>(form->FindComponent("Outline1"));
    ASSERT_NE(outline, nullptr);
    EXPECT_EQ(outline->Directory(), "C:\\windows");
}

TEST_F(SamplesForm, DefaultsAreNotWrittenAndABadRangeInAFormFileIsRefused)
{
    RegisterSamples();
    auto* form = New<TForm>(nullptr);
    ReadComponentText(form, "object F: TForm\n  object G: TGauge\n  end\n  object C: TCalendar\n  end\nend\n");
    const std::string written = WriteComponentText(form);
    EXPECT_EQ(written.find("Progress"), std::string::npos);
    EXPECT_EQ(written.find("Year"), std::string::npos); // today's date is not stored
    form->Free();

    auto* bad = New<TForm>(nullptr);
    EXPECT_THROW(ReadComponentText(bad, "object F: TForm\n  object G: TGauge\n    MinValue = 9\n    MaxValue = 9\n"
                                        "  end\nend\n"),
                 Exception);
    bad->Free();
}

// A sample takes its disabled look from its parents as well as from itself:
// the spin edit's own buttons, and every sample on a disabled form.
TEST_F(SamplesForm, ADisabledParentGreysTheSamples)
{
    auto* spin = Place<TSpinEdit>(10, 10, 80, 22);
    TSpinButton* buttons = spin->Button();
    const TRect face = Rect(0, 0, buttons->Width(), buttons->Height());
    EXPECT_GT(CountPixels(buttons, face, clBtnText), 3);
    spin->SetEnabled(false);
    EXPECT_EQ(CountPixels(buttons, face, clBtnText), 0);
    EXPECT_GT(CountPixels(buttons, face, clGrayText), 3);
    spin->SetEnabled(true);

    auto* gauge = Place<TGauge>(10, 40, 102, 22);
    gauge->SetForeColor(clRed);
    gauge->SetShowText(false);
    gauge->SetProgress(50);
    auto* calendar = Place<TCalendar>(120, 10, 210, 120);
    auto* graph = Place<TPerformanceGraph>(10, 140, 100, 51);
    graph->AddSeries(clRed);
    graph->AddPoint(0, 50);
    graph->Advance();
    graph->Advance();
    const TRect gaugeFace = Rect(1, 1, 101, 21), days = Rect(0, 20, 210, 120);
    EXPECT_GT(CountPixels(gauge, gaugeFace, clRed), 500);
    EXPECT_GT(CountPixels(calendar, days, clHighlight), 100);
    EXPECT_EQ(Pixel(graph, 99, 25), RGB(255, 0, 0));

    Form->SetEnabled(false);
    EXPECT_EQ(CountPixels(buttons, face, clBtnText), 0);
    EXPECT_EQ(CountPixels(gauge, gaugeFace, clRed), 0);
    EXPECT_EQ(CountPixels(calendar, days, clHighlight), 0);
    EXPECT_EQ(Pixel(graph, 99, 25), ColorToRGB(clGray));
    Form->SetEnabled(true);
    EXPECT_GT(CountPixels(gauge, gaugeFace, clRed), 500);
    EXPECT_EQ(Pixel(graph, 99, 25), RGB(255, 0, 0));
}

// A folder the outline cannot show (not on a drive letter) is treated as a
// missing one: the form still reads, the outline at the current directory.
TEST_F(SamplesForm, AnOutlineNamingAFolderOffTheDrivesStillReads)
{
    RegisterSamples();
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    const TOwned<TForm> form(New<TForm>(nullptr));
    EXPECT_NO_THROW(ReadComponentText(
        form.get(), "object F: TForm\n  object O: TDirectoryOutline\n    Directory = '\\\\?\\C:\\windows'\n  end\nend\n"));
    auto* outline = dynamic_cast<TDirectoryOutline*>(form->FindComponent("O"));
    ASSERT_NE(outline, nullptr);
    EXPECT_EQ(outline->Directory(), current);
}
