// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include <QImage>
#include <QRgb>

#include <cstdint>

namespace tarvok::platform {

// A colour as the drawing code passes it around: 0x00BBGGRR for a plain RGB
// value; with the top bit set the low byte names a system colour instead.
using ColorRef = std::uint32_t;

inline constexpr ColorRef SystemColorBit = 0x80000000u;
inline constexpr ColorRef PaletteRelativeBit = 0x02000000u;

inline constexpr ColorRef rgb(int r, int g, int b)
{
    return ColorRef(r & 0xFF) | (ColorRef(g & 0xFF) << 8) | (ColorRef(b & 0xFF) << 16);
}
inline constexpr ColorRef systemColor(int index)
{
    return SystemColorBit | ColorRef(index & 0xFF);
}
// 0x00BBGGRR <-> the 0xAARRGGBB the pixels are stored in.
inline constexpr QRgb toQRgb(ColorRef c)
{
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline constexpr ColorRef fromQRgb(QRgb p)
{
    return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}

// The system colour indices the program knows; any other index reads as black.
enum SysColorIndex : int {
    ColorScrollbar = 0,
    ColorBackground = 1,
    ColorActiveCaption = 2,
    ColorInactiveCaption = 3,
    ColorMenu = 4,
    ColorWindow = 5,
    ColorWindowFrame = 6,
    ColorMenuText = 7,
    ColorWindowText = 8,
    ColorCaptionText = 9,
    ColorActiveBorder = 10,
    ColorInactiveBorder = 11,
    ColorAppWorkspace = 12,
    ColorHighlight = 13,
    ColorHighlightText = 14,
    ColorBtnFace = 15,
    ColorBtnShadow = 16,
    ColorGrayText = 17,
    ColorBtnText = 18,
    ColorInactiveCaptionText = 19,
    ColorBtnHighlight = 20,
    Color3dDkShadow = 21,
    Color3dLight = 22,
    ColorInfoText = 23,
    ColorInfoBk = 24,
};

// The current RGB (0x00BBGGRR) of a system colour index.
ColorRef sysColor(int index);

// A system colour reference becomes that colour's current RGB; every other
// value is returned as it is.
ColorRef colorToRgb(ColorRef color);

// A pixel store: either a colour raster (24-bit RGB held as RGB32) or a
// monochrome one (one bit per pixel, 1 = white). New rasters are black.
class Raster {
public:
    Raster() = default;
    static Raster colour(int width, int height);
    static Raster monochrome(int width, int height);
    // Takes the pixels of an existing picture as a colour raster.
    static Raster fromImage(const QImage& image);

    bool isNull() const { return m_image.isNull(); }
    bool isMonochrome() const { return m_image.format() == QImage::Format_MonoLSB; }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }

    // Direct access for painting on the raster; keep the size and format.
    QImage& image() { return m_image; }
    const QImage& image() const { return m_image; }

    // Sets every pixel: colour rasters to c, monochrome ones to 1 when c is
    // not black.
    void fill(ColorRef c);

private:
    explicit Raster(QImage image) : m_image(std::move(image)) {}
    QImage m_image;
};

// Only device pixels are used as logical units.
enum class MapMode { Pixels };

// A drawing surface with at most one raster selected into it, its background
// colour (what colour-to-monochrome copies turn into white) and its mapping
// mode. Surfaces do not own their rasters.
class Surface {
public:
    Surface() = default;
    explicit Surface(Raster& raster) : m_raster(&raster) {}
    // A surface that is only ever read from: blits never write their source.
    static const Surface reading(const Raster& raster)
    {
        return Surface(const_cast<Raster&>(raster));
    }

    // A new memory surface of the same kind as this one, nothing selected.
    Surface compatible() const { return Surface(); }

    // Returns the raster that was selected before.
    Raster* select(Raster* raster)
    {
        Raster* previous = m_raster;
        m_raster = raster;
        return previous;
    }
    Raster* selected() const { return m_raster; }

    // Returns the previous background colour.
    ColorRef setBkColor(ColorRef c)
    {
        const ColorRef previous = m_bk;
        m_bk = c;
        return previous;
    }
    ColorRef bkColor() const { return m_bk; }

    MapMode mapMode() const { return m_mapMode; }
    void setMapMode(MapMode mode) { m_mapMode = mode; }

private:
    Raster* m_raster = nullptr;
    ColorRef m_bk = rgb(255, 255, 255);
    MapMode m_mapMode = MapMode::Pixels;
};

enum class RasterOp {
    SrcCopy,    // dst = src
    NotSrcCopy, // dst = NOT src
    SrcAnd,     // dst = dst AND src
    SrcPaint,   // dst = dst OR src
};

// Copies src's (sx, sy, w, h) to dst's (x, y) with op. Between raster kinds:
// colour to monochrome gives 1 where the source pixel equals the source
// surface's background colour and 0 elsewhere; monochrome to colour reads 1
// as white (all bits set) and 0 as black. Pixels whose source or destination
// lies outside its raster are left alone. No-op without a selected raster.
void bitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
            RasterOp op);

// As bitBlt, scaling src's (sx, sy, sw, sh) to dst's (x, y, w, h) by nearest
// pixel. Non-positive sizes draw nothing.
void stretchBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                int sw, int sh, RasterOp op);

} // namespace tarvok::platform
