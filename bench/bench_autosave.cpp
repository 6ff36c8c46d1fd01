// The autosave against its limits, measured in the same run, on a character of 200 parts
// whose animation set holds 1,024 key times (a rotation, scale and position track each):
// - AutosaveWrite: what one autosave costs the program's loop, the poll that starts the write
//   in the background (the write itself, waited for between iterations, is not the loop's):
//   limit 50 ms;
// - PlaybackFramePoll: one pass of the loop's autosave poll while playback runs, the autosave
//   due and a write under way: the time a frame of playback waits for it; limit 5 ms.
// For comparison, not against a limit: AutosaveWrite/whole_write_waited_for, the background
// write from start to the file and its note synced on disk, and AutosaveWrite/in_the_loop,
// the same file written by the loop itself with the document's safe writer (how it was done).
// At the end the program prints each measured time against its limit.

#include <string>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchDocument.h"
#include "BenchMain.h"
#include "LargeXFile.h"
#include "app/Autosave.h"
#include "xfile/DocumentSave.h"

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

/// How one autosave is measured: the loop's part alone, the background write waited for, or
/// the write done in the loop.
enum class WriteMeasure { LoopPart, WholeWrite, InTheLoop };

void AutosaveWrite(benchmark::State& state, WriteMeasure measure) {
    AutosaveScene scene;
    if (!scene.ok) {
        state.SkipWithError("cannot open the character");
        return;
    }
    Autosave autosave(scene.folder, 1, QCoreApplication::applicationPid());
    const QString original = QStringLiteral("/home/user/character.x");
    QDir().mkpath(scene.folder);
    // The document became modified at 0: the interval runs from there.
    double now = 0;
    autosave.Poll(
        now, {true, true}, [&] { return scene.document; }, QString());
    for (auto _ : state) {
        now += 10;
        bool ok = false;
        if (measure == WriteMeasure::InTheLoop) {
            ok = xfile::SaveDocument(QFile::encodeName(autosave.FileName()).constData(),
                                     scene.document, nullptr) != 0;
        } else {
            ok = autosave.Poll(
                now, {true, false}, [&] { return scene.document; }, original);
            if (measure == WriteMeasure::LoopPart) {
                state.PauseTiming();
            }
            ok = autosave.Finish() && ok;
            if (measure == WriteMeasure::LoopPart) {
                state.ResumeTiming();
            }
        }
        if (!ok) {
            state.SkipWithError("the autosave was not written");
            return;
        }
    }
    state.counters["bytes"] = double(QFile(autosave.FileName()).size());
    if (measure == WriteMeasure::LoopPart) {
        state.counters["limit_ms"] = 50;
    }
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
    // A write under way while playback runs: each frame's poll only looks whether it ended.
    now += 10;
    autosave.Poll(
        now, {true, false}, [&] { return scene.document; }, QString());
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
    state.counters["limit_ms"] = 5;
    autosave.Discard();
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    // A few writes each: every one of them reaches the disk.
    benchmark::RegisterBenchmark("AutosaveWrite", AutosaveWrite, WriteMeasure::LoopPart)
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("AutosaveWrite/whole_write_waited_for", AutosaveWrite,
                                 WriteMeasure::WholeWrite)
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("AutosaveWrite/in_the_loop", AutosaveWrite,
                                 WriteMeasure::InTheLoop)
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("PlaybackFramePoll", PlaybackFramePoll)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    return RunBenchmarks(argc, argv);
}
