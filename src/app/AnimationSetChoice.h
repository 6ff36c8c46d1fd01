#pragma once

#include <cstdint>
#include <iterator>

#include <QString>

namespace framework {
class DialogControls;
} // namespace framework

class CAnimationData;
class CCharacterData;

/// What the bars offer for the current character: the control panel's Animation Name box
/// lists the character's animation sets (the user picks the current one there), and the
/// animation bar's Play Speed box gets an entry for the tick rate a file declares. Works
/// on the controls it is given; holds nothing.
class AnimationSetChoice {
public:
    /// The fixed Play Speed entries "1/120" … "1/10" as speed factors (key-time units per
    /// sixtieth of a second), in the box's order.
    static constexpr float kFixedSpeeds[] = {2.0f, 1.5f, 1.0f, 0.5f, 0.25f, 1.0f / 6.0f};
    static constexpr int kFixedSpeedCount = int(std::size(kFixedSpeeds));
    /// The entry the box starts with ("1/30").
    static constexpr int kStartSpeedIndex = 3;

    /// The label of `animation` in the Animation Name box: with one set the file name of
    /// its library entry, as the box always showed; with several, the set's own name as
    /// text (code page 932 when it is not UTF-8), or the file name for an unnamed set.
    static QString Label(const CAnimationData* animation, bool oneOfSeveral);

    /// Fills box `id` with the character's sets in their order and selects `current`;
    /// "non" alone without a character or set.
    static void ShowSets(framework::DialogControls& panel, int id, const CCharacterData* character,
                         const CAnimationData* current);

    /// The Play Speed box `id` after an open: the entry for `ticksPerSecond` ("4800/s")
    /// follows the fixed ones and is selected; with 0 the box holds the fixed entries only
    /// and, when the removed entry was selected, the start entry is selected again.
    /// Returns the speed factor the box's selection now stands for.
    static float OfferTickRate(framework::DialogControls& bar, int id,
                               std::uint32_t ticksPerSecond);
    /// The speed factor of entry `index` of box `id` (the fixed table, or the tick-rate
    /// entry); `fallback` for an index the box does not have.
    static float SpeedAt(const framework::DialogControls& bar, int id, int index, float fallback);
};
