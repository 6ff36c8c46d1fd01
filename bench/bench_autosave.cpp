// The autosave against its limits, measured in the same run, on a character of 200 parts
// whose animation set holds 1,024 key times (a rotation, scale and position track each):
// - one autosave, written with the document's safe writer (temporary file, sync, rename)
//   and its note: limit 50 ms;
// - one pass of the loop's autosave poll while playback runs, with the autosave due: the
//   time a frame of playback waits for it; limit 5 ms.
// At the end the program prints each measured time against its limit.

#include <cstdio>
#include <map>
#include <string>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchDocument.h"
#include "BenchMain.h"
#include "LargeXFile.h"
#include "app/Autosave.h"

namespace {

/// The character's file opened as File Open does, and a folder for the autosaves.
class AutosaveScene : public BenchDocument {
public:
    AutosaveScene() {
        bench::LargeXFileShape shape;
        shape.parts = 200;
        shape.rows = 4;
        shape.columns = 4;
        shape.keys = 1024;
        const QString path = m_dir.filePath(QStringLiteral("character.x"));
        QFile file(path);
        const std::string text = bench::MakeLargeXFile(shape);
        ok = file.open(QIODevice::WriteOnly) &&
             file.write(text.data(), qint64(text.size())) == qint64(text.size());
        file.close();
        ok = ok && Open(QFile::encodeName(path).constData());
        folder = m_dir.filePath(QStringLiteral("autosave"));
    }

    bool ok = false;
    QString folder;

private:
    QTemporaryDir m_dir;
};

void AutosaveWrite(benchmark::State& state) {
    AutosaveScene scene;
    if (!scene.ok) {
        state.SkipWithError("cannot open the character");
        return;
    }
    Autosave autosave(scene.folder, 1, QCoreApplication::applicationPid());
    // The document became modified at 0: the interval runs from there.
    double now = 0;
    autosave.Poll(
        now, {true, true}, [&] { return scene.document; }, QString());
    for (auto _ : state) {
        now += 10;
        if (!autosave.Poll(
                now, {true, false}, [&] { return scene.document; },
                QStringLiteral("/home/user/character.x"))) {
            state.SkipWithError("the autosave was not written");
            return;
        }
    }
    state.counters["bytes"] = double(QFile(autosave.FileName()).size());
    autosave.Discard();
}

void PlaybackFramePoll(benchmark::State& state) {
    AutosaveScene scene;
    if (!scene.ok) {
        state.SkipWithError("cannot open the character");
        return;
    }
    Autosave autosave(scene.folder, 1, QCoreApplication::applicationPid());
    double now = 0;
    autosave.Poll(
        now, {true, true}, [&] { return scene.document; }, QString());
    int written = 0;
    for (auto _ : state) {
        now += 10; // always due
        written += autosave.Poll(
                       now, {true, true}, [&] { return scene.document; },
                       QStringLiteral("/home/user/character.x"))
                       ? 1
                       : 0;
    }
    state.counters["written"] = written;
}

class LimitReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                m_ms[run.run_name.function_name] = run.GetAdjustedRealTime() /
                                                   benchmark::GetTimeUnitMultiplier(run.time_unit) *
                                                   1e3;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const struct {
            const char* name;
            double limitMs;
        } limits[] = {{"AutosaveWrite", 50.0}, {"PlaybackFramePoll", 5.0}};
        std::printf("\nAgainst the limits:\n");
        for (const auto& limit : limits) {
            const auto found = m_ms.find(limit.name);
            if (found == m_ms.end()) {
                continue;
            }
            std::printf("  %-20s %8.4f ms   limit %5.2f ms   %s\n", limit.name, found->second,
                        limit.limitMs, found->second < limit.limitMs ? "within" : "OVER");
        }
    }

private:
    std::map<std::string, double> m_ms;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::RegisterBenchmark("AutosaveWrite", AutosaveWrite)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("PlaybackFramePoll", PlaybackFramePoll)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    LimitReporter reporter;
    return RunBenchmarks(argc, argv, &reporter);
}
