// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers

// Table engine speed on archive-layout files (TIME C8, DAT D8, 18 x N9).
//   tarvok_tables_bench [benchmark flags]
//   tarvok_tables_bench --make-archive FILE RECORDS   (writes a sample file)

#include "platform/clock.h"
#include "platform/raw_file.h"
#include "tables/daily_writer.h"
#include "tables/dbf_table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

using namespace tarvok::tables;

namespace {

QList<FieldDef> archiveFields()
{
    QList<FieldDef> f = {textField(QStringLiteral("TIME"), 8), dateField(QStringLiteral("DAT"))};
    for (int d = 1; d <= 6; ++d)
        for (const char* kind : {"ZAD", "KOR", "VES"})
            f.append(numberField(QStringLiteral("%1%2").arg(QString::fromLatin1(kind)).arg(d)));
    return f;
}

// One poll's record: setpoints, corrected setpoints and weights.
MaybeError fillRecord(DbfTable& t, std::int64_t n)
{
    t.beginRecord();
    const int second = static_cast<int>(n % 86400);
    if (auto e = t.setText(0, QStringLiteral("%1:%2:%3")
                                  .arg(second / 3600)
                                  .arg(second / 60 % 60, 2, 10, QChar(u'0'))
                                  .arg(second % 60, 2, 10, QChar(u'0'))))
        return e;
    if (auto e = t.setDate(1, QDate(2024, 1, 5)))
        return e;
    for (int f = 2; f < 20; ++f)
        if (auto e = t.setInteger(f, (n * 7919 + f * 104729) % 200000 - (f == 19 ? 500 : 0)))
            return e;
    return t.post();
}

bool makeArchive(const QString& path, std::int64_t records)
{
    DbfTable t;
    t.setPath(path);
    if (t.create(archiveFields()) || t.open(OpenMode::ReadWrite))
        return false;
    for (std::int64_t i = 0; i < records; ++i)
        if (fillRecord(t, i))
            return false;
    return !t.close();
}

QTemporaryDir& benchDir()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tarvok-bench-XXXXXX"));
    return dir;
}

// (a) One archive append as the recorder does it: bind, open, fill, store, close.
void BM_OpenAppendClose(benchmark::State& state)
{
    const std::int64_t existing = state.range(0);
    const QString path = benchDir().filePath(QStringLiteral("append_%1.dbf").arg(existing));
    if (!makeArchive(path, existing)) {
        state.SkipWithError("cannot create the sample file");
        return;
    }
    DbfTable t;
    std::int64_t n = existing;
    for (auto _ : state) {
        t.setPath(path);
        if (t.open(OpenMode::ReadWrite) || fillRecord(t, n++) || t.close()) {
            state.SkipWithError("append failed");
            break;
        }
    }
    state.counters["records_after"] = static_cast<double>(n);
    QFile::remove(path);
}
BENCHMARK(BM_OpenAppendClose)
    ->Arg(0)
    ->Arg(170000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The bare file calls an append needs (open, read the header, the size at
// open and at the append, write record and header, close) with no engine
// work: the floor the engine is measured against on this machine.
void BM_FileCallsFloor(benchmark::State& state)
{
    const QString path = benchDir().filePath(QStringLiteral("floor.dbf"));
    if (!makeArchive(path, 0)) {
        state.SkipWithError("cannot create the sample file");
        return;
    }
    char header[4096];
    QByteArray record(180, ' ');
    record[179] = 0x1A;
    tarvok::platform::RawFile f;
    for (auto _ : state) {
        if (!f.open(path, tarvok::platform::RawFile::Mode::ReadWrite)) {
            state.SkipWithError("open failed");
            break;
        }
        f.readAt(0, header, sizeof header);
        f.size();
        const auto size = f.size().value_or(674);
        if (!f.writeAt(size - 1, record.constData(), record.size()) || !f.writeAt(0, header, 32)) {
            state.SkipWithError("write failed");
            break;
        }
        f.close();
    }
    QFile::remove(path);
}
BENCHMARK(BM_FileCallsFloor)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same through DailyWriter, which also tests that the day's file exists.
void BM_DailyWriterAppend(benchmark::State& state)
{
    const QString dir = benchDir().filePath(QStringLiteral("daily"));
    QDir().mkpath(dir);
    DailyWriter writer(
        dir, QStringLiteral("arh_"), archiveFields(), [] { return 45; },
        tarvok::platform::systemClock());
    const QDate day(2024, 1, 5);
    QList<FieldValue> values = {QStringLiteral("12:34:56"), day};
    for (int f = 2; f < 20; ++f)
        values.append(std::int64_t(f * 1111));
    for (auto _ : state)
        if (writer.append(day, values)) {
            state.SkipWithError("append failed");
            break;
        }
}
BENCHMARK(BM_DailyWriterAppend)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// (b) Open a 100,000-record archive and read every field of every record:
// TIME as text, DAT as a date, the 18 numbers as integers.
void BM_ReadArchive(benchmark::State& state)
{
    const QString path = benchDir().filePath(QStringLiteral("read_100k.dbf"));
    if (!QFile::exists(path) && !makeArchive(path, 100000)) {
        state.SkipWithError("cannot create the sample file");
        return;
    }
    for (auto _ : state) {
        DbfTable t;
        t.setPath(path);
        if (t.open(OpenMode::Read)) {
            state.SkipWithError("open failed");
            break;
        }
        std::int64_t sum = 0;
        qsizetype chars = 0;
        for (bool more = t.first(); more; more = t.next()) {
            chars += t.text(0).size();
            sum += t.date(1).value_or(QDate()).day();
            for (int f = 2; f < 20; ++f)
                sum += t.integer(f).value_or(0);
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(chars);
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}
BENCHMARK(BM_ReadArchive)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Every field through text(), for comparison.
void BM_ReadArchiveAllText(benchmark::State& state)
{
    const QString path = benchDir().filePath(QStringLiteral("read_100k.dbf"));
    if (!QFile::exists(path) && !makeArchive(path, 100000)) {
        state.SkipWithError("cannot create the sample file");
        return;
    }
    for (auto _ : state) {
        DbfTable t;
        t.setPath(path);
        if (t.open(OpenMode::Read)) {
            state.SkipWithError("open failed");
            break;
        }
        qsizetype chars = 0;
        for (bool more = t.first(); more; more = t.next())
            for (int f = 0; f < 20; ++f)
                chars += t.text(f).size();
        benchmark::DoNotOptimize(chars);
    }
}
BENCHMARK(BM_ReadArchiveAllText)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--make-archive") == 0) {
        const std::int64_t records = std::strtoll(argv[3], nullptr, 10);
        if (!makeArchive(QFile::decodeName(argv[2]), records)) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    // As the workstation does at start: local time without a zone-file read
    // per conversion.
    tarvok::platform::settleLocalTimeZone();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
