#include "framework/ImageList.h"

#include "framework/UniqueHandle.h"

namespace corvane {

namespace {
inline void DeleteBitmap(HBITMAP bitmap)
{
    ::DeleteObject(bitmap);
}
using CBitmap = CUniqueHandle<HBITMAP, DeleteBitmap>;
} // namespace

bool CImageList::Create(int width, int height, UINT flags, int initial, int grow)
{
    Reset();
    list_ = ::ImageList_Create(width, height, flags, initial, grow);
    return list_ != nullptr;
}

int CImageList::AddMasked(HBITMAP strip, COLORREF transparent)
{
    if (!list_ || !strip)
        return -1;
    return ::ImageList_AddMasked(list_, strip, transparent);
}

int CImageList::AddMaskedResource(HINSTANCE module, UINT bitmapId, COLORREF transparent)
{
    CBitmap strip(static_cast<HBITMAP>(
        ::LoadImageW(module, MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    return AddMasked(strip.Get(), transparent);
}

int CImageList::Count() const
{
    return list_ ? ::ImageList_GetImageCount(list_) : 0;
}

void CImageList::Reset()
{
    if (list_)
        ::ImageList_Destroy(list_);
    list_ = nullptr;
}

UINT CImageList::ColourFlag(int bitsPerPixel)
{
    if (bitsPerPixel >= 32)
        return ILC_COLOR32;
    if (bitsPerPixel >= 24)
        return ILC_COLOR24;
    if (bitsPerPixel >= 16)
        return ILC_COLOR16;
    if (bitsPerPixel >= 8)
        return ILC_COLOR8;
    if (bitsPerPixel >= 4)
        return ILC_COLOR4;
    return ILC_COLOR;
}

} // namespace corvane
