// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/raster.h"

#include <algorithm>
#include <array>

namespace tarvok::platform {

namespace {

// The classic desktop scheme, with the station's own face colour for buttons
// so that pictures painted on the window colour match it.
constexpr std::array<ColorRef, 25> SysColors = {
    rgb(0xC8, 0xC8, 0xC8), // scrollbar
    rgb(0x00, 0x00, 0x00), // background
    rgb(0x00, 0x00, 0x80), // active caption
    rgb(0x80, 0x80, 0x80), // inactive caption
    rgb(0xDF, 0xDF, 0xDE), // menu
    rgb(0xFF, 0xFF, 0xFF), // window
    rgb(0x00, 0x00, 0x00), // window frame
    rgb(0x00, 0x00, 0x00), // menu text
    rgb(0x00, 0x00, 0x00), // window text
    rgb(0xFF, 0xFF, 0xFF), // caption text
    rgb(0xDF, 0xDF, 0xDE), // active border
    rgb(0xDF, 0xDF, 0xDE), // inactive border
    rgb(0x80, 0x80, 0x80), // application workspace
    rgb(0x00, 0x00, 0x80), // highlight
    rgb(0xFF, 0xFF, 0xFF), // highlight text
    rgb(0xDF, 0xDF, 0xDE), // button face
    rgb(0x80, 0x80, 0x80), // button shadow
    rgb(0x80, 0x80, 0x80), // grey text
    rgb(0x00, 0x00, 0x00), // button text
    rgb(0xC0, 0xC0, 0xC0), // inactive caption text
    rgb(0xFF, 0xFF, 0xFF), // button highlight
    rgb(0x40, 0x40, 0x40), // 3-D dark shadow
    rgb(0xF0, 0xF0, 0xF0), // 3-D light
    rgb(0x00, 0x00, 0x00), // tooltip text
    rgb(0xFF, 0xFF, 0xE1), // tooltip background
};

constexpr QRgb White24 = 0x00FFFFFFu;
constexpr QRgb Opaque = 0xFF000000u;

struct RowJob {
    uchar* dst;
    const uchar* src;
    int dx0, dx1; // destination columns to write, already clipped
    int x, w;     // destination rectangle's left and width
    int sx, sw;   // source rectangle's left and width
    QRgb bk;      // source background in 24-bit form, for colour to monochrome
};

inline bool monoBit(const uchar* line, int x)
{
    return (line[x >> 3] >> (x & 7)) & 1;
}

inline void setMonoBit(uchar* line, int x, bool on)
{
    const uchar bit = uchar(1u << (x & 7));
    if (on)
        line[x >> 3] |= bit;
    else
        line[x >> 3] &= uchar(~bit);
}

template <RasterOp Op>
inline QRgb combine(QRgb dst, QRgb src)
{
    if constexpr (Op == RasterOp::SrcCopy)
        return src;
    else if constexpr (Op == RasterOp::NotSrcCopy)
        return ~src & White24;
    else if constexpr (Op == RasterOp::SrcAnd)
        return dst & src;
    else
        return dst | src;
}

inline int stretchedColumn(int dx, int x, int w, int sx, int sw)
{
    // Centre of the destination pixel mapped into the source.
    return sx + int((std::int64_t(2 * (dx - x) + 1) * sw) / (std::int64_t(2) * w));
}

template <bool SrcMono, bool DstMono, RasterOp Op, bool Stretch>
void blitRow(const RowJob& j)
{
    const auto* s32 = reinterpret_cast<const QRgb*>(j.src);
    auto* d32 = reinterpret_cast<QRgb*>(j.dst);
    const int offset = j.sx - j.x;
    for (int dx = j.dx0; dx < j.dx1; ++dx) {
        const int sxi = Stretch ? stretchedColumn(dx, j.x, j.w, j.sx, j.sw) : dx + offset;
        QRgb v;
        if constexpr (SrcMono) {
            v = monoBit(j.src, sxi) ? White24 : 0u;
        } else {
            v = s32[sxi] & White24;
            if constexpr (DstMono)
                v = v == j.bk ? White24 : 0u;
        }
        if constexpr (DstMono) {
            const QRgb cur = monoBit(j.dst, dx) ? White24 : 0u;
            setMonoBit(j.dst, dx, combine<Op>(cur, v) != 0);
        } else {
            d32[dx] = combine<Op>(d32[dx] & White24, v) | Opaque;
        }
    }
}

using RowFn = void (*)(const RowJob&);

template <bool SrcMono, bool DstMono, bool Stretch>
RowFn pickOp(RasterOp op)
{
    switch (op) {
    case RasterOp::SrcCopy:
        return &blitRow<SrcMono, DstMono, RasterOp::SrcCopy, Stretch>;
    case RasterOp::NotSrcCopy:
        return &blitRow<SrcMono, DstMono, RasterOp::NotSrcCopy, Stretch>;
    case RasterOp::SrcAnd:
        return &blitRow<SrcMono, DstMono, RasterOp::SrcAnd, Stretch>;
    case RasterOp::SrcPaint:
        break;
    }
    return &blitRow<SrcMono, DstMono, RasterOp::SrcPaint, Stretch>;
}

template <bool Stretch>
RowFn pickRow(bool srcMono, bool dstMono, RasterOp op)
{
    if (srcMono)
        return dstMono ? pickOp<true, true, Stretch>(op) : pickOp<true, false, Stretch>(op);
    return dstMono ? pickOp<false, true, Stretch>(op) : pickOp<false, false, Stretch>(op);
}

void blit(Surface& dstSurface, int x, int y, int w, int h, const Surface& srcSurface, int sx,
          int sy, int sw, int sh, RasterOp op)
{
    Raster* dst = dstSurface.selected();
    const Raster* src = srcSurface.selected();
    if (!dst || !src || dst->isNull() || src->isNull() || w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return;
    const bool stretch = w != sw || h != sh;
    QImage& dimg = dst->image();
    const QImage& simg = src->image();
    const int dW = dimg.width(), dH = dimg.height();
    const int sW = simg.width(), sH = simg.height();

    // Columns whose destination and source both lie inside their rasters;
    // the mapping is monotonic, so they form one run.
    int dx0 = std::max(x, 0);
    int dx1 = std::min(x + w, dW);
    if (stretch) {
        while (dx0 < dx1 && stretchedColumn(dx0, x, w, sx, sw) < 0)
            ++dx0;
        while (dx1 > dx0 && stretchedColumn(dx1 - 1, x, w, sx, sw) >= sW)
            --dx1;
    } else {
        dx0 = std::max(dx0, x - sx);
        dx1 = std::min(dx1, x - sx + sW);
    }
    if (dx0 >= dx1)
        return;

    const RowFn row = stretch ? pickRow<true>(src->isMonochrome(), dst->isMonochrome(), op)
                              : pickRow<false>(src->isMonochrome(), dst->isMonochrome(), op);
    RowJob job{nullptr, nullptr, dx0, dx1, x, w, sx, sw,
               toQRgb(colorToRgb(srcSurface.bkColor())) & White24};
    const int dy0 = std::max(y, 0);
    const int dy1 = std::min(y + h, dH);
    for (int dy = dy0; dy < dy1; ++dy) {
        const int syi = stretch ? sy + int((std::int64_t(2 * (dy - y) + 1) * sh) / (std::int64_t(2) * h))
                                : sy + (dy - y);
        if (syi < 0 || syi >= sH)
            continue;
        job.dst = dimg.scanLine(dy);
        job.src = simg.constScanLine(syi);
        row(job);
    }
}

} // namespace

ColorRef sysColor(int index)
{
    if (index < 0 || index >= int(SysColors.size()))
        return 0;
    return SysColors[std::size_t(index)];
}

ColorRef colorToRgb(ColorRef color)
{
    if (color & SystemColorBit)
        return sysColor(int(color & 0xFFu));
    return color;
}

Raster Raster::colour(int width, int height)
{
    QImage image(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    image.fill(Opaque);
    return Raster(std::move(image));
}

Raster Raster::monochrome(int width, int height)
{
    QImage image(std::max(width, 0), std::max(height, 0), QImage::Format_MonoLSB);
    if (!image.isNull()) {
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        image.fill(0u);
    }
    return Raster(std::move(image));
}

Raster Raster::fromImage(const QImage& image)
{
    return Raster(image.convertToFormat(QImage::Format_RGB32));
}

void Raster::fill(ColorRef c)
{
    if (m_image.isNull())
        return;
    if (isMonochrome())
        m_image.fill(c != 0 ? 1u : 0u);
    else
        m_image.fill(toQRgb(colorToRgb(c)));
}

void bitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
            RasterOp op)
{
    blit(dst, x, y, w, h, src, sx, sy, w, h, op);
}

void stretchBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                int sw, int sh, RasterOp op)
{
    blit(dst, x, y, w, h, src, sx, sy, sw, sh, op);
}

} // namespace tarvok::platform
