// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/raster.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <vector>

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

// Pixel memory of released rasters is kept for the next ones. Drawing code
// creates and releases its scratch rasters on every call, and fresh
// allocations of this size would go back to the system each time and fault
// in page by page on the next call.
class PixelPool {
public:
    static PixelPool& instance()
    {
        // Never destroyed: rasters released during shutdown still return here.
        static PixelPool* const pool = new PixelPool;
        return *pool;
    }

    // Returns a block of at least `bytes` usable bytes after its header.
    uchar* take(std::size_t bytes)
    {
        {
            std::lock_guard lock(m_mutex);
            auto best = m_free.end();
            for (auto it = m_free.begin(); it != m_free.end(); ++it)
                if (capacity(*it) >= bytes && (best == m_free.end() || capacity(*it) < capacity(*best)))
                    best = it;
            if (best != m_free.end()) {
                uchar* block = *best;
                m_free.erase(best);
                return block;
            }
        }
        auto* block = static_cast<uchar*>(::operator new(Header + bytes, std::align_val_t(64)));
        std::memcpy(block, &bytes, sizeof bytes);
        return block;
    }

    void give(uchar* block)
    {
        {
            std::lock_guard lock(m_mutex);
            if (capacity(block) <= MaxCachedBytes) {
                if (m_free.size() < MaxCached) {
                    m_free.push_back(block);
                    return;
                }
                // Keep the larger blocks: they serve every request.
                auto smallest = std::min_element(m_free.begin(), m_free.end(),
                    [](uchar* a, uchar* b) { return capacity(a) < capacity(b); });
                if (capacity(*smallest) < capacity(block))
                    std::swap(*smallest, block);
            }
        }
        ::operator delete(block, std::align_val_t(64));
    }

    static constexpr std::size_t Header = 64;

private:
    static std::size_t capacity(const uchar* block)
    {
        std::size_t bytes;
        std::memcpy(&bytes, block, sizeof bytes);
        return bytes;
    }

    static constexpr std::size_t MaxCached = 16;
    static constexpr std::size_t MaxCachedBytes = std::size_t(8) << 20;

    std::mutex m_mutex;
    std::vector<uchar*> m_free;
};

void releasePixels(void* block)
{
    PixelPool::instance().give(static_cast<uchar*>(block));
}

QImage pooledImage(int width, int height, QImage::Format format, int depth)
{
    if (width <= 0 || height <= 0)
        return QImage();
    const qsizetype bytesPerLine = ((qsizetype(width) * depth + 31) / 32) * 4;
    uchar* block = PixelPool::instance().take(std::size_t(bytesPerLine) * std::size_t(height));
    return QImage(block + PixelPool::Header, width, height, bytesPerLine, format, &releasePixels,
                  block);
}

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

template <RasterOp Op>
inline uchar combineBits(uchar dst, uchar src)
{
    return uchar(combine<Op>(dst, src) & 0xFFu);
}

// Whole bytes where eight pixels of both rows line up; returns the first
// column left for the pixel loop.
template <bool SrcMono, bool DstMono, RasterOp Op>
int blitBytes(const RowJob& j, int offset)
{
    int dx = j.dx0;
    if ((dx & 7) != 0)
        return dx;
    const int end = j.dx1 & ~7;
    if constexpr (SrcMono && DstMono) {
        if ((offset & 7) != 0)
            return dx;
        if constexpr (Op == RasterOp::SrcCopy) {
            if (end > dx)
                std::memcpy(j.dst + (dx >> 3), j.src + ((dx + offset) >> 3), std::size_t((end - dx) >> 3));
            return std::max(dx, end);
        } else {
            for (; dx < end; dx += 8)
                j.dst[dx >> 3] = combineBits<Op>(j.dst[dx >> 3], j.src[(dx + offset) >> 3]);
        }
    } else if constexpr (!SrcMono && DstMono) {
        const auto* s32 = reinterpret_cast<const QRgb*>(j.src) + offset;
        for (; dx < end; dx += 8) {
            uchar bits = 0;
            for (int i = 0; i < 8; ++i)
                bits |= uchar(((s32[dx + i] & White24) == j.bk) << i);
            j.dst[dx >> 3] = combineBits<Op>(j.dst[dx >> 3], bits);
        }
    }
    return dx;
}

template <bool SrcMono, bool DstMono, RasterOp Op, bool Stretch>
void blitRow(const RowJob& j)
{
    const auto* s32 = reinterpret_cast<const QRgb*>(j.src);
    auto* d32 = reinterpret_cast<QRgb*>(j.dst);
    const int offset = j.sx - j.x;
    int start = j.dx0;
    if constexpr (!Stretch && !SrcMono && !DstMono && Op == RasterOp::SrcCopy) {
        std::memcpy(d32 + j.dx0, s32 + j.dx0 + offset, std::size_t(j.dx1 - j.dx0) * sizeof(QRgb));
        return;
    } else if constexpr (!Stretch && DstMono) {
        start = blitBytes<SrcMono, DstMono, Op>(j, offset);
    } else if constexpr (!Stretch && SrcMono && !DstMono) {
        // Monochrome onto colour: 1 is all colour bits set, 0 none.
        for (int dx = j.dx0; dx < j.dx1; ++dx) {
            const QRgb v = QRgb(-QRgb(monoBit(j.src, dx + offset))) & White24;
            d32[dx] = combine<Op>(d32[dx] & White24, v) | Opaque;
        }
        return;
    }
    for (int dx = start; dx < j.dx1; ++dx) {
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
    QImage image = pooledImage(width, height, QImage::Format_RGB32, 32);
    if (!image.isNull())
        image.fill(Opaque);
    return Raster(std::move(image));
}

Raster Raster::monochrome(int width, int height)
{
    QImage image = pooledImage(width, height, QImage::Format_MonoLSB, 1);
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
