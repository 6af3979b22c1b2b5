#include "platform/ImageList.h"

namespace platform {

const TClassInfo& TImageList::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TImageList, TComponent>("TImageList")
        .Int("Height", &TImageList::Height, &TImageList::SetHeight, 16)
        .Int("Width", &TImageList::Width, &TImageList::SetWidth, 16)
        .Build();
    return info;
}

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

TImageList::~TImageList()
{
    FreeHandle();
}

void TImageList::FreeHandle()
{
    if (FHandle)
        ImageList_Destroy(FHandle);
    FHandle = nullptr;
}

void TImageList::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TImageList::SetWidth(int Value)
{
    if (Value <= 0 || Value == FWidth)
        return;
    FWidth = Value;
    FreeHandle();
    Changed();
}

void TImageList::SetHeight(int Value)
{
    if (Value <= 0 || Value == FHeight)
        return;
    FHeight = Value;
    FreeHandle();
    Changed();
}

HIMAGELIST TImageList::Handle()
{
    if (!FHandle) {
        FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR24 | ILC_MASK, 0, 4);
        if (!FHandle)
            throw EOutOfResources("Out of system resources");
    }
    return FHandle;
}

int TImageList::Count() const
{
    return FHandle ? ImageList_GetImageCount(FHandle) : 0;
}

int TImageList::AddIcon(TIcon* Image)
{
    if (!Image || Image->Empty())
        return -1;
    const int index = ImageList_AddIcon(Handle(), Image->Handle());
    if (index >= 0)
        Changed();
    return index;
}

int TImageList::Add(TBitmap* Image, TBitmap* Mask)
{
    if (!Image || Image->Empty())
        return -1;
    // The list selects both bitmaps into its own contexts while it copies them.
    HBITMAP image = Image->Handle();
    HBITMAP mask = Mask && !Mask->Empty() ? Mask->Handle() : nullptr;
    const int index = ImageList_Add(Handle(), image, mask);
    if (index >= 0)
        Changed();
    return index;
}

bool TImageList::GetIcon(int Index, TIcon* Image)
{
    if (!Image || Index < 0 || Index >= Count())
        return false;
    HICON icon = ImageList_GetIcon(FHandle, Index, ILD_NORMAL);
    if (!icon)
        return false;
    Image->SetHandle(icon);
    return true;
}

void TImageList::Clear()
{
    if (FHandle && ImageList_GetImageCount(FHandle) > 0) {
        ImageList_RemoveAll(FHandle);
        Changed();
    }
}

} // namespace platform
