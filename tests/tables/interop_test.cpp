// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers

// Files written by the engine, read back by an independent dBASE reader.

#include "tables/dbf_table.h"

#include "tests/support/dbfread.h"
#include "tests/tables/table_test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tarvok::tables;
using tarvok::testing::FakeClock;
using tarvok::testing::pythonWithDbfread;

namespace {

TEST(Interop, AJournalWrittenByTheEngineReadsTheSameInDbfread)
{
    const QString python = pythonWithDbfread();
    if (python.isEmpty())
        GTEST_SKIP() << "python3 with the dbfread module is not installed";

    QTemporaryDir dir;
    FakeClock clock(QDateTime(QDate(2024, 1, 5), QTime(14, 5, 9)));
    const QString path = dir.filePath(QStringLiteral("jur_2024_01_05.dbf"));
    DbfTable t(clock);
    t.setPath(path);
    ASSERT_FALSE(
        t.create({textField(QStringLiteral("TIME"), 8), dateField(QStringLiteral("DAT")),
                  textField(QStringLiteral("REC_STR"), 90), numberField(QStringLiteral("CODZ"))}));
    ASSERT_FALSE(t.open(OpenMode::ReadWrite));
    struct Row {
        QString time;
        QDate date;
        QString text;
        std::optional<std::int64_t> code;
    };
    const QList<Row> rows = {
        {QStringLiteral("0:00:01"), QDate(2024, 1, 5), QStringLiteral("Запуск программы"), 0},
        {QStringLiteral("14:05:09"), QDate(2024, 1, 5), QStringLiteral("Останов, \"№ 5\" ЁёЪъ"), 1},
        {QStringLiteral("23:59:59"), QDate(), QStringLiteral("Выход из программы"), 2},
        {QString(), QDate(1999, 12, 31), QString(), std::nullopt},
        {QStringLiteral("1:02:03"), QDate(2024, 2, 29), QString(95, QChar(u'щ')), -99999999},
    };
    for (const Row& r : rows) {
        t.beginRecord();
        ASSERT_FALSE(t.setText(u"TIME", r.time));
        ASSERT_FALSE(t.setDate(u"DAT", r.date));
        ASSERT_FALSE(t.setText(u"REC_STR", r.text));
        if (r.code) {
            ASSERT_FALSE(t.setInteger(u"CODZ", *r.code));
        }
        ASSERT_FALSE(t.post());
    }
    ASSERT_FALSE(t.close());

    QString error;
    const QJsonObject out = tarvok::testing::dbfreadDump(path, &error);
    ASSERT_FALSE(out.isEmpty()) << error.toStdString();

    EXPECT_EQ(out[u"fields"].toArray(),
              (QJsonArray{QStringLiteral("TIME"), QStringLiteral("DAT"), QStringLiteral("REC_STR"),
                          QStringLiteral("CODZ")}));
    EXPECT_EQ(out[u"header_count"].toInt(), 5);
    const QJsonArray records = out[u"records"].toArray();
    ASSERT_EQ(records.size(), rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QJsonArray r = records[i].toArray();
        const Row& want = rows[i];
        EXPECT_EQ(r[0].toString(), want.time) << i;
        if (want.date.isValid()) {
            EXPECT_EQ(r[1].toString(), want.date.toString(Qt::ISODate)) << i;
        } else {
            EXPECT_TRUE(r[1].isNull()) << i;
        }
        EXPECT_EQ(r[2].toString(), want.text.left(90)) << i;
        if (want.code) {
            EXPECT_EQ(r[3].toInteger(), *want.code) << i;
        } else {
            EXPECT_TRUE(r[3].isNull()) << i;
        }
    }
}

} // namespace
