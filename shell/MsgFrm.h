// The suite's message dialog unit: the skinned yes/no dialog TfrmMsg, and
// the language service: the language module KsMultiLang.dll, which names the
// user's language and translates every text the shell shows, and the font
// rules of the languages whose scripts need another character set.
#pragma once

#include "KsPackage/Source/KsButtonTx.h"

#include "platform/Form.h"
#include "platform/Image.h"
#include "platform/Label.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessel {

// The suite's yes/no dialog: a borderless window cut to the shape of its
// background picture (ContainerImages\popup_bg_s.bmp, whose pixel (0, 0)
// gives the colour cut away), dragged by its body, with two skinned text
// buttons. Other processes of the suite know an open one by its class name
// "TfrmMsg" and its title "Tessel". Yes ends the modal loop with mrYes (6),
// No with mrNo (7); any other way of closing it is a refusal. At the
// keyboard it is a system Yes/No box: the focus starts on Yes, Tab moves
// between the two, Enter or Space presses the focused one and Esc answers No.
//
// Without its background picture the dialog is a plain rectangle of the
// same size, in the button tray's colour with a dark frame, so it stays
// readable and both buttons still work.
class TfrmMsg : public platform::TForm {
    PLATFORM_CLASS(TfrmMsg, platform::TForm)
public:
    static constexpr int DialogWidth = 270, DialogHeight = 160;

    // The hidden start-up instance: no text, no language rules.
    explicit TfrmMsg(platform::TComponent* AOwner);
    // A dialog that shows Text, in the language's fonts and button texts.
    TfrmMsg(platform::TComponent* AOwner, const std::string& Text);

    // Published components, read from the form text.
    KsButtonTx* mrOk = nullptr;
    KsButtonTx* mrCancel = nullptr;
    platform::TImage* ImgMsgBackground = nullptr;
    platform::TLabel* LabelCaption = nullptr;
    platform::TLabel* LabelDescription = nullptr;

    // Published handlers.
    void FormCreate(platform::TObject* Sender);
    void ImgMsgBackgroundMouseDown(platform::TObject* Sender, platform::TMouseButton Button,
                                   platform::TShiftState Shift, int X, int Y);
    void mrOKClick(platform::TObject* Sender);
    void mrCancelClick(platform::TObject* Sender);

    // False when building the dialog failed (the framework showed why): it
    // lacks its buttons or its shape, and must be freed unseen.
    bool Built() const { return FBuilt; }

protected:
    bool DialogKey(WORD Key, platform::TShiftState Shift) override;

private:
    void LoadBackground();
    void ShowTexts();
    void PlaceButtons();

    std::string FMessageText;
    bool FBuilt = false;
};

// The hidden dialog instance made at start-up.
extern TfrmMsg* frmMsg;

// LoadLanguage results.
constexpr int32_t langLoaded = 0, langNoModule = 1, langNotNamed = 2;
// A translation is fetched into a buffer that grows by 256 bytes while the
// module fills it completely; at this size the text is taken as it is (cut),
// so a module that always fills its buffer cannot make a translation run
// forever, and no language file can make a text longer than a window takes
// for its caption.
constexpr size_t MaxTranslationSize = 4096;

// Loads KsMultiLang.dll from the program's folder and asks it for the
// language (Which is passed through; the shell uses 0).
int32_t LoadLanguage(int32_t Which);
// Null while the module has not loaded; empty when it failed to name a language.
const char* LanguageName();
// The translation of an English text, valid until the next Translate or
// FreeLanguage; the English text itself without a working language module.
const char* Translate(const char* Text);
void FreeLanguage();

// Japanese, Russian and Thai (in any letter case) need their character sets,
// Thai also its face; every other language keeps the font as it is.
void ApplyLanguageFont(platform::TFont* Font);

} // namespace tessel
