// The owning image list and the event icon strips it is filled from.
#include "framework/ImageList.h"

#include "res/resource.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(CImageList, ColourFlagFollowsTheScreenDepth)
{
    EXPECT_EQ(static_cast<UINT>(ILC_COLOR32), CImageList::ColourFlag(32));
    EXPECT_EQ(static_cast<UINT>(ILC_COLOR24), CImageList::ColourFlag(24));
    EXPECT_EQ(static_cast<UINT>(ILC_COLOR16), CImageList::ColourFlag(16));
    EXPECT_EQ(static_cast<UINT>(ILC_COLOR8), CImageList::ColourFlag(8));
    EXPECT_EQ(static_cast<UINT>(ILC_COLOR4), CImageList::ColourFlag(4));
    EXPECT_EQ(static_cast<UINT>(ILC_COLOR), CImageList::ColourFlag(0));
}

TEST(CImageList, TheTwoEventStripsGiveTwentyFiveIconsEach)
{
    for (UINT strip : {IDB_EVENTS_256, IDB_EVENTS_16})
    {
        CImageList list;
        ASSERT_TRUE(list.Create(16, 16, ILC_MASK | ILC_COLOR8, 0, 5));
        EXPECT_EQ(0, list.AddMaskedResource(::GetModuleHandleW(nullptr), strip, RGB(255, 0, 255)))
            << "strip " << strip;
        EXPECT_EQ(28, list.Count()) << "strip " << strip;
        int width = 0;
        int height = 0;
        ASSERT_TRUE(::ImageList_GetIconSize(list.Get(), &width, &height));
        EXPECT_EQ(16, width);
        EXPECT_EQ(16, height);
    }
}

TEST(CImageList, MagentaIsTransparent)
{
    for (UINT depth : {ILC_COLOR8, ILC_COLOR24, ILC_COLOR32})
    {
        CImageList list;
        ASSERT_TRUE(list.Create(16, 16, ILC_MASK | depth, 0, 5));
        ASSERT_EQ(0, list.AddMaskedResource(::GetModuleHandleW(nullptr), IDB_EVENTS_256, RGB(255, 0, 255)));

        // Drawn over green, the strip's magenta corner shows the green through.
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP canvas = ::CreateCompatibleBitmap(screen, 16, 16);
        ::ReleaseDC(nullptr, screen);
        HGDIOBJ old = ::SelectObject(dc, canvas);
        RECT all{0, 0, 16, 16};
        HBRUSH green = ::CreateSolidBrush(RGB(0, 255, 0));
        ::FillRect(dc, &all, green);
        ::DeleteObject(green);
        EXPECT_TRUE(::ImageList_Draw(list.Get(), 0, dc, 0, 0, ILD_TRANSPARENT));
        EXPECT_EQ(RGB(0, 255, 0), ::GetPixel(dc, 0, 0)) << "depth flag " << depth;
        ::SelectObject(dc, old);
        ::DeleteObject(canvas);
        ::DeleteDC(dc);
    }
}

TEST(CImageList, AMissingBitmapAddsNothing)
{
    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_MASK | ILC_COLOR8, 0, 5));
    EXPECT_EQ(-1, list.AddMaskedResource(::GetModuleHandleW(nullptr), 9999, RGB(255, 0, 255)));
    EXPECT_EQ(0, list.Count());
}
