// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/raster.h"

#include <gtest/gtest.h>

namespace tarvok::platform {
namespace {

constexpr ColorRef Teal = rgb(0, 0x80, 0x80);
constexpr ColorRef Orange = rgb(0xF0, 0x80, 0x10);

Raster colourRow(std::initializer_list<ColorRef> pixels)
{
    Raster r = Raster::colour(int(pixels.size()), 1);
    int x = 0;
    for (ColorRef c : pixels)
        r.image().setPixel(x++, 0, toQRgb(c));
    return r;
}

ColorRef at(const Raster& r, int x, int y = 0)
{
    return fromQRgb(r.image().pixel(x, y));
}

TEST(ColourRefs, ByteOrderAndSystemColours)
{
    EXPECT_EQ(toQRgb(rgb(0x12, 0x34, 0x56)), 0xFF123456u);
    EXPECT_EQ(fromQRgb(0xFF123456u), 0x00563412u);
    EXPECT_EQ(colorToRgb(systemColor(ColorBtnFace)), rgb(0xDF, 0xDF, 0xDE));
    EXPECT_EQ(colorToRgb(Orange), Orange);
    EXPECT_EQ(colorToRgb(systemColor(200)), 0u);
}

// Colour to monochrome uses the source surface's background colour; back to
// colour, 1 is white and 0 black; the four operations combine bitwise.
TEST(Blits, MonochromeRoundTripAndOperations)
{
    Raster src = colourRow({Teal, Orange, rgb(0, 0x80, 0x81), Teal});
    Raster mono = Raster::monochrome(4, 1);
    Surface srcDC(src), monoDC(mono);
    srcDC.setBkColor(Teal);
    bitBlt(monoDC, 0, 0, 4, 1, srcDC, 0, 0, RasterOp::SrcCopy);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(mono.image().pixelIndex(x, 0), (x == 0 || x == 3) ? 1 : 0) << x;

    Raster inv = Raster::monochrome(4, 1);
    Surface invDC(inv);
    bitBlt(invDC, 0, 0, 4, 1, monoDC, 0, 0, RasterOp::NotSrcCopy);
    EXPECT_EQ(inv.image().pixelIndex(0, 0), 0);
    EXPECT_EQ(inv.image().pixelIndex(1, 0), 1);

    Raster dst = colourRow({Orange, Orange, Orange, Orange});
    Surface dstDC(dst);
    bitBlt(dstDC, 0, 0, 4, 1, monoDC, 0, 0, RasterOp::SrcAnd);
    EXPECT_EQ(at(dst, 0), Orange);
    EXPECT_EQ(at(dst, 1), 0u);
    bitBlt(dstDC, 0, 0, 4, 1, invDC, 0, 0, RasterOp::SrcPaint);
    EXPECT_EQ(at(dst, 0), Orange);
    EXPECT_EQ(at(dst, 1), rgb(255, 255, 255));
    bitBlt(dstDC, 0, 0, 4, 1, srcDC, 0, 0, RasterOp::NotSrcCopy);
    EXPECT_EQ(at(dst, 1), rgb(0x0F, 0x7F, 0xEF));
}

// Rows long enough for whole bytes of monochrome pixels, at offsets that
// line up with byte boundaries and ones that do not.
class MonochromeRows : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(MonochromeRows, EveryPixelAtAnyAlignment)
{
    const auto [dstX, srcX] = GetParam();
    constexpr int W = 37;
    Raster colour = Raster::colour(W + 8, 1);
    auto isKey = [](int x) { return (x * 7) % 5 < 2; };
    for (int x = 0; x < W + 8; ++x)
        colour.image().setPixel(x, 0, toQRgb(isKey(x) ? Teal : Orange));
    Surface colourDC(colour);
    colourDC.setBkColor(Teal);

    Raster mask = Raster::monochrome(W + 16, 1);
    Surface maskDC(mask);
    bitBlt(maskDC, dstX, 0, W, 1, colourDC, srcX, 0, RasterOp::SrcCopy);
    Raster inverse = Raster::monochrome(W + 16, 1);
    Surface inverseDC(inverse);
    inverse.fill(rgb(255, 255, 255));
    bitBlt(inverseDC, 0, 0, W + 16, 1, maskDC, 0, 0, RasterOp::NotSrcCopy);
    Raster back = Raster::colour(W + 16, 1);
    back.fill(Orange);
    Surface backDC(back);
    bitBlt(backDC, 0, 0, W + 16, 1, inverseDC, 0, 0, RasterOp::SrcAnd);

    for (int x = 0; x < W + 16; ++x) {
        const bool inside = x >= dstX && x < dstX + W;
        const bool key = inside && isKey(x - dstX + srcX);
        ASSERT_EQ(mask.image().pixelIndex(x, 0), key ? 1 : 0) << x;
        ASSERT_EQ(inverse.image().pixelIndex(x, 0), key ? 0 : 1) << x;
        ASSERT_EQ(at(back, x), key ? 0u : Orange) << x;
    }
}

INSTANTIATE_TEST_SUITE_P(Offsets, MonochromeRows,
                         testing::Values(std::pair{0, 0}, std::pair{8, 0}, std::pair{0, 8},
                                         std::pair{3, 0}, std::pair{0, 5}, std::pair{11, 3}));

struct ClipCase {
    const char* name;
    int x, y, w, h, sx, sy;
    int sw, sh; // 0: plain block copy
    std::vector<int> expected; // 4 x 3 destination, source pixel index or -1 untouched
};

class BlitClipping : public testing::TestWithParam<ClipCase> {};

TEST_P(BlitClipping, WritesOnlyWhereBothSidesExist)
{
    const ClipCase& c = GetParam();
    // Source 3 x 2 with distinct pixels 1..6; destination 4 x 3 of zeros.
    Raster src = Raster::colour(3, 2);
    for (int i = 0; i < 6; ++i)
        src.image().setPixel(i % 3, i / 3, toQRgb(ColorRef(i + 1)));
    constexpr ColorRef Untouched = rgb(9, 9, 9);
    Raster dst = Raster::colour(4, 3);
    dst.fill(Untouched);
    Surface s(src), d(dst);
    if (c.sw == 0)
        bitBlt(d, c.x, c.y, c.w, c.h, s, c.sx, c.sy, RasterOp::SrcCopy);
    else
        stretchBlt(d, c.x, c.y, c.w, c.h, s, c.sx, c.sy, c.sw, c.sh, RasterOp::SrcCopy);
    for (int i = 0; i < 12; ++i)
    {
        const int e = c.expected[std::size_t(i)];
        EXPECT_EQ(at(dst, i % 4, i / 4), e < 0 ? Untouched : ColorRef(e)) << "pixel " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlitClipping,
    testing::Values(
        ClipCase{"whole", 0, 0, 3, 2, 0, 0, 0, 0, {1, 2, 3, -1, 4, 5, 6, -1, -1, -1, -1, -1}},
        ClipCase{"aboveTop", 1, -1, 3, 2, 0, 0, 0, 0, {-1, 4, 5, 6, -1, -1, -1, -1, -1, -1, -1, -1}},
        ClipCase{"sourcePastEdge", 0, 1, 4, 2, 1, 0, 0, 0, {-1, -1, -1, -1, 2, 3, -1, -1, 5, 6, -1, -1}},
        ClipCase{"negativeSource", 0, 0, 2, 1, -1, 0, 0, 0, {-1, 1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}},
        ClipCase{"stretchDouble", 0, 0, 4, 2, 0, 0, 2, 1, {1, 1, 2, 2, 1, 1, 2, 2, -1, -1, -1, -1}},
        ClipCase{"stretchHalf", 0, 0, 1, 1, 1, 0, 2, 2, {6, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}},
        ClipCase{"zeroSize", 0, 0, 0, 2, 0, 0, 0, 0, {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}}),
    [](const testing::TestParamInfo<ClipCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace tarvok::platform
