// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "platform/clock.h"

#include <gtest/gtest.h>

namespace tarvok::platform {
namespace {

struct StoredCase {
    const char* name;
    QTime time;
    const char* stored;
};

class StoredTime : public ::testing::TestWithParam<StoredCase> {};

// A TIME field holds 8 characters; whatever the locale, the stored form is
// 24-hour with no leading zero on the hour, and it reads back to the time.
TEST_P(StoredTime, IsTwentyFourHourWithoutLeadingZeroAndReadsBack)
{
    const StoredCase& c = GetParam();
    const QString text = storedTime(c.time);
    EXPECT_EQ(text, QString::fromUtf8(c.stored));
    EXPECT_LE(text.size(), 8);
    EXPECT_EQ(parseStoredTime(text), c.time);
}

INSTANTIATE_TEST_SUITE_P(Times, StoredTime,
                         ::testing::Values(StoredCase{"morning", QTime(9, 5, 3), "9:05:03"},
                                           StoredCase{"evening", QTime(21, 5, 3), "21:05:03"},
                                           StoredCase{"midnight", QTime(0, 0, 0), "0:00:00"},
                                           StoredCase{"last", QTime(23, 59, 59), "23:59:59"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ParseStoredTime, AcceptsBothHourWidthsAndRejectsTheRest)
{
    EXPECT_EQ(parseStoredTime(u"09:05:03"), QTime(9, 5, 3));
    EXPECT_EQ(parseStoredTime(u" 9:05:03 "), QTime(9, 5, 3));
    for (const char16_t* bad : {u"", u"9:5:03", u"24:00:00", u"9:60:00", u"9:05:03 PM", u"abc"})
        EXPECT_FALSE(parseStoredTime(bad).has_value()) << QString::fromUtf16(bad).toStdString();
}

TEST(ShownTime, CarriesNoTimeZone)
{
    const QString shown = shownTime(QTime(14, 5, 9));
    EXPECT_TRUE(shown.contains(QStringLiteral("05"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("UTC"))) << shown.toStdString();
    EXPECT_EQ(shown, shown.trimmed());
}

} // namespace
} // namespace tarvok::platform
