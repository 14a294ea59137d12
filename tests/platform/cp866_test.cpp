// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/cp866.h"

#include <gtest/gtest.h>

using tarvok::platform::appendUtf8FromCp866;
using tarvok::platform::fromCp866;
using tarvok::platform::toCp866;

namespace {

QString allCyrillicLetters()
{
    QString s;
    for (char16_t c = 0x0410; c <= 0x044F; ++c)
        s.append(QChar(c));
    s += u"Ёё№";
    return s;
}

TEST(Cp866, CyrillicLettersAndNumeroSignAreStoredAsDosBytes)
{
    const QByteArray bytes = toCp866(allCyrillicLetters());
    ASSERT_EQ(bytes.size(), 67);
    for (int i = 0; i < 48; ++i) // А-Я, а-п
        EXPECT_EQ(static_cast<unsigned char>(bytes[i]), 0x80 + i) << i;
    for (int i = 48; i < 64; ++i) // р-я
        EXPECT_EQ(static_cast<unsigned char>(bytes[i]), 0xE0 + (i - 48)) << i;
    EXPECT_EQ(static_cast<unsigned char>(bytes[64]), 0xF0);
    EXPECT_EQ(static_cast<unsigned char>(bytes[65]), 0xF1);
    EXPECT_EQ(static_cast<unsigned char>(bytes[66]), 0xFC);
    EXPECT_EQ(fromCp866(bytes), allCyrillicLetters());
}

TEST(Cp866, EveryByteDecodesAndEncodesBackToItself)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = fromCp866(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_FALSE(text.contains(QChar(0xFFFD)));
    EXPECT_EQ(toCp866(text), all);

    QByteArray utf8;
    appendUtf8FromCp866(all, utf8);
    EXPECT_EQ(QString::fromUtf8(utf8), text);
}

TEST(Cp866, CharactersWithoutAByteBecomeOneQuestionMarkEach)
{
    // "€" and Latin accents are not in 866; an emoji is a surrogate pair.
    EXPECT_EQ(toCp866(u"a€é\U0001F600b"), QByteArray("a???b"));
    EXPECT_EQ(toCp866(u"12:05:09 Останов."), QByteArray("12:05:09 \x8E\xE1\xE2\xA0\xAD\xAE\xA2."));
}

} // namespace
