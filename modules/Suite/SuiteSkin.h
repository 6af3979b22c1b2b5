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

// The generator's button pictures are 97 x 23.
constexpr int SkinButtonWidth = 97, SkinButtonHeight = 23;

// A skinned button on Parent at (Left, Top) with the given caption, a tab
// stop; without the skin files it keeps the package's plain look at the
// same size.
KsButtonTx* MakeSkinButton(platform::TWinControl* Parent, const std::string& Caption, int Left, int Top);

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
    KsButtonTx* Yes;
    KsButtonTx* No;

protected:
    void CreateParams(platform::TCreateParams& Params) override;
    bool DialogKey(WORD Key, platform::TShiftState Shift) override;
};

// Asks the exit question; true when the user answered Yes.
bool ConfirmExit();

} // namespace tessel
