// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers

// The follow-up of one good poll as the poll step runs it: alarm evaluation,
// the dose completion check (no dose finished) and the archive append with
// its open and close, on an empty day and on a day of 170,000 records.
//   tarvok_recording_bench [benchmark flags]

#include "alarms/alarm_evaluator.h"
#include "archive/archive_recorder.h"
#include "dosing/dose_recorder.h"
#include "link/controller_image.h"
#include "platform/clock.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <atomic>

using namespace tarvok;

namespace {

// Noon on one day, so every append goes to the same day's file.
class NoonClock : public platform::Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 1, 5), QTime(12, 0, 0)); }
};

// Grows the day's archive to records by repeating the one record already in
// it (the first poll's), written straight to the file: the engine takes the count from the
// size, and the header count is set to match.
bool growArchive(const QString& path, std::int64_t records)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = f.readAll();
    const int headerLength =
        static_cast<unsigned char>(bytes[8]) | (static_cast<unsigned char>(bytes[9]) << 8);
    const int recordLength =
        static_cast<unsigned char>(bytes[10]) | (static_cast<unsigned char>(bytes[11]) << 8);
    const QByteArray record = bytes.mid(headerLength, recordLength);
    QByteArray out = bytes.left(headerLength);
    out.reserve(headerLength + records * recordLength + 1);
    for (std::int64_t i = 0; i < records; ++i)
        out.append(record);
    out.append('\x1A');
    for (int i = 0; i < 4; ++i)
        out[4 + i] = static_cast<char>((records >> (8 * i)) & 0xFF);
    return f.seek(0) && f.write(out) == out.size() && f.resize(out.size());
}

void BM_PollFollowUp(benchmark::State& state)
{
    const std::int64_t dayRecords = state.range(0);
    QTemporaryDir dir;
    NoonClock clock;
    std::atomic<int> maxArhDay{45};
    dosing::DoseRecorder doses(dir.path(), maxArhDay, clock);
    archive::ArchiveRecorder archive(dir.path(), maxArhDay, clock);
    alarms::AlarmEvaluator alarmEval;
    link::ControllerImage image;
    for (int i = 0; i < link::ControllerImage::MainSize; ++i)
        image.main[i] = static_cast<std::uint8_t>(i * 37);
    for (auto& d : image.dosers)
        d.bytes[0] = 5;
    image.alarmBytes = {0x01, 0, 0x80, 0, 0, 0};

    // The first poll of the day: primes the dose check, creates the file.
    alarmEval.evaluate(image.alarmBytes, [](const alarms::AlarmEvent&) {});
    doses.CompleteDoza(image);
    if (!archive.Arhive(image)) {
        state.SkipWithError("archive append failed");
        return;
    }
    if (dayRecords > 0 &&
        !growArchive(dir.filePath(QStringLiteral("arh_2024_01_05.dbf")), dayRecords)) {
        state.SkipWithError("could not build the day's archive");
        return;
    }

    int events = 0;
    const alarms::AlarmSink sink = [&events](const alarms::AlarmEvent&) { ++events; };
    for (auto _ : state) {
        alarmEval.evaluate(image.alarmBytes, sink);
        doses.CompleteDoza(image);
        if (!archive.Arhive(image)) {
            state.SkipWithError("archive append failed");
            break;
        }
    }
    benchmark::DoNotOptimize(events);
    state.counters["day_records"] = static_cast<double>(dayRecords);
}

BENCHMARK(BM_PollFollowUp)->Arg(0)->Arg(170000)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
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
