// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "platform/raster.h"

#include <cstdint>

namespace tarvok::mimic {

using Color = platform::ColorRef;

// "No colour is transparent".
inline constexpr Color ColorNone = 0x1FFFFFFFu;

struct Rect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
};

inline constexpr std::int32_t Larger(std::int32_t a, std::int32_t b) { return a > b ? a : b; }
inline constexpr std::int32_t Smaller(std::int32_t a, std::int32_t b) { return a < b ? a : b; }
inline constexpr std::int32_t RectWidth(const Rect& r) { return r.Right - r.Left; }
inline constexpr std::int32_t RectHeight(const Rect& r) { return r.Bottom - r.Top; }

// Copies the source rectangle of source (the empty rectangle: all of it) to
// target at (X, Y), scaled to W x H (W or H 0: natural size), leaving the
// target alone wherever the source pixel is transparentRgb. Uses source as
// scratch space during the call and restores it before returning.
void MaskedBlit(platform::Surface& target, platform::Raster& source, int X, int Y, int W, int H,
                const Rect& sourceRect, Color transparentRgb);

// Draws bitmap (or its sourceRect) on the canvas at (X, Y), stretched to
// W x H when both are non-zero, with colour transparent unless it is
// ColorNone. Colour may name a system colour and carry the palette flag.
// The caller's bitmap is never touched.
void DrawBitmapKeyed(platform::Surface& canvas, int X, int Y, int W, int H, const Rect& sourceRect,
                     const platform::Raster& bitmap, Color colour);

// The whole bitmap at natural size.
void DrawWholeBitmapKeyed(platform::Surface& canvas, int X, int Y, const platform::Raster& bitmap,
                          Color colour);

} // namespace tarvok::mimic
