// Icons: a picture over an HICON that the icon owns.
#pragma once

#include "platform/Canvas.h"

namespace platform {

class TIcon : public TGraphic {
    PLATFORM_CLASS(TIcon, TGraphic)
public:
    TIcon() = default;
    ~TIcon() override;

    // A copy of the source icon's image (CopyIcon); none gives an empty icon.
    void Assign(TPersistent* Source) override;

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    // An icon's size is that of its image: raises EInvalidGraphicOperation.
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    bool Empty() const override { return FHandle == nullptr; }

    HICON Handle() const { return FHandle; }
    // Takes over the handle (destroying the previous one); null empties the icon.
    void SetHandle(HICON Value);
    // Gives the handle away; the icon becomes empty.
    HICON ReleaseHandle();

    // An icon resource of the module at the system's large icon size;
    // raises EResNotFound when there is none.
    void LoadFromResourceName(HINSTANCE Instance, const std::string& ResName);

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    HICON FHandle = nullptr;
    int FWidth = 0, FHeight = 0;
};

} // namespace platform
