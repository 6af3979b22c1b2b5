#include "platform/Image.h"

namespace platform {

const TClassInfo& TPicture::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TPicture, TPersistent>("TPicture")
        .Binary("Data", [](const TPicture& p) { return p.Bitmap()->Data(); },
                [](TPicture& p, const std::vector<uint8_t>& data) { p.Bitmap()->SetData(data); })
        .Build();
    return info;
}

TPicture::TPicture() : FBitmap(new TBitmap)
{
    FBitmap->OnChange = [this](TObject*) {
        if (OnChange)
            OnChange(this);
    };
}

TPicture::~TPicture()
{
    delete FBitmap;
}

void TPicture::Assign(TPersistent* Source)
{
    if (auto* picture = dynamic_cast<TPicture*>(Source))
        FBitmap->Assign(picture->FBitmap);
    else if (!Source || dynamic_cast<TBitmap*>(Source))
        FBitmap->Assign(Source);
    else
        TPersistent::Assign(Source);
}

const TClassInfo& TImage::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TImage, TGraphicControl>("TImage")
        .Publish({"Align", "Anchors", "Constraints", "Enabled", "Visible", "ParentShowHint", "ShowHint", "OnClick",
                  "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp"})
        .Bool("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize, false)
        .Object("Picture", &TImage::Picture)
        .Bool("Stretch", &TImage::Stretch, &TImage::SetStretch, false)
        .Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent, false)
        .Build();
    return info;
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(new TPicture)
{
    FPicture->OnChange = [this](TObject* Sender) { PictureChanged(Sender); };
    SetBounds(Left(), Top(), 105, 105);
}

TImage::~TImage()
{
    delete FPicture;
}

TCanvas* TImage::Canvas()
{
    TBitmap* bitmap = FPicture->Bitmap();
    if (bitmap->Empty())
        bitmap->SetSize(Width(), Height());
    return bitmap->Canvas();
}

void TImage::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    PictureChanged(this);
}

void TImage::SetTransparent(bool Value)
{
    if (Value == FTransparent)
        return;
    FTransparent = Value;
    PictureChanged(this);
}

void TImage::SetStretch(bool Value)
{
    if (Value == FStretch)
        return;
    FStretch = Value;
    PictureChanged(this);
}

void TImage::PictureChanged(TObject*)
{
    TBitmap* bitmap = FPicture->Bitmap();
    // A new picture takes the control's transparency (raising one more change, handled here again).
    if (bitmap->Transparent() != FTransparent) {
        bitmap->SetTransparent(FTransparent);
        return;
    }
    if (FAutoSize && !bitmap->Empty())
        SetBounds(Left(), Top(), bitmap->Width(), bitmap->Height());
    // A picture that covers the whole control lets the parent skip the background behind it.
    const bool covers = !FTransparent && !bitmap->Empty() &&
                        (FStretch || (bitmap->Width() >= Width() && bitmap->Height() >= Height()));
    if (covers)
        FControlStyle.Include(csOpaque);
    else
        FControlStyle.Exclude(csOpaque);
    Invalidate();
}

void TImage::Paint()
{
    TBitmap* bitmap = FPicture->Bitmap();
    if (bitmap->Empty())
        return;
    TGraphicControl::Canvas()->StretchDraw(FStretch ? ClientRect() : Rect(0, 0, bitmap->Width(), bitmap->Height()),
                                           bitmap);
}

} // namespace platform
