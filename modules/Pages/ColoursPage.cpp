// Page\Colours.dll: the colour grid; the left button chooses the foreground
// colour and the right button the background colour, and "More..." any
// other colour in the system's colour dialog. Each colour stands beside the
// grid with a swatch and its value in the format chosen below them, which
// is what Copy puts on the clipboard. The colours and the format are kept
// in Tessel.ini, section "Colours".
#include "modules/Pages/ColoursData.h"
#include "modules/Suite/PageModule.h"
#include "modules/Suite/SuiteSettings.h"
#include "modules/Suite/SuiteSkin.h"
#include "modules/Suite/SuiteText.h"

#include "components/ColorGrid.h"
#include "platform/ClassBuilder.h"

using namespace platform;
using namespace components;

namespace tessel {

namespace {

const char* const Section = "Colours";
constexpr int Margin = 16, ColumnWidth = 250, SwatchSize = 40;

// A kept colour, or Default when the setting is missing or no plain colour.
TColor KeptColour(const char* Key, TColor Default)
{
    const int value = ReadSetting(Section, Key, Default);
    return value >= 0 && value <= 0xFFFFFF ? value : Default;
}

} // namespace

// One choice of a group: the system's radio button, which checks itself and
// clears the others beside it when the user picks it (a click or Space).
class TRadioChoice : public TWinControl {
    PLATFORM_CLASS(TRadioChoice, TWinControl)
public:
    explicit TRadioChoice(TComponent* AOwner) : TWinControl(AOwner) { SetTabStop(true); }

    bool Checked()
    {
        return HandleAllocated() ? SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED : FChecked;
    }
    void SetChecked(bool Value)
    {
        FChecked = Value;
        if (HandleAllocated())
            SendMessageA(Handle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    // Raised when the user picks this choice.
    TNotifyEvent OnChoose;

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TWinControl::CreateParams(Params);
        Params.BaseClassName = "BUTTON";
        Params.Style |= BS_AUTORADIOBUTTON;
    }

    void CreateHandle() override
    {
        TWinControl::CreateHandle();
        Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
        SetChecked(FChecked);
    }

    void Dispatch(TMessage& Message) override
    {
        switch (Message.Msg) {
        case WM_PAINT:
        case WM_ERASEBKGND:
            // The system control paints itself.
            DefaultHandler(Message);
            return;
        case CN_COMMAND:
            if (HIWORD(Message.WParam) == BN_CLICKED && OnChoose)
                OnChoose(this);
            return;
        case CN_CTLCOLORSTATIC: {
            // On the page's own background.
            HDC dc = reinterpret_cast<HDC>(Message.WParam);
            const COLORREF back = ColorToRGB(Parent() ? Parent()->Color() : Color());
            SetBkColor(dc, back);
            SetDCBrushColor(dc, back);
            Message.Result = reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
            return;
        }
        }
        TWinControl::Dispatch(Message);
    }

private:
    // Until the window exists, and then as the window says.
    bool FChecked = false;
};

const TClassInfo& TRadioChoice::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TRadioChoice, TWinControl>("TRadioChoice").Build();
    return info;
}

class TColoursView : public TPageView {
    PLATFORM_CLASS(TColoursView, TPageView)
public:
    explicit TColoursView(TComponent* AOwner) : TPageView(AOwner)
    {
        FColours[0] = KeptColour("Foreground", clBlack);
        FColours[1] = KeptColour("Background", clWhite);
        const int format = ReadSetting(Section, "Format", cfHex);
        FFormat = format >= 0 && format < ColourFormatCount ? static_cast<TColourFormat>(format) : cfHex;

        const int column = DesignWidth - Margin - ColumnWidth;
        FGrid = New<TColorGrid>(this);
        FGrid->SetParent(this);
        FGrid->SetBounds(Margin, Margin, column - 2 * Margin, DesignHeight - 2 * Margin);
        FGrid->SetAnchors({akLeft, akTop, akRight, akBottom});
        // A colour from the dialog hides its selection; a click brings it back.
        FGrid->SetClickEnablesColor(true);
        MatchGrid();
        FGrid->OnChange = [this](TObject*) {
            if (FGrid->ForegroundEnabled())
                FColours[0] = FGrid->ForegroundColor();
            if (FGrid->BackgroundEnabled())
                FColours[1] = FGrid->BackgroundColor();
            ColoursChanged();
        };

        const char* const titles[] = {"Foreground", "Background"};
        for (int side = 0; side < 2; ++side) {
            const int top = Margin + side * 72;
            TLabel* title = AddLabel(column, top, Tr(titles[side]));
            title->Font()->SetStyle({fsBold});
            auto* swatch = New<TPanel>(this);
            swatch->SetParent(this);
            swatch->SetBevelOuter(bvLowered);
            swatch->SetBounds(column, top + 20, SwatchSize, SwatchSize);
            FSwatch[side] = swatch;
            FValue[side] = AddLabel(column + SwatchSize + 8, top + 20, "");
            auto* copy = MakeSkinButton(this, Tr("Copy"), column + SwatchSize + 8, top + 38);
            copy->OnClick = [this, side](TObject*) { Copy(FColours[side]); };
            auto* more = MakeSkinButton(this, Tr("More..."), copy->Left() + copy->Width() + 4, top + 38);
            more->OnClick = [this, side](TObject*) { PickMore(side); };
            for (TControl* control : std::initializer_list<TControl*>{title, swatch, FValue[side], copy, more})
                control->SetAnchors({akTop, akRight});
        }

        AddLabel(column, Margin + 148, Tr("Copy as:"))->SetAnchors({akTop, akRight});
        for (int format = 0; format < ColourFormatCount; ++format) {
            auto* choice = New<TRadioChoice>(this);
            choice->SetParent(this);
            choice->SetBounds(column, Margin + 166 + format * 20, ColumnWidth, 20);
            choice->SetAnchors({akTop, akRight});
            choice->SetChecked(format == FFormat);
            choice->OnChoose = [this, format](TObject*) {
                FFormat = static_cast<TColourFormat>(format);
                WriteSettings(Section, {{"Format", format}});
                ShowColours();
            };
            FChoices[format] = choice;
        }
        FStatus = AddLabel(column, Margin + 232, "");
        FStatus->SetAnchors({akTop, akRight});
        ShowColours();
    }

private:
    // The grid marks the kept colours where they are among its sixteen.
    void MatchGrid()
    {
        for (int side = 0; side < 2; ++side) {
            int index = -1;
            for (int i = 0; i < TColorGrid::ColorCount; ++i)
                if (ColorToRGB(TColorGrid::StandardColor(i)) == ColorToRGB(FColours[side]))
                    index = i;
            if (index < 0) {
                side == 0 ? FGrid->SetForegroundEnabled(false) : FGrid->SetBackgroundEnabled(false);
            } else if (side == 0) {
                FGrid->SetForegroundIndex(index);
                FGrid->SetForegroundEnabled(true);
            } else {
                FGrid->SetBackgroundIndex(index);
                FGrid->SetBackgroundEnabled(true);
            }
        }
    }

    void ColoursChanged()
    {
        WriteSettings(Section, {{"Foreground", FColours[0]}, {"Background", FColours[1]}});
        ShowColours();
    }

    void ShowColours()
    {
        for (int side = 0; side < 2; ++side) {
            FSwatch[side]->SetColor(FColours[side]);
            FValue[side]->SetText(ColourText(FColours[side], FFormat));
        }
        // Each choice shows the foreground colour in its format.
        FChoices[cfHex]->SetText(ColourText(FColours[0], cfHex));
        FChoices[cfRgb]->SetText(ColourText(FColours[0], cfRgb));
        FChoices[cfDecimal]->SetText(Tr("%1 (decimal)", {ColourText(FColours[0], cfDecimal)}));
    }

    void PickMore(int Side)
    {
        TColor colour = FColours[Side];
        if (!PickColour(GetAncestor(Handle(), GA_ROOT), colour))
            return;
        FColours[Side] = colour;
        // The grid's change, if any, must not take the colour back.
        const TNotifyEvent change = FGrid->OnChange;
        FGrid->OnChange = nullptr;
        MatchGrid();
        FGrid->OnChange = change;
        ColoursChanged();
    }

    void Copy(TColor Colour)
    {
        const std::string text = ColourText(Colour, FFormat);
        FStatus->SetText(CopyToClipboard(text) ? Tr("Copied: %1", {text}) : Tr("The clipboard is busy."));
    }

    TColor FColours[2]; // foreground, background
    TColourFormat FFormat;
    TColorGrid* FGrid;
    TPanel* FSwatch[2];
    TLabel* FValue[2];
    TRadioChoice* FChoices[ColourFormatCount];
    TLabel* FStatus;
};

const TClassInfo& TColoursView::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TColoursView, TPageView>("TColoursView").Build();
    return info;
}

extern const TPageDefinition ColoursPage{"Colours", "Colours", nullptr,
                                         [] { return static_cast<TPageView*>(New<TColoursView>(nullptr)); }};

} // namespace tessel
