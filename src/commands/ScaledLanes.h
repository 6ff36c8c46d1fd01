#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

/// How one version of a block of 32-bit words follows from the other, so that only one of
/// them need be kept: the words are records of `lanes` words each, and each lane is a float
/// multiplied by a factor of its own (after = before * factor, rounded as float; before is
/// made again as after / factor), a lane that stays the same by 1. Where a word does not follow
/// (rounding that loses a bit, a value the edit set by other means), a correction makes it
/// exact: the difference of the bit patterns, kept for that word alone. A model scaled by
/// one factor is a few bytes of factors and a correction for one word in a hundred.
///
/// The arithmetic is plain IEEE float, the same at the fit and on every use, so either
/// version is made again bit for bit, NaN, infinite and denormal values included.
class ScaledLanes {
public:
    /// The relation that makes `after` from `before` and back (`count` words each, records
    /// of `lanes` words); none when it would hold as many bytes as one version plainly.
    static std::optional<ScaledLanes> Fit(const void* before, const void* after, std::size_t count,
                                          std::size_t lanes);

    /// Writes to `to` the version after (forward) or before the change, made from `from`,
    /// the other version: `count` words, the same count as at the fit.
    void Make(const void* from, void* to, std::size_t count, bool forward) const;

    /// Bytes held: the lanes and the corrections of both directions.
    std::size_t Bytes() const;

    /// Whether Fit finds relations (on unless a measurement turns it off, to compare with
    /// the plain values).
    static bool Enabled();
    static void SetEnabled(bool enabled);

private:
    /// The factor that makes the most of a sample of the lane's words after from those before.
    static float FitLane(const void* before, const void* after, std::size_t count,
                         std::size_t lanes, std::size_t lane);

    std::vector<float> m_factors; // one a lane
    // Per direction: for each word that needs one, the gap since the last corrected word and
    // the difference of the bit patterns, zig-zagged, each as a variable-length number.
    std::vector<std::uint8_t> m_forward;
    std::vector<std::uint8_t> m_back;
};
