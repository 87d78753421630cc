#pragma once
// Owning image list (HIMAGELIST): destroyed with its owner, never by the control that shows it.

#include <windows.h>

#include <commctrl.h>

namespace corvane {

class CImageList
{
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() { Reset(); }

    // Creates an empty list; flags are ILC_* (colour depth, mask). False when the list was not made.
    bool Create(int width, int height, UINT flags, int initial, int grow);

    // Adds every image of a bitmap strip, the given colour being transparent; the index of the first
    // image added, or -1. The bitmap stays the caller's.
    int AddMasked(HBITMAP strip, COLORREF transparent);

    // Loads a bitmap strip from the module's resources and adds it masked; -1 when it does not load.
    int AddMaskedResource(HINSTANCE module, UINT bitmapId, COLORREF transparent);

    int Count() const;
    HIMAGELIST Get() const { return list_; }
    void Reset();

    // The ILC_COLOR* flag for a screen of the given bits per pixel (0 when unknown).
    static UINT ColourFlag(int bitsPerPixel);

private:
    HIMAGELIST list_ = nullptr;
};

} // namespace corvane
