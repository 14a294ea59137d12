// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/jpeg_image.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace tarvok::platform {
namespace {

// libjpeg reports fatal errors through error_exit, which must not return.
// We jump back to decodeJpeg; no C++ object with a destructor lives between
// the setjmp and the longjmp, so the jump skips nothing that needs unwinding.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void onError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr) {}

// Everything that changes while libjpeg may jump lives on the heap, so the
// longjmp back into decodeJpeg leaves no automatic object in an indeterminate
// state, and no frame with a destructor is skipped.
struct DecodeState {
    jpeg_decompress_struct info{};
    ErrorManager err{};
    QImage image;
    std::vector<JSAMPLE> row;
};

void readScanlines(DecodeState& s)
{
    s.info.out_color_space = s.info.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&s.info);

    const int width = static_cast<int>(s.info.output_width);
    const int height = static_cast<int>(s.info.output_height);
    const int channels = s.info.output_components;
    s.image = QImage(width, height, QImage::Format_RGB32);
    s.row.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(channels));

    while (s.info.output_scanline < s.info.output_height) {
        const int y = static_cast<int>(s.info.output_scanline);
        JSAMPROW rows[1] = {s.row.data()};
        jpeg_read_scanlines(&s.info, rows, 1);
        auto* out = reinterpret_cast<QRgb*>(s.image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const JSAMPLE* p = s.row.data() + static_cast<std::size_t>(x) * channels;
            out[x] = channels == 1 ? qRgb(p[0], p[0], p[0]) : qRgb(p[0], p[1], p[2]);
        }
    }
    jpeg_finish_decompress(&s.info);
}

} // namespace

QImage decodeJpeg(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};

    const auto state = std::make_unique<DecodeState>();
    DecodeState& s = *state;
    s.info.err = jpeg_std_error(&s.err.pub);
    s.err.pub.error_exit = onError;
    s.err.pub.output_message = onMessage;

    if (setjmp(s.err.jump)) {
        jpeg_destroy_decompress(&s.info);
        return {};
    }
    jpeg_create_decompress(&s.info);
    jpeg_mem_src(&s.info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&s.info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&s.info);
        return {};
    }
    readScanlines(s);
    jpeg_destroy_decompress(&s.info);
    return std::move(s.image);
}

} // namespace tarvok::platform
