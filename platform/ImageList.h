// A list of same-sized images with masks, over a system image list
// (24-bit colour with masks), created when first needed.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Icon.h"

namespace platform {

class TImageList : public TComponent {
    PLATFORM_CLASS(TImageList, TComponent)
public:
    explicit TImageList(TComponent* AOwner);
    ~TImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A new size empties the list: its images were made for the old one.
    void SetWidth(int Value);
    void SetHeight(int Value);

    int Count() const;
    // Each returns the index of the (first) image added, or -1 when nothing
    // could be added. A bitmap wider than the list adds one image per Width
    // pixels; without a mask the images are opaque.
    int AddIcon(TIcon* Image);
    int Add(TBitmap* Image, TBitmap* Mask);
    // Puts a copy of image Index into Image; false (and Image untouched)
    // for an index outside the list.
    bool GetIcon(int Index, TIcon* Image);
    void Clear();

    HIMAGELIST Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }

    TNotifyEvent OnChange;

private:
    void Changed();
    void FreeHandle();

    HIMAGELIST FHandle = nullptr;
    int FWidth = 16, FHeight = 16;
};

} // namespace platform
