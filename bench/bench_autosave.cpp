// The autosave against its limits, measured in the same run, on a character of 200 parts
// whose animation set holds 1,024 key times (a rotation, scale and position track each):
// - one autosave, written with the document's safe writer (temporary file, sync, rename)
//   and its note: limit 50 ms;
// - one pass of the loop's autosave poll while playback runs, with the autosave due: the
//   time a frame of playback waits for it; limit 5 ms.
// At the end the program prints each measured time against its limit.

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

/// The character opened with its autosave, polled as the program's loop polls it for the
/// user's file, ten seconds apart (so every poll finds it due); the interval runs from 0,
/// when the document became modified.
class AutosavePolls : public AutosaveScene {
public:
    AutosavePolls() : m_autosave(folder, 1, QCoreApplication::applicationPid()) {
        m_autosave.Poll(
            m_now, {true, true}, [this] { return document; }, QString());
    }

    /// False, with the benchmark skipped, when the character did not open.
    bool Opened(benchmark::State& state) {
        if (!ok) {
            state.SkipWithError("cannot open the character");
        }
        return ok;
    }

    /// The next pass of the loop with the document modified; true when it wrote.
    bool Poll(bool busy) {
        m_now += 10;
        return m_autosave.Poll(
            m_now, {true, busy}, [this] { return document; },
            QStringLiteral("/home/user/character.x"));
    }

    Autosave& Get() { return m_autosave; }

private:
    Autosave m_autosave;
    double m_now = 0;
};

void AutosaveWrite(benchmark::State& state) {
    AutosavePolls autosave;
    if (!autosave.Opened(state)) {
        return;
    }
    for (auto _ : state) {
        if (!autosave.Poll(false)) {
            state.SkipWithError("the autosave was not written");
            return;
        }
    }
    state.counters["bytes"] = double(QFile(autosave.Get().FileName()).size());
    state.counters["limit_ms"] = 50;
    autosave.Get().Discard();
}

void PlaybackFramePoll(benchmark::State& state) {
    AutosavePolls autosave;
    if (!autosave.Opened(state)) {
        return;
    }
    int written = 0;
    for (auto _ : state) {
        written += autosave.Poll(true) ? 1 : 0;
    }
    state.counters["written"] = written;
    state.counters["limit_ms"] = 5;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::RegisterBenchmark("AutosaveWrite", AutosaveWrite)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("PlaybackFramePoll", PlaybackFramePoll)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    return RunBenchmarks(argc, argv);
}
