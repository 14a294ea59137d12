// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/jpeg_image.h"

#include <QFile>
#include <QImageReader>

#include <gtest/gtest.h>

namespace tarvok::platform {
namespace {

QByteArray splashJpeg()
{
    QFile f(qEnvironmentVariable("TARVOK_SOURCE_DIR") + QStringLiteral("/resources/splash.jpg"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(DecodeJpeg, DecodesThePictureAtItsSize)
{
    const QByteArray bytes = splashJpeg();
    ASSERT_FALSE(bytes.isEmpty());
    const QImage image = decodeJpeg(bytes);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(105, 99));
}

// An independent decoder as the oracle: Qt's own JPEG plugin, where present.
// Decoders may round differently, so pixels agree within a small margin.
TEST(DecodeJpeg, AgreesWithAnotherDecoder)
{
    if (!QImageReader::supportedImageFormats().contains("jpeg"))
        GTEST_SKIP() << "no second JPEG decoder available";
    const QByteArray bytes = splashJpeg();
    const QImage ours = decodeJpeg(bytes);
    const QImage theirs = QImage::fromData(bytes, "JPEG").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(ours.size(), theirs.size());
    int worst = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb a = ours.pixel(x, y);
            const QRgb b = theirs.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    EXPECT_LE(worst, 8);
}

// libjpeg's default error handler would end the process on these.
TEST(DecodeJpeg, DamagedStreamsGiveNullImage)
{
    const QByteArray bytes = splashJpeg();
    for (const QByteArray& damaged :
         {QByteArray(), QByteArray("not a jpeg at all"), bytes.left(2), bytes.left(300)}) {
        EXPECT_TRUE(decodeJpeg(damaged).isNull()) << damaged.size();
    }
}

} // namespace
} // namespace tarvok::platform
