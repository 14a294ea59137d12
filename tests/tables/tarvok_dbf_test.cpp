// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers

// The tarvok-dbf program, run as engineers run it.

#include "tests/tables/table_test_support.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using tarvok::testing::foreignTable;
using tarvok::testing::writeAll;

namespace {

struct ToolRun {
    int status;
    QByteArray out;
    QString err;
};

ToolRun runTool(const QStringList& args)
{
    QProcess p;
    p.start(QString::fromLocal8Bit(qgetenv("TARVOK_BUILD_DIR")) + QStringLiteral("/tarvok-dbf"),
            args);
    if (!p.waitForFinished(60000))
        return {-1, {}, QStringLiteral("did not finish")};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            QString::fromUtf8(p.readAllStandardError())};
}

class TarvokDbfTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        good = dir.filePath(QStringLiteral("good.dbf"));
        ASSERT_TRUE(
            writeAll(good, foreignTable({{"name", 'C', 12}, {"dat", 'D', 8}, {"qty", 'N', 9}},
                                        {
                                            " plain       20240105       12",
                                            " a,b                          ",
                                            " say \"hi\"    20241305       -3",
                                            "*deleted     20240101        1",
                                            " \x8F\xE3\xE1\xAA        20240229      abc",
                                            "   lead                      7",
                                            " two\r\nlines              ",
                                            " zeros       20240101    00042",
                                            " plus        20240101       +5",
                                        },
                                        {.endMarker = false})));
    }

    QTemporaryDir dir;
    QString good;
};

TEST_F(TarvokDbfTest, PrintsEveryLiveRecordAsCsv)
{
    const ToolRun r = runTool({good});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(r.out), QStringLiteral("NAME,DAT,QTY\n"
                                                       "plain,2024-01-05,12\n"
                                                       "\"a,b\",,\n"
                                                       "\"say \"\"hi\"\"\",1899-12-30,-3\n"
                                                       "Пуск,2024-02-29,0\n"
                                                       "  lead,,7\n"
                                                       "\"two\r\nlines\",,\n"
                                                       "zeros,2024-01-01,42\n"
                                                       "plus,2024-01-01,5\n"));
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(TarvokDbfTest, ARefusedFileIsReportedAndTheOthersStillPrinted)
{
    const QString bad = dir.filePath(QStringLiteral("bad.dbf"));
    QByteArray bytes = foreignTable({{"A", 'C', 3}}, {" abc"});
    bytes[0] = 0x30;
    ASSERT_TRUE(writeAll(bad, bytes));
    const QString missing = dir.filePath(QStringLiteral("missing.dbf"));

    const ToolRun r = runTool({bad, good, missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.startsWith("NAME,DAT,QTY\nplain,2024-01-05,12\n")) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(bad + QStringLiteral(": Invalid DBF file."))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Open: file not found: \"%1\".").arg(missing)))
        << r.err.toStdString();

    EXPECT_NE(runTool({}).status, 0);
}

} // namespace
