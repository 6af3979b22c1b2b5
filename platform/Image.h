// Picture controls: TPicture holds the bitmap a TImage shows.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Control.h"

namespace platform {

// The picture of an image control: one bitmap, loaded from files or form
// text; OnChange follows every change of the bitmap.
class TPicture : public TPersistent {
    PLATFORM_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;
    void Assign(TPersistent* Source) override;

    TBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* Value) { FBitmap->Assign(Value); }
    int Width() const { return FBitmap->Width(); }
    int Height() const { return FBitmap->Height(); }
    void LoadFromFile(const std::string& FileName) { FBitmap->LoadFromFile(FileName); }
    void SaveToFile(const std::string& FileName) const { FBitmap->SaveToFile(FileName); }

    TNotifyEvent OnChange;

private:
    TBitmap* FBitmap;
};

class TImage : public TGraphicControl {
    PLATFORM_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TPicture* Picture() const { return FPicture; }
    void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
    // Drawing here draws on the picture; an empty picture first takes the control's size.
    TCanvas* Canvas();
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    // Drawn with the picture's transparent colour left out.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);

protected:
    void Paint() override;
    // The picture or how it is shown changed: the image takes its size
    // (AutoSize) and is drawn again.
    virtual void PictureChanged(TObject* Sender);

private:
    TPicture* FPicture;
    bool FAutoSize = false;
    bool FTransparent = false;
    bool FStretch = false;
};

} // namespace platform
