// The hint window: the small bordered pop-up that shows a control's hint
// text under the pointer, above every other window, without taking the
// activation or the mouse.
#pragma once

#include "platform/Control.h"

namespace platform {

class THintWindow : public TCustomControl {
    PLATFORM_CLASS(THintWindow, TCustomControl)
public:
    explicit THintWindow(TComponent* AOwner);

    // The window size Hint needs, lines wrapped at MaxWidth pixels, at (0, 0).
    TRect CalcHintRect(int MaxWidth, const std::string& Hint);
    // Shows Hint in Rect (screen coordinates), moved inside the screen.
    void ActivateHint(TRect Rect, const std::string& Hint);

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Paint() override;

private:
    static constexpr int Margin = 2;
};

} // namespace platform
