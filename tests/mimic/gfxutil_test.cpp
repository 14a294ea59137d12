// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "mimic/gfxutil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvok::mimic {
namespace {

using platform::Raster;
using platform::rgb;
using platform::Surface;

constexpr Color Teal = rgb(0x00, 0x80, 0x80);

// One letter per pixel colour in the fixtures and the expected pictures.
Color colourOf(char c)
{
    switch (c) {
    case 'T': return Teal;
    case 'O': return rgb(0x00, 0x80, 0x81); // one bit away from Teal
    case 'R': return rgb(0xFF, 0x00, 0x00);
    case 'G': return rgb(0x00, 0xFF, 0x00);
    case 'B': return rgb(0x00, 0x00, 0xFF);
    case 'F': return rgb(0xDF, 0xDF, 0xDE); // the button face system colour
    default: return rgb(0x40, 0x40, 0x40);  // '.': the target's own pixels
    }
}

Raster picture(const std::vector<std::string>& rows)
{
    Raster r = Raster::colour(int(rows.front().size()), int(rows.size()));
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            r.image().setPixel(int(x), int(y), platform::toQRgb(colourOf(rows[y][x])));
    return r;
}

const std::vector<std::string> Sprite = {"TROF", "GTBF"};
const std::vector<std::string> Background = {"........", "........", "........", "........"};

struct KeyedCase {
    const char* name;
    Color colour;
    int x, y, w, h;
    Rect source;
    std::vector<std::string> expected;
};

class DrawBitmapKeyedCases : public testing::TestWithParam<KeyedCase> {};

TEST_P(DrawBitmapKeyedCases, TargetPixelsAndBitmapUnchanged)
{
    const KeyedCase& c = GetParam();
    const Raster bitmap = picture(Sprite);
    const QImage before = bitmap.image().copy();
    Raster target = picture(Background);
    Surface canvas(target);

    DrawBitmapKeyed(canvas, c.x, c.y, c.w, c.h, c.source, bitmap, c.colour);

    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x)
            EXPECT_EQ(platform::fromQRgb(target.image().pixel(x, y)),
                      colourOf(c.expected[std::size_t(y)][std::size_t(x)]))
                << "at " << x << "," << y;
    EXPECT_EQ(bitmap.image(), before);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, DrawBitmapKeyedCases,
    testing::Values(
        KeyedCase{"OpaqueWholeNaturalSize", ColorNone, 1, 1, 0, 0, {},
                  {"........", ".TROF...", ".GTBF...", "........"}},
        KeyedCase{"OpaqueStretched", ColorNone, 0, 0, 8, 4, {},
                  {"TTRROOFF", "TTRROOFF", "GGTTBBFF", "GGTTBBFF"}},
        KeyedCase{"OpaqueWidthWithoutHeightIsNatural", ColorNone, 0, 0, 8, 0, {},
                  {"TROF....", "GTBF....", "........", "........"}},
        KeyedCase{"OpaqueSourceRectangle", ColorNone, 2, 1, 0, 0, {1, 0, 3, 2},
                  {"........", "..RO....", "..TB....", "........"}},
        KeyedCase{"TealKeepsTarget", Teal, 1, 1, 0, 0, {},
                  {"........", "..ROF...", ".G.BF...", "........"}},
        KeyedCase{"TealWidthWithoutHeightIsNatural", Teal, 0, 0, 8, 0, {},
                  {".ROF....", "G.BF....", "........", "........"}},
        KeyedCase{"TealStretched", Teal, 0, 0, 8, 4, {},
                  {"..RROOFF", "..RROOFF", "GG..BBFF", "GG..BBFF"}},
        KeyedCase{"TopRowClippedAtMinusOne", Teal, 0, -1, 0, 0, {},
                  {"G.BF....", "........", "........", "........"}},
        KeyedCase{"SourceRectangleRow", Teal, 1, 1, 0, 0, {0, 1, 4, 2},
                  {"........", ".G.BF...", "........", "........"}},
        KeyedCase{"SourcePastEdgeClipped", Teal, 0, 0, 0, 0, {2, 0, 10, 10},
                  {"OF......", "BF......", "........", "........"}},
        KeyedCase{"SystemColour", platform::systemColor(platform::ColorBtnFace), 1, 1, 0, 0, {},
                  {"........", ".TRO....", ".GTB....", "........"}},
        KeyedCase{"PaletteFlagIgnored", Teal | platform::PaletteRelativeBit, 1, 1, 0, 0, {},
                  {"........", "..ROF...", ".G.BF...", "........"}},
        KeyedCase{"PastTargetRightEdge", Teal, 6, 2, 0, 0, {},
                  {"........", "........", ".......R", "......G."}},
        // A zero height falls back to the bitmap's size from the given origin;
        // what then lies past the bitmap's edge keeps the target.
        KeyedCase{"FallbackPastEdgeKeepsTarget", Teal, 0, 0, 0, 0, {2, 0, 4, 0},
                  {"OF......", "BF......", "........", "........"}},
        KeyedCase{"RectangleBeyondBitmapDrawsNothing", Teal, 0, 0, 0, 0, {5, 0, 7, 2},
                  {"........", "........", "........", "........"}}),
    [](const testing::TestParamInfo<KeyedCase>& info) { return std::string(info.param.name); });

// MaskedBlit borrows its source for the mask arithmetic; it must give it
// back as it came, also for a part of the bitmap and a stretched draw.
TEST(MaskedBlit, RestoresItsSourceBitmap)
{
    Raster bitmap = picture(Sprite);
    const QImage before = bitmap.image().copy();
    Raster target = picture(Background);
    Surface canvas(target);

    MaskedBlit(canvas, bitmap, 0, 0, 0, 0, Rect{}, Teal);
    EXPECT_EQ(bitmap.image(), before);
    MaskedBlit(canvas, bitmap, 1, 0, 6, 4, Rect{1, 0, 4, 2}, Teal);
    EXPECT_EQ(bitmap.image(), before);
    EXPECT_EQ(target.image(), picture({".RROOFF.", "GRROOFF.", "...BBFF.", "...BBFF."}).image());
}

TEST(Helpers, LargerSmallerAndRectangleSize)
{
    EXPECT_EQ(Larger(-3, 2), 2);
    EXPECT_EQ(Smaller(-3, 2), -3);
    EXPECT_EQ(RectWidth(Rect{2, 5, -1, 9}), -3);
    EXPECT_EQ(RectHeight(Rect{2, 5, -1, 9}), 4);
}

} // namespace
} // namespace tarvok::mimic
