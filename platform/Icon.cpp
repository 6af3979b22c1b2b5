#include "platform/Icon.h"
#include "platform/GdiScope.h"

namespace platform {

namespace {

// The size of an icon's image, from its colour bitmap or, for a monochrome
// icon, from its mask (which holds the AND and XOR halves one above the other).
SIZE IconSize(HICON Icon)
{
    SIZE size{0, 0};
    ICONINFO info{};
    if (!GetIconInfo(Icon, &info))
        return size;
    // The icon's bitmaps are copies made for the caller.
    const TGdiObject<HBITMAP> color(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    if (info.hbmColor && GetObjectA(info.hbmColor, sizeof(bm), &bm)) {
        size = SIZE{bm.bmWidth, bm.bmHeight};
    } else if (info.hbmMask && GetObjectA(info.hbmMask, sizeof(bm), &bm)) {
        size = SIZE{bm.bmWidth, bm.bmHeight / 2};
    }
    return size;
}

} // namespace

const TClassInfo& TIcon::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TIcon, TGraphic>("TIcon").Build();
    return info;
}

TIcon::~TIcon()
{
    if (FHandle)
        DestroyIcon(FHandle);
}

void TIcon::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    if (!Source) {
        SetHandle(nullptr);
        return;
    }
    auto* icon = dynamic_cast<TIcon*>(Source);
    if (!icon) {
        inherited::Assign(Source);
        return;
    }
    HICON copy = nullptr;
    if (icon->FHandle) {
        copy = CopyIcon(icon->FHandle);
        if (!copy)
            throw EOutOfResources("Out of system resources");
    }
    if (FHandle)
        DestroyIcon(FHandle);
    FHandle = copy;
    FWidth = icon->FWidth;
    FHeight = icon->FHeight;
    Changed();
}

void TIcon::SetWidth(int)
{
    throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetHeight(int)
{
    throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetHandle(HICON Value)
{
    if (Value == FHandle)
        return;
    if (FHandle)
        DestroyIcon(FHandle);
    FHandle = Value;
    const SIZE size = Value ? IconSize(Value) : SIZE{0, 0};
    FWidth = size.cx;
    FHeight = size.cy;
    Changed();
}

HICON TIcon::ReleaseHandle()
{
    HICON handle = FHandle;
    if (!handle)
        return nullptr;
    FHandle = nullptr;
    FWidth = FHeight = 0;
    Changed();
    return handle;
}

void TIcon::LoadFromResourceName(HINSTANCE Instance, const std::string& ResName)
{
    HANDLE icon = LoadImageA(Instance, ResName.c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE);
    if (!icon)
        throw EResNotFound("Resource " + ResName + " not found");
    SetHandle(static_cast<HICON>(icon));
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (!FHandle)
        return;
    DrawIconEx(ACanvas->Handle(), Rect.left, Rect.top, FHandle, Rect.right - Rect.left, Rect.bottom - Rect.top, 0,
               nullptr, DI_NORMAL);
}

} // namespace platform
