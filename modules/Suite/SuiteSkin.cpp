#include "modules/Suite/SuiteSkin.h"
#include "modules/Suite/SuiteSettings.h"
#include "modules/Suite/SuiteText.h"

#include "loom/Graphics/WinRegion.h"
#include "platform/Bitmap.h"
#include "platform/ClassBuilder.h"
#include "platform/Exceptions.h"
#include "platform/Win32.h"

#include <algorithm>
#include <map>
#include <memory>
#include <utility>

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

// The generator's pictures, each read once for the module's life and never
// freed: a module's static objects go while the loader unloads it. Null for
// a picture that is missing or cannot be read.
TBitmap* SkinPicture(const std::string& Name)
{
    static auto* pictures = new std::map<std::string, TBitmap*>;
    const auto [at, added] = pictures->try_emplace(Name, nullptr);
    if (added && FileExists(SkinFolder() + Name)) {
        auto* picture = new TBitmap;
        try {
            picture->LoadFromFile(SkinFolder() + Name);
            at->second = picture;
        } catch (const Exception&) {
            delete picture;
        }
    }
    return at->second;
}

// Picture Name stretched to Width: its ends as drawn, its middle column
// repeated. Made once for each width asked for, and kept as the pictures
// are: a row of buttons of one width shares them. Null as SkinPicture.
TBitmap* Stretched(const std::string& Name, int Width)
{
    static auto* stretched = new std::map<std::pair<std::string, int>, TBitmap*>;
    TBitmap* picture = SkinPicture(Name);
    if (!picture)
        return nullptr;
    TBitmap*& result = (*stretched)[{Name, Width}];
    if (result)
        return result;
    auto made = std::make_unique<TBitmap>();
    made->Assign(picture);
    const int height = picture->Height(), end = std::min(8, picture->Width() / 2);
    made->SetWidth(Width);
    TCanvas* canvas = made->Canvas();
    canvas->CopyRect(Rect(Width - end, 0, Width, height), picture->Canvas(),
                     Rect(picture->Width() - end, 0, picture->Width(), height));
    canvas->CopyRect(Rect(end, 0, Width - end, height), picture->Canvas(), Rect(end, 0, end + 1, height));
    result = made.release();
    return result;
}

} // namespace

// ---------------------------------------------------------------- TSkinButton

const TClassInfo& TSkinButton::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TSkinButton, KsButtonTx>("TSkinButton").Build();
    return info;
}

TSkinButton::TSkinButton(TComponent* AOwner) : KsButtonTx(AOwner)
{
    SetTabStop(true);
    ApplyLanguageFont(Font());
    Font()->SetHeight(-MulDiv(8, 96, 72));
    DressUp(SkinButtonWidth);
}

void TSkinButton::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.ClassName = "KsButtonTx";
}

void TSkinButton::FontChanged(TObject* Sender)
{
    FFittingWidth = 0;
    inherited::FontChanged(Sender);
}

int TSkinButton::FittingWidth()
{
    // Asked for at every refresh of a row of buttons: measured again only
    // for a new caption or font.
    if (FFittingWidth && Text() == FFittedText)
        return FFittingWidth;
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->Font()->Assign(Font());
    // Bold for the chosen look, so that choosing never makes a caption too wide.
    TFontStyles bold = Font()->Style();
    bold.Include(fsBold);
    measure.Canvas()->Font()->SetStyle(bold);
    FFittedText = Text();
    FFittingWidth = std::max(SkinButtonWidth, measure.Canvas()->TextWidth(FFittedText) + 2 * 8);
    return FFittingWidth;
}

void TSkinButton::SetButtonWidth(int Width)
{
    DressUp(std::max(Width, SkinButtonWidth));
    SetBounds(Left(), Top(), std::max(Width, SkinButtonWidth), SkinButtonHeight);
}

void TSkinButton::SetChosen(bool Value)
{
    if (Value == FChosen)
        return;
    FChosen = Value;
    FDressedWidth = 0;
    DressUp(Width() > 0 ? Width() : SkinButtonWidth);
}

void TSkinButton::DressUp(int Width)
{
    if (Width == FDressedWidth)
        return;
    FDressedWidth = Width;
    // The raised and focused pictures stand for the chosen ones while chosen.
    const std::string names[4] = {FChosen ? "button_s.bmp" : "button_n.bmp", "button_d.bmp",
                                  FChosen ? "button_so.bmp" : "button_o.bmp", "button_un.bmp"};
    const KsButtonState states[4] = {ksRaised, ksSunken, ksFocused, ksDisabled};
    for (int i = 0; i < 4; ++i)
        if (TBitmap* picture = Stretched(names[i], Width))
            SetBitmap(picture, states[i]);
    Font()->SetStyle(FChosen ? TFontStyles{fsBold} : TFontStyles{});
    Font()->SetColor(FChosen ? clWhite : clWindowText);
    FontColors()->SetColor(fcFocused, FChosen ? clWhite : -1);
}

TSkinButton* MakeSkinButton(TWinControl* Parent, const std::string& Caption, int Left, int Top)
{
    auto* button = New<TSkinButton>(Parent);
    button->SetParent(Parent);
    button->SetText(Caption);
    button->SetBounds(Left, Top, SkinButtonWidth, SkinButtonHeight);
    button->SetButtonWidth(button->FittingWidth());
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

void TfrmQuestion::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.ClassName = "TfrmMsg";
}

bool TfrmQuestion::DialogKey(WORD Key, TShiftState Shift)
{
    if (Key != VK_ESCAPE)
        return inherited::DialogKey(Key, Shift);
    SetModalResult(mrNo);
    return true;
}

bool ConfirmExit()
{
    const TOwned<TfrmQuestion> question(New<TfrmQuestion>(nullptr));
    return question->ShowModal() == mrYes;
}

} // namespace tessel
