#include "shell/MsgFrm.h"
#include "shell/SuiteState.h"
#include "shell/Toolfunction.h"

#include "platform/ClassBuilder.h"
#include "platform/Graphics.h"

#include <cstring>
#include <vector>

using namespace platform;

namespace tessel {

TfrmMsg* frmMsg = nullptr;

// ---------------------------------------------------------------- TfrmMsg

const TClassInfo& TfrmMsg::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TfrmMsg, TForm>("TfrmMsg")
        .Field("mrOk", &TfrmMsg::mrOk)
        .Field("mrCancel", &TfrmMsg::mrCancel)
        .Field("ImgMsgBackground", &TfrmMsg::ImgMsgBackground)
        .Field("LabelCaption", &TfrmMsg::LabelCaption)
        .Field("LabelDescription", &TfrmMsg::LabelDescription)
        .Method("FormCreate", &TfrmMsg::FormCreate)
        .Method("ImgMsgBackgroundMouseDown", &TfrmMsg::ImgMsgBackgroundMouseDown)
        .Method("mrOKClick", &TfrmMsg::mrOKClick)
        .Method("mrCancelClick", &TfrmMsg::mrCancelClick)
        .Build();
    return info;
}

TfrmMsg::TfrmMsg(TComponent* AOwner) : TForm(AOwner)
{
    LoadLayout();
}

TfrmMsg::TfrmMsg(TComponent* AOwner, const std::string& Text) : TfrmMsg(AOwner)
{
    FMessageText = Text;
    for (TFont* font : {Font(), mrOk->Font(), mrCancel->Font(), LabelCaption->Font(), LabelDescription->Font()})
        ApplyLanguageFont(font);
    mrOk->SetText(Translate("Yes"));
    mrCancel->SetText(Translate("No"));
    // Point sizes at 96 pixels per inch.
    mrOk->Font()->SetHeight(-MulDiv(8, 96, 72));
    mrCancel->Font()->SetHeight(-MulDiv(8, 96, 72));
    LabelCaption->Font()->SetHeight(-MulDiv(9, 96, 72));
    LabelDescription->Font()->SetHeight(-MulDiv(9, 96, 72));
}

void TfrmMsg::FormCreate(TObject*)
{
    LoadBackground();
    ShowTexts();
    PlaceButtons();
    FBuilt = true;
}

void TfrmMsg::LoadBackground()
{
    LoadImageFile(ImgMsgBackground, TSuiteState::Running().ProgramFolder + "ContainerImages\\popup_bg_s.bmp");
    const bool skinned = !ImgMsgBackground->Picture()->Bitmap()->Empty();
    PlaceControl(ImgMsgBackground, 0, 0, DialogWidth, DialogHeight);
    PlaceControl(this, 0, 0, DialogWidth, DialogHeight);
    if (skinned) {
        const TColor key = ImgMsgBackground->Canvas()->Pixel(0, 0);
        HRGN region = BitmapToRegion(ImgMsgBackground->Picture()->Bitmap()->Handle(), ColorToRGB(key), 0);
        // The window owns the region from here on, unless it refuses it.
        if (region && !SetWindowRgn(Handle(), region, TRUE))
            DeleteObject(region);
    } else {
        // A whole rectangle, framed so that it stands out on any desktop.
        SetWindowRgn(Handle(), nullptr, TRUE);
        // Drawing on the empty picture gives it the control's size.
        TCanvas* canvas = ImgMsgBackground->Canvas();
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(RGB(237, 240, 244));
        canvas->FillRect(Rect(0, 0, DialogWidth, DialogHeight));
        canvas->Brush()->SetColor(RGB(55, 65, 81));
        canvas->FrameRect(Rect(0, 0, DialogWidth, DialogHeight));
    }
    SetWidth(ImgMsgBackground->Width());
    SetHeight(ImgMsgBackground->Height());
}

void TfrmMsg::ShowTexts()
{
    LabelDescription->SetCaption(FMessageText);
    LabelCaption->SetCaption("");
}

void TfrmMsg::PlaceButtons()
{
    const std::string skins = TSuiteState::Running().ProgramFolder + "ContainerImages\\";
    LoadButtonSkin(mrOk, skins, "button");
    PlaceControl(mrOk, 33, 112, 97, 23);
    LoadButtonSkin(mrCancel, skins, "button");
    PlaceControl(mrCancel, 143, 112, 97, 23);
    PlaceControl(LabelDescription, 20, 60, 240, 60);
    PlaceControl(LabelCaption, 20, 18, 150, 18);
}

void TfrmMsg::ImgMsgBackgroundMouseDown(TObject*, TMouseButton Button, TShiftState, int, int)
{
    if (Button != mbLeft)
        return;
    // The system then moves the window with the mouse, as if its caption were dragged.
    ReleaseCapture();
    PostMessageA(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void TfrmMsg::mrOKClick(TObject*)
{
    SetModalResult(mrYes);
}

void TfrmMsg::mrCancelClick(TObject*)
{
    SetModalResult(mrNo);
}

bool TfrmMsg::DialogKey(WORD Key, TShiftState Shift)
{
    if (Key != VK_ESCAPE)
        return inherited::DialogKey(Key, Shift);
    mrCancelClick(this);
    return true;
}

// ---------------------------------------------------------------- language service

namespace {

using TGetLangNameAndPath = int32_t(__cdecl*)(int32_t Which, char* Name, char* Path);
using TTranslateStr2 = int32_t(__cdecl*)(int32_t Zero, const char* English, char* Out, int32_t Size,
                                         const char* LangFile);

constexpr size_t NameSize = 32;
constexpr size_t LangFileSize = 260;
constexpr size_t TranslationStep = 256;

HMODULE LangModule = nullptr;
TGetLangNameAndPath GetLangNameAndPath = nullptr;
TTranslateStr2 TranslateStr2 = nullptr;
std::vector<char> NameBuffer;
std::vector<char> LangFileBuffer;
std::vector<char> TranslationBuffer;
// Set once the module has named a language; without one the texts stay English.
bool LanguageNamed = false;

template <class F>
F Entry(HMODULE Module, const char* Name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Module, Name)));
}

} // namespace

int32_t LoadLanguage(int32_t Which)
{
    FreeLanguage();
    const std::string path = TSuiteState::Running().ProgramFolder + "KsMultiLang.dll";
    LangModule = LoadLibraryA(path.c_str());
    if (!LangModule)
        return langNoModule;
    GetLangNameAndPath = Entry<TGetLangNameAndPath>(LangModule, "KsGetLangNameAndPath");
    TranslateStr2 = Entry<TTranslateStr2>(LangModule, "KsTranslateStr2");
    LangFileBuffer.assign(LangFileSize, '\0');
    NameBuffer.assign(NameSize, '\0');
    if (!GetLangNameAndPath || GetLangNameAndPath(Which, NameBuffer.data(), LangFileBuffer.data()) == 0) {
        NameBuffer.assign(NameSize, '\0');
        return langNotNamed;
    }
    // The module owns neither buffer's terminator: keep both readable as text.
    NameBuffer.back() = '\0';
    LangFileBuffer.back() = '\0';
    LanguageNamed = true;
    return langLoaded;
}

const char* LanguageName()
{
    return LangModule ? NameBuffer.data() : nullptr;
}

const char* Translate(const char* Text)
{
    if (!Text)
        Text = "";
    if (!LanguageNamed || !TranslateStr2) {
        TranslationBuffer.assign(Text, Text + std::strlen(Text) + 1);
        return TranslationBuffer.data();
    }
    for (size_t size = TranslationStep;; size += TranslationStep) {
        TranslationBuffer.assign(size, '\0');
        const int32_t written = TranslateStr2(0, Text, TranslationBuffer.data(), static_cast<int32_t>(size),
                                              LangFileBuffer.data());
        TranslationBuffer.back() = '\0';
        // A result of size - 1 means the text may have been cut.
        if (written != static_cast<int32_t>(size - 1) || size >= MaxTranslationSize)
            return TranslationBuffer.data();
    }
}

void FreeLanguage()
{
    TranslationBuffer.clear();
    TranslationBuffer.shrink_to_fit();
    LangFileBuffer.clear();
    NameBuffer.clear();
    GetLangNameAndPath = nullptr;
    TranslateStr2 = nullptr;
    LanguageNamed = false;
    if (LangModule) {
        FreeLibrary(LangModule);
        LangModule = nullptr;
    }
}

void ApplyLanguageFont(platform::TFont* Font)
{
    const char* name = LanguageName();
    if (!Font || !name)
        return;
    if (platform::SameText(name, "Japanese")) {
        Font->SetCharset(SHIFTJIS_CHARSET);
    } else if (platform::SameText(name, "Russian")) {
        Font->SetCharset(RUSSIAN_CHARSET);
    } else if (platform::SameText(name, "Thai")) {
        Font->SetCharset(THAI_CHARSET);
        Font->SetName("MS Sans Serif");
    }
}

} // namespace tessel
