// The suite's look in its own modules: skinned text buttons wearing the
// pictures the skin generator draws into ContainerImages\, and the suite's
// exit question in the same skin as the shell's message dialog.
#pragma once

#include "KsPackage/Source/KsButtonTx.h"
#include "platform/Form.h"
#include "platform/Image.h"
#include "platform/Label.h"

#include <string>

namespace tessel {

// The generator's button pictures are 97 x 23: the narrowest a button gets.
constexpr int SkinButtonWidth = 97, SkinButtonHeight = 23;

// A skinned text button of the suite: a tab stop wearing the generator's
// pictures, stretched in the middle to its width (the plain package look
// without the skin files), and for the group or page shown a chosen look,
// held whether the pointer is over it or not, that the pointer's own look
// cannot be mistaken for. To other programs it is a "KsButtonTx" window, as
// the package's own button.
class TSkinButton : public KsButtonTx {
    PLATFORM_CLASS(TSkinButton, KsButtonTx)
public:
    explicit TSkinButton(platform::TComponent* AOwner);

    // The width that shows the caption with room on either side.
    int FittingWidth();
    // Takes Width (at least the skin's), with pictures made for it.
    void SetButtonWidth(int Width);
    bool Chosen() const { return FChosen; }
    void SetChosen(bool Value);

protected:
    void CreateParams(platform::TCreateParams& Params) override;
    void FontChanged(platform::TObject* Sender) override;

private:
    // Wears the pictures made for Width, unless it wears them already.
    void DressUp(int Width);

    bool FChosen = false;
    int FDressedWidth = 0;
    // The caption FittingWidth measured last, and its width; 0 for none.
    std::string FFittedText;
    int FFittingWidth = 0;
};

// A skinned button on Parent at (Left, Top) with the given caption, as wide
// as its caption needs.
TSkinButton* MakeSkinButton(platform::TWinControl* Parent, const std::string& Caption, int Left, int Top);

// "Are you sure to exit?" with Yes and No, on the generator's dialog card,
// cut to its shape; modal, centred on the primary screen. At the keyboard
// like a system Yes/No box: the focus starts on Yes and Esc answers No. Its
// window is of the class "TfrmMsg", titled "Tessel", as the shell's own
// questions are: that is how every part of the suite knows a question is open.
class TfrmQuestion : public platform::TForm {
    PLATFORM_CLASS(TfrmQuestion, platform::TForm)
public:
    explicit TfrmQuestion(platform::TComponent* AOwner);

    platform::TImage* Background;
    platform::TLabel* Text;
    TSkinButton* Yes;
    TSkinButton* No;

protected:
    void CreateParams(platform::TCreateParams& Params) override;
    bool DialogKey(WORD Key, platform::TShiftState Shift) override;
};

// Asks the exit question; true when the user answered Yes.
bool ConfirmExit();

} // namespace tessel
