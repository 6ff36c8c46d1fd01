// The timeline on a large character — 200 parts in a tree, each with rotation keys at the
// same 1,024 times (two units apart) — against the limits it must keep: drawing the key
// sheet at 1280 × 400 with every key in view (8 ms), moving 1,000 chosen keys (five of each
// part, so the key-time list keeps its 1,024 times) by one unit as the sheet's drag does it — the
// key edit, the rebuild of the key-time list and the undo step — (5 ms), and the tree following a
// part selected in the view (1 ms). Each reports its limit on the CPU time of the thread that
// paints and edits as "limit_cpu_ms" (the machine may be shared; each is work of the GUI thread
// alone), and the summary at the end sets each against its limit; the peer in the same run is a
// plain copy of every key the move's step pictures.

#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "CurrentCharacter.h"
#include "commands/IKeyFrameHost.h"
#include "commands/MoveKeysCommand.h"
#include "commands/UndoHistory.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Context.h"
#include "platform/rm/Math.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "scene/SceneContext.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"
#include "timeline/ITimelineHost.h"
#include "timeline/KeySelection.h"
#include "timeline/KeySheet.h"
#include "timeline/PartTree.h"
#include "timeline/TimelineDock.h"

namespace {

/// The character, made current in its own edit context.
class Character : public CurrentCharacter {
public:
    Character() {
        for (int p = 0; p < kParts; ++p) {
            // Four children a part: a tree a few levels deep, as characters are.
            rm::Frame* parent = p == 0 ? model->Root() : parts[std::size_t(p - 1) / 4].Get();
            rm::Animation* keys = AddPart(parent);
            for (int t = 0; t < kTimes; ++t) {
                const float time = 2.0f * float(t);
                keys->AddRotateKey(time, rm::QuaternionFromRotation({0, 1, 0}, 0.01f * t));
            }
        }
        MakeCurrent();
    }

    /// The rotation keys of every part at times 1000, 1002 … 1008: 1,000 keys.
    std::vector<KeyRef> ChosenKeys() const {
        std::vector<KeyRef> keys;
        for (const auto& each : animations) {
            for (const rm::AnimationKey& key : each->Keys()) {
                if (key.dwKeyType == 1 && key.dvTime >= 1000 && key.dvTime <= 1008) {
                    keys.push_back({each.Get(), key.dwID});
                }
            }
        }
        return keys;
    }
};

/// The window's side of a key edit, as the main frame does it: no questions, the pose and
/// the key-time list rebuilt, the history recording.
class Host : public IKeyFrameHost, public ITimelineHost {
public:
    explicit Host(session::EditContext& context) : context(context) {}

    int ShowMessage(const QString&, const QString&, unsigned) override { return framework::IdOk; }
    void StopPlayback() override {}
    void PoseCurrentAnimation(float time) override {
        PoseAnimation(context.currentAnimation, time);
    }
    int RefreshKeyRange(int rebuild) override {
        return rebuild != 0 ? context.currentAnimation->UpdateTotalKeyTimeBuffer() : 1;
    }
    void RefreshTimeDisplay() override {}
    int MarkDocumentModified() override { return 1; }
    rm::Frame* GetSelectedPart() const override { return selected; }
    QString GetKeyLengthText() const override { return {}; }
    void ShowKeyLength(unsigned) override {}
    int RunPartKeyDialog() override { return 0; }
    UndoHistory* History() override { return record ? &history : nullptr; }

    IKeyFrameHost& KeyFrameHost() override { return *this; }
    void GoToTime(float) override {}
    void SelectPart(rm::Frame* part) override { selected = part; }
    void EditPartKeys() override {}

    session::EditContext& context;
    UndoHistory history;
    /// False: the edits take no undo pictures (to tell their share from the edit's own).
    bool record = true;
    rm::Frame* selected = nullptr;
};

// The key sheet's size in the benchmarks that draw it.
constexpr int kSheetWidth = 1280;
constexpr int kSheetHeight = 400;

void BM_PaintSheet(benchmark::State& state) {
    Character c;
    timeline::PartTree tree;
    timeline::KeySelection selection;
    timeline::KeySheet sheet(tree, selection, c.context);
    tree.setAttribute(Qt::WA_DontShowOnScreen);
    sheet.setAttribute(Qt::WA_DontShowOnScreen);
    tree.resize(300, kSheetHeight);
    sheet.resize(kSheetWidth, kSheetHeight);
    tree.show();
    sheet.show();
    tree.Rebuild(c.model->Root(), c.animation.get());
    sheet.FrameAllKeys();
    selection.Add(c.ChosenKeys());
    QImage image(kSheetWidth, kSheetHeight, QImage::Format_ARGB32_Premultiplied);
    const QRect all(0, 0, kSheetWidth, kSheetHeight);
    for (auto _ : state) {
        QPainter painter(&image);
        sheet.Paint(painter, all);
    }
    state.counters["limit_cpu_ms"] = 8;
    state.counters["rows_drawn"] =
        double((kSheetHeight - sheet.RulerHeight()) /
               std::max(1, tree.visualItemRect(tree.topLevelItem(0)).height()));
}

void BM_MoveChosenKeys(benchmark::State& state, bool record) {
    Character c;
    Host host(c.context);
    host.record = record;
    const std::vector<KeyRef> keys = c.ChosenKeys();
    int delta = 1;
    for (auto _ : state) {
        MoveKeysCommand move(host, keys, delta);
        if (move.Execute(c.context) != 1 || move.MovedBy() != delta) {
            state.SkipWithError("the keys did not move");
            break;
        }
        delta = -delta;
    }
    state.counters["keys"] = double(keys.size());
    if (record) {
        state.counters["limit_cpu_ms"] = 5;
    }
}

/// The peer: one plain copy of every key of the animations the move's step pictures.
void BM_CopyPeer(benchmark::State& state) {
    Character c;
    std::vector<rm::AnimationKey> copy;
    for (auto _ : state) {
        copy.clear();
        for (const auto& each : c.animations) {
            copy.insert(copy.end(), each->Keys().begin(), each->Keys().end());
        }
        benchmark::DoNotOptimize(copy.data());
    }
}

void BM_TreeFollowsSelection(benchmark::State& state) {
    Character c;
    Host host(c.context);
    timeline::TimelineDock dock(host, c.context);
    dock.setAttribute(Qt::WA_DontShowOnScreen);
    dock.resize(kSheetWidth + 300, kSheetHeight);
    dock.show();
    dock.Refresh();
    std::size_t next = 0;
    for (auto _ : state) {
        // Parts far apart in the tree, so the tree scrolls every time.
        host.selected = c.parts[next].Get();
        next = (next + 97) % c.parts.size();
        dock.FollowSelection();
    }
    state.counters["limit_cpu_ms"] = 1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::RegisterBenchmark("BM_PaintSheet", BM_PaintSheet)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_MoveChosenKeys", BM_MoveChosenKeys, true)
        ->Unit(benchmark::kMillisecond);
    // The same move without its undo step: the key edit, the pose and the key-time list.
    benchmark::RegisterBenchmark("BM_MoveChosenKeys/without_undo_step", BM_MoveChosenKeys, false)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_CopyPeer", BM_CopyPeer)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_TreeFollowsSelection", BM_TreeFollowsSelection)
        ->Unit(benchmark::kMicrosecond);
    return RunBenchmarks(argc, argv);
}
