#include "app/AnimationSetChoice.h"

#include <algorithm>
#include <iterator>

#include <QCoreApplication>
#include <QFile>

#include "platform/framework/DecodeName.h"
#include "platform/framework/DialogControls.h"
#include "platform/rm/AnimationSet.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/SceneContext.h"

namespace {

constexpr int kFixedCount = AnimationSetChoice::kFixedSpeedCount;

QString FileNameOfEntry(const CAnimationData* animation) {
    if (g_animationLibrary == nullptr) {
        return QCoreApplication::translate("Pavrix", "non");
    }
    const auto* entry = g_animationLibrary->Entries().FindEntry(animation);
    if (entry == nullptr || entry->Name() == nullptr) {
        return QCoreApplication::translate("Pavrix", "non");
    }
    const QString path = QFile::decodeName(entry->Name());
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.mid(cut + 1);
}

/// The ticks per second the tick-rate entry stands for, read back from its label.
std::uint32_t TicksOfEntry(const QString& label) {
    bool ok = false;
    const unsigned ticks = label.chopped(2).toUInt(&ok);
    return ok && label.endsWith(QStringLiteral("/s")) ? ticks : 0;
}

} // namespace

QString AnimationSetChoice::Label(const CAnimationData* animation, bool oneOfSeveral) {
    if (animation == nullptr) {
        return QCoreApplication::translate("Pavrix", "non");
    }
    if (oneOfSeveral && animation->Set() != nullptr && animation->Set()->HasName()) {
        return framework::DecodeName(animation->Set()->Name());
    }
    return FileNameOfEntry(animation);
}

void AnimationSetChoice::ShowSets(framework::DialogControls& panel, int id,
                                  const CCharacterData* character, const CAnimationData* current) {
    while (panel.GetCount(id) > 0) {
        panel.DeleteString(id, 0);
    }
    if (current == nullptr) {
        panel.SetCurSel(id, panel.AddString(id, QCoreApplication::translate("Pavrix", "non")));
        return;
    }
    if (character == nullptr || character->Animations().empty()) {
        panel.SetCurSel(id, panel.AddString(id, Label(current, false)));
        return;
    }
    const auto sets = character->Animations();
    int selected = -1;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const int index = panel.AddString(id, Label(sets[i], sets.size() > 1));
        if (sets[i] == current) {
            selected = index;
        }
    }
    panel.SetCurSel(id, selected);
}

float AnimationSetChoice::OfferTickRate(framework::DialogControls& bar, int id,
                                        std::uint32_t ticksPerSecond) {
    int selected = bar.GetCurSel(id);
    while (bar.GetCount(id) > kFixedCount) {
        bar.DeleteString(id, kFixedCount);
    }
    if (ticksPerSecond != 0) {
        selected = bar.AddString(id, QStringLiteral("%1/s").arg(ticksPerSecond));
    } else if (selected >= kFixedCount || selected < 0) {
        selected = kStartSpeedIndex;
    }
    bar.SetCurSel(id, selected);
    return SpeedAt(bar, id, selected, kFixedSpeeds[kStartSpeedIndex]);
}

float AnimationSetChoice::SpeedAt(const framework::DialogControls& bar, int id, int index,
                                  float fallback) {
    if (index >= 0 && index < kFixedCount) {
        return kFixedSpeeds[index];
    }
    if (index < kFixedCount || index >= bar.GetCount(id)) {
        return fallback;
    }
    // The tick counts per second; playback advances by the frame step, a sixtieth of a
    // second, times the speed.
    const std::uint32_t ticks = TicksOfEntry(bar.GetLBText(id, index));
    return ticks != 0 ? float(ticks) / 60.0f : fallback;
}
