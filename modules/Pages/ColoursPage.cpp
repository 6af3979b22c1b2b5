// Page\Colours.dll: the colour grid; the left button chooses the foreground
// colour and the right button the background colour, whose values stand
// beside the grid with a swatch each and go to the clipboard with a button.
#include "modules/Pages/ColoursData.h"
#include "modules/Suite/PageModule.h"
#include "modules/Suite/SuiteSkin.h"
#include "modules/Suite/SuiteText.h"

#include "components/ColorGrid.h"
#include "platform/ClassBuilder.h"

using namespace platform;
using namespace components;

namespace tessel {

class TColoursView : public TPageView {
    PLATFORM_CLASS(TColoursView, TPageView)
public:
    explicit TColoursView(TComponent* AOwner) : TPageView(AOwner)
    {
        FGrid = New<TColorGrid>(this);
        FGrid->SetParent(this);
        FGrid->SetBounds(16, 16, 240, 240);
        FGrid->SetBackgroundEnabled(true);
        FGrid->SetBackgroundIndex(15);
        FGrid->OnChange = [this](TObject*) { ShowColours(); };

        AddLabel(280, 16, Tr("Foreground"));
        FForeSwatch = MakeSwatch(280, 36);
        FForeText = AddLabel(330, 46, "");
        auto* copyFore = MakeSkinButton(this, Tr("Copy"), 330, 70);
        copyFore->OnClick = [this](TObject*) { Copy(FGrid->ForegroundColor()); };

        AddLabel(280, 116, Tr("Background"));
        FBackSwatch = MakeSwatch(280, 136);
        FBackText = AddLabel(330, 146, "");
        auto* copyBack = MakeSkinButton(this, Tr("Copy"), 330, 170);
        copyBack->OnClick = [this](TObject*) { Copy(FGrid->BackgroundColor()); };

        FStatus = AddLabel(280, 220, "");
        ShowColours();
    }

private:
    TPanel* MakeSwatch(int Left, int Top)
    {
        auto* swatch = New<TPanel>(this);
        swatch->SetParent(this);
        swatch->SetBevelOuter(bvLowered);
        swatch->SetBounds(Left, Top, 40, 40);
        return swatch;
    }

    void ShowColours()
    {
        FForeSwatch->SetColor(FGrid->ForegroundColor());
        FForeText->SetText(ColourText(FGrid->ForegroundColor()));
        FBackSwatch->SetColor(FGrid->BackgroundColor());
        FBackText->SetText(ColourText(FGrid->BackgroundColor()));
    }

    void Copy(TColor Colour)
    {
        const std::string text = ColourText(Colour);
        FStatus->SetText(CopyToClipboard(text) ? Tr("Copied: %1", {text}) : Tr("The clipboard is busy."));
    }

    TColorGrid* FGrid;
    TPanel* FForeSwatch;
    TLabel* FForeText;
    TPanel* FBackSwatch;
    TLabel* FBackText;
    TLabel* FStatus;
};

const TClassInfo& TColoursView::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TColoursView, TPageView>("TColoursView").Build();
    return info;
}

const TPageDefinition ThisPage{"Colours", "Colours", nullptr,
                               [] { return static_cast<TPageView*>(New<TColoursView>(nullptr)); }};

} // namespace tessel
