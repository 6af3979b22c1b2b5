#include "modules/Suite/SuiteSkin.h"
#include "modules/Suite/SuiteSettings.h"
#include "modules/Suite/SuiteText.h"

#include "loom/Graphics/WinRegion.h"
#include "platform/Bitmap.h"
#include "platform/ClassBuilder.h"
#include "platform/Exceptions.h"
#include "platform/Win32.h"

#include <memory>
#include <vector>

using namespace platform;

namespace tessel {

namespace {

std::string SkinFolder()
{
    return SuiteFolder() + "ContainerImages\\";
}

bool FileExists(const std::string& Path)
{
    DWORD attributes = GetFileAttributesA(Path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The generator's four button pictures (raised, sunken, focused, disabled),
// read on first use and kept for the module's life: every skinned button
// takes copies of them. None when the skin is missing or cannot be read.
const std::vector<std::unique_ptr<TBitmap>>& ButtonSkin()
{
    static const std::vector<std::unique_ptr<TBitmap>> skin = [] {
        std::vector<std::unique_ptr<TBitmap>> pictures;
        const std::string folder = SkinFolder();
        if (!FileExists(folder + "button_n.bmp"))
            return pictures;
        try {
            for (const char* name : {"button_n.bmp", "button_d.bmp", "button_o.bmp", "button_un.bmp"}) {
                pictures.push_back(std::make_unique<TBitmap>());
                pictures.back()->LoadFromFile(folder + name);
            }
        } catch (const Exception&) {
            // A damaged skin leaves the plain look.
            pictures.clear();
        }
        return pictures;
    }();
    return skin;
}

} // namespace

KsButtonTx* MakeSkinButton(TWinControl* Parent, const std::string& Caption, int Left, int Top)
{
    auto* button = New<KsButtonTx>(Parent);
    button->SetParent(Parent);
    const std::vector<std::unique_ptr<TBitmap>>& skin = ButtonSkin();
    for (size_t i = 0; i < skin.size(); ++i)
        button->SetBitmap(skin[i].get(), static_cast<int>(i));
    ApplyLanguageFont(button->Font());
    button->Font()->SetHeight(-MulDiv(8, 96, 72));
    button->SetBounds(Left, Top, SkinButtonWidth, SkinButtonHeight);
    button->SetText(Caption);
    return button;
}

// ---------------------------------------------------------------- TfrmQuestion

const TClassInfo& TfrmQuestion::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TfrmQuestion, TForm>("TfrmQuestion").Build();
    return info;
}

TfrmQuestion::TfrmQuestion(TComponent* AOwner) : TForm(AOwner)
{
    constexpr int Width = 270, Height = 160;
    SetBorderStyle(bsNone);
    SetText("Tessel");
    SetBounds(GetSystemMetrics(SM_CXSCREEN) / 2 - Width / 2, GetSystemMetrics(SM_CYSCREEN) / 2 - Height / 2, Width,
              Height);

    Background = New<TImage>(this);
    Background->SetParent(this);
    Background->SetBounds(0, 0, Width, Height);
    const std::string card = SkinFolder() + "popup_bg_s.bmp";
    if (FileExists(card)) {
        try {
            Background->Picture()->Bitmap()->LoadFromFile(card);
        } catch (const Exception&) {
        }
    }
    if (!Background->Picture()->Bitmap()->Empty()) {
        loom::WinRegion region;
        region.FromBitmap(Background->Picture()->Bitmap(), Background->Canvas()->Pixel(0, 0));
        region.ApplyToWindow(Handle(), true);
    } else {
        TCanvas* canvas = Background->Canvas();
        canvas->Brush()->SetColor(RGB(237, 240, 244));
        canvas->FillRect(Rect(0, 0, Width, Height));
        canvas->Brush()->SetColor(RGB(55, 65, 81));
        canvas->FrameRect(Rect(0, 0, Width, Height));
    }

    Text = New<TLabel>(this);
    Text->SetParent(this);
    Text->SetTransparent(true);
    Text->SetAutoSize(false);
    Text->SetWordWrap(true);
    ApplyLanguageFont(Text->Font());
    Text->Font()->SetHeight(-MulDiv(9, 96, 72));
    Text->SetBounds(20, 60, 240, 40);
    Text->SetText(Tr("Are you sure to exit?"));

    Yes = MakeSkinButton(this, Tr("Yes"), 33, 112);
    Yes->OnClick = [this](TObject*) { SetModalResult(mrYes); };
    No = MakeSkinButton(this, Tr("No"), 143, 112);
    No->OnClick = [this](TObject*) { SetModalResult(mrNo); };
}

bool ConfirmExit()
{
    auto* question = New<TfrmQuestion>(nullptr);
    bool yes = false;
    try {
        yes = question->ShowModal() == mrYes;
    } catch (...) {
        question->Free();
        throw;
    }
    question->Free();
    return yes;
}

} // namespace tessel
