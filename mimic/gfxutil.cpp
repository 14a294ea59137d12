// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "mimic/gfxutil.h"

namespace tarvok::mimic {

using platform::bitBlt;
using platform::Raster;
using platform::RasterOp;
using platform::stretchBlt;
using platform::Surface;

void MaskedBlit(Surface& target, Raster& source, int X, int Y, int W, int H,
                const Rect& sourceRect, Color transparentRgb)
{
    Surface srcDC = target.compatible();
    Raster* const srcOld = srcDC.select(&source);
    const int bmW = source.width();
    const int bmH = source.height();

    int srcW = Smaller(RectWidth(sourceRect), bmW - sourceRect.Left);
    int srcH = Smaller(RectHeight(sourceRect), bmH - sourceRect.Top);
    if (srcW == 0 || srcH == 0) {
        srcW = bmW;
        srcH = bmH;
    }
    // Left or Top past the bitmap's edge, or Right < Left, names no pixels:
    // there is nothing to draw (and no raster of negative size to make).
    if (srcW <= 0 || srcH <= 0) {
        srcDC.select(srcOld);
        return;
    }
    if (W == 0 || H == 0) {
        W = srcW;
        H = srcH;
    }

    Raster mask = Raster::monochrome(srcW, srcH);
    Raster inverse = Raster::monochrome(srcW, srcH);
    Raster work = Raster::colour(W, H);
    Raster save = Raster::colour(bmW, bmH);
    Surface maskDC = target.compatible();
    Surface invDC = target.compatible();
    Surface workDC = target.compatible();
    Surface saveDC = target.compatible();
    Raster* const maskOld = maskDC.select(&mask);
    Raster* const invOld = invDC.select(&inverse);
    Raster* const workOld = workDC.select(&work);
    Raster* const saveOld = saveDC.select(&save);
    srcDC.setMapMode(target.mapMode());

    bitBlt(saveDC, 0, 0, bmW, bmH, srcDC, 0, 0, RasterOp::SrcCopy);

    // Parts of the area that lie past the bitmap's edge have no pixel to
    // convert; starting the mask transparent keeps the target there.
    mask.fill(platform::rgb(255, 255, 255));
    const Color oldBk = srcDC.setBkColor(transparentRgb);
    bitBlt(maskDC, 0, 0, srcW, srcH, srcDC, sourceRect.Left, sourceRect.Top, RasterOp::SrcCopy);
    srcDC.setBkColor(oldBk);

    bitBlt(invDC, 0, 0, srcW, srcH, maskDC, 0, 0, RasterOp::NotSrcCopy);

    bitBlt(workDC, 0, 0, W, H, target, X, Y, RasterOp::SrcCopy);
    stretchBlt(workDC, 0, 0, W, H, maskDC, 0, 0, srcW, srcH, RasterOp::SrcAnd);
    bitBlt(srcDC, sourceRect.Left, sourceRect.Top, srcW, srcH, invDC, 0, 0, RasterOp::SrcAnd);
    stretchBlt(workDC, 0, 0, W, H, srcDC, sourceRect.Left, sourceRect.Top, srcW, srcH,
               RasterOp::SrcPaint);
    bitBlt(target, X, Y, W, H, workDC, 0, 0, RasterOp::SrcCopy);

    bitBlt(srcDC, 0, 0, bmW, bmH, saveDC, 0, 0, RasterOp::SrcCopy);

    saveDC.select(saveOld);
    workDC.select(workOld);
    invDC.select(invOld);
    maskDC.select(maskOld);
    srcDC.select(srcOld);
}

void DrawBitmapKeyed(Surface& canvas, int X, int Y, int W, int H, const Rect& sourceRect,
                     const Raster& bitmap, Color colour)
{
    // The temporary bitmap is a local: it is released on every way out.
    Raster temp;
    Rect area{0, 0, bitmap.width(), bitmap.height()};
    const Surface bitmapDC = Surface::reading(bitmap);

    if (colour == ColorNone) {
        if (RectWidth(sourceRect) != 0 && RectHeight(sourceRect) != 0)
            area = sourceRect;
        temp = Raster::colour(RectWidth(area), RectHeight(area));
        Surface tempDC(temp);
        bitBlt(tempDC, 0, 0, temp.width(), temp.height(), bitmapDC, area.Left, area.Top,
               RasterOp::SrcCopy);
        if (W != 0 && H != 0)
            stretchBlt(canvas, X, Y, W, H, tempDC, 0, 0, temp.width(), temp.height(),
                       RasterOp::SrcCopy);
        else
            bitBlt(canvas, X, Y, temp.width(), temp.height(), tempDC, 0, 0, RasterOp::SrcCopy);
        return;
    }

    temp = Raster::colour(bitmap.width(), bitmap.height());
    Surface tempDC(temp);
    bitBlt(tempDC, 0, 0, temp.width(), temp.height(), bitmapDC, 0, 0, RasterOp::SrcCopy);
    const Color transparentRgb = platform::colorToRgb(colour & ~platform::PaletteRelativeBit);
    MaskedBlit(canvas, temp, X, Y, W, H, sourceRect, transparentRgb);
}

void DrawWholeBitmapKeyed(Surface& canvas, int X, int Y, const Raster& bitmap, Color colour)
{
    DrawBitmapKeyed(canvas, X, Y, 0, 0, Rect{0, 0, 0, 0}, bitmap, colour);
}

} // namespace tarvok::mimic
