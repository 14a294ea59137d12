// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/cp866.h"

#include <array>

namespace tarvok::platform {
namespace {

// 0x80-0xFF. 0x80-0xAF and 0xE0-0xEF are the Cyrillic alphabet; the block in
// between is the box-drawing set that DOS code pages share.
constexpr std::array<char16_t, 128> kHigh = {
    // 0x80: А-П
    0x0410,
    0x0411,
    0x0412,
    0x0413,
    0x0414,
    0x0415,
    0x0416,
    0x0417,
    0x0418,
    0x0419,
    0x041A,
    0x041B,
    0x041C,
    0x041D,
    0x041E,
    0x041F,
    // 0x90: Р-Я
    0x0420,
    0x0421,
    0x0422,
    0x0423,
    0x0424,
    0x0425,
    0x0426,
    0x0427,
    0x0428,
    0x0429,
    0x042A,
    0x042B,
    0x042C,
    0x042D,
    0x042E,
    0x042F,
    // 0xA0: а-п
    0x0430,
    0x0431,
    0x0432,
    0x0433,
    0x0434,
    0x0435,
    0x0436,
    0x0437,
    0x0438,
    0x0439,
    0x043A,
    0x043B,
    0x043C,
    0x043D,
    0x043E,
    0x043F,
    // 0xB0
    0x2591,
    0x2592,
    0x2593,
    0x2502,
    0x2524,
    0x2561,
    0x2562,
    0x2556,
    0x2555,
    0x2563,
    0x2551,
    0x2557,
    0x255D,
    0x255C,
    0x255B,
    0x2510,
    // 0xC0
    0x2514,
    0x2534,
    0x252C,
    0x251C,
    0x2500,
    0x253C,
    0x255E,
    0x255F,
    0x255A,
    0x2554,
    0x2569,
    0x2566,
    0x2560,
    0x2550,
    0x256C,
    0x2567,
    // 0xD0
    0x2568,
    0x2564,
    0x2565,
    0x2559,
    0x2558,
    0x2552,
    0x2553,
    0x256B,
    0x256A,
    0x2518,
    0x250C,
    0x2588,
    0x2584,
    0x258C,
    0x2590,
    0x2580,
    // 0xE0: р-я
    0x0440,
    0x0441,
    0x0442,
    0x0443,
    0x0444,
    0x0445,
    0x0446,
    0x0447,
    0x0448,
    0x0449,
    0x044A,
    0x044B,
    0x044C,
    0x044D,
    0x044E,
    0x044F,
    // 0xF0
    0x0401,
    0x0451,
    0x0404,
    0x0454,
    0x0407,
    0x0457,
    0x040E,
    0x045E,
    0x00B0,
    0x2219,
    0x00B7,
    0x221A,
    0x2116,
    0x00A4,
    0x25A0,
    0x00A0,
};

char16_t decodeByte(unsigned char b)
{
    return b < 0x80 ? char16_t(b) : kHigh[b - 0x80];
}

char encodeChar(char16_t c)
{
    if (c < 0x80)
        return static_cast<char>(c);
    if (c >= 0x0410 && c <= 0x042F) // А-Я
        return static_cast<char>(0x80 + (c - 0x0410));
    if (c >= 0x0430 && c <= 0x043F) // а-п
        return static_cast<char>(0xA0 + (c - 0x0430));
    if (c >= 0x0440 && c <= 0x044F) // р-я
        return static_cast<char>(0xE0 + (c - 0x0440));
    for (std::size_t i = 0x30; i < kHigh.size(); ++i)
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

struct Utf8Table {
    // Each byte's UTF-8 form (1 to 3 bytes) and its length.
    std::array<std::array<char, 3>, 256> bytes{};
    std::array<unsigned char, 256> length{};

    Utf8Table()
    {
        for (int b = 0; b < 256; ++b) {
            const char16_t c = decodeByte(static_cast<unsigned char>(b));
            auto& out = bytes[b];
            if (c < 0x80) {
                out[0] = static_cast<char>(c);
                length[b] = 1;
            } else if (c < 0x800) {
                out[0] = static_cast<char>(0xC0 | (c >> 6));
                out[1] = static_cast<char>(0x80 | (c & 0x3F));
                length[b] = 2;
            } else {
                out[0] = static_cast<char>(0xE0 | (c >> 12));
                out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                out[2] = static_cast<char>(0x80 | (c & 0x3F));
                length[b] = 3;
            }
        }
    }
};

const Utf8Table& utf8Table()
{
    static const Utf8Table table;
    return table;
}

} // namespace

QString fromCp866(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = QChar(decodeByte(static_cast<unsigned char>(bytes[i])));
    return out;
}

QByteArray toCp866(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out.append('?');
            ++i;
            continue;
        }
        out.append(encodeChar(c.unicode()));
    }
    return out;
}

void appendUtf8FromCp866(QByteArrayView bytes, QByteArray& out)
{
    const Utf8Table& t = utf8Table();
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out.append(ch);
        else
            out.append(t.bytes[b].data(), t.length[b]);
    }
}

} // namespace tarvok::platform
