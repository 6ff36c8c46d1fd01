#include "commands/ScaledLanes.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "commands/PackedNumbers.h"
#include "platform/Assert.h"

namespace {

std::atomic<bool> g_enabled{true};

/// Records looked at to choose a lane's relation; the rest are only checked.
constexpr std::size_t kSamples = 64;
/// Records whose ratio after / before proposes a factor.
constexpr std::size_t kProposals = 4;

std::uint32_t WordAt(const void* words, std::size_t i) {
    std::uint32_t word;
    std::memcpy(&word, static_cast<const unsigned char*>(words) + i * 4, 4);
    return word;
}

void PutWord(void* words, std::size_t i, std::uint32_t word) {
    std::memcpy(static_cast<unsigned char*>(words) + i * 4, &word, 4);
}

/// The corrections of one direction as they are written: words in increasing order.
class CorrectionWriter {
public:
    explicit CorrectionWriter(std::vector<std::uint8_t>* out) : m_out(out) {}
    void Add(std::size_t word, std::uint32_t wanted, std::uint32_t predicted) {
        packed::Put(*m_out, std::uint32_t(word - m_next));
        m_next = word + 1;
        // Near values differ in the low bits of their patterns: the signed difference,
        // zig-zagged, is a byte or two.
        const auto difference = std::int32_t(wanted - predicted);
        packed::Put(*m_out, (std::uint32_t(difference) << 1) ^ std::uint32_t(difference >> 31));
    }

private:
    std::vector<std::uint8_t>* m_out;
    std::size_t m_next = 0;
};

float FloatAt(const void* words, std::size_t i) {
    return std::bit_cast<float>(WordAt(words, i));
}

// Plain float arithmetic, never reassociated: the same bits at the fit and on every use.
// A factor of 1 gives back every value but a signalling NaN, which a correction restores.
std::uint32_t Scaled(std::uint32_t word, float factor) {
    return std::bit_cast<std::uint32_t>(std::bit_cast<float>(word) * factor);
}

std::uint32_t Unscaled(std::uint32_t word, float factor) {
    return std::bit_cast<std::uint32_t>(std::bit_cast<float>(word) / factor);
}

} // namespace

bool ScaledLanes::Enabled() {
    return g_enabled.load(std::memory_order_relaxed);
}

void ScaledLanes::SetEnabled(bool enabled) {
    g_enabled.store(enabled, std::memory_order_relaxed);
}

float ScaledLanes::FitLane(const void* before, const void* after, std::size_t count,
                           std::size_t lanes, std::size_t lane) {
    const std::size_t records = count / lanes;
    const std::size_t step = std::max<std::size_t>(1, records / kSamples);
    std::vector<float> candidates = {1.0f};
    for (std::size_t r = 0, proposed = 0; r < records && proposed < kProposals; r += step) {
        const float b = FloatAt(before, r * lanes + lane);
        const float a = FloatAt(after, r * lanes + lane);
        if (!std::isnormal(a) || !std::isnormal(b)) {
            continue;
        }
        ++proposed;
        // The ratio rounded may miss the factor by a unit in the last place either way.
        const float ratio = a / b;
        for (const float factor : {ratio, std::nextafter(ratio, -std::numeric_limits<float>::max()),
                                   std::nextafter(ratio, std::numeric_limits<float>::max())}) {
            if (std::isnormal(factor)) {
                candidates.push_back(factor);
            }
        }
    }
    float best = 1.0f;
    std::size_t bestHits = 0;
    for (const float factor : candidates) {
        std::size_t hits = 0;
        for (std::size_t r = 0; r < records; r += step) {
            const std::size_t i = r * lanes + lane;
            hits += Scaled(WordAt(before, i), factor) == WordAt(after, i) ? 1 : 0;
        }
        if (hits > bestHits) {
            best = factor;
            bestHits = hits;
        }
    }
    return best;
}

std::optional<ScaledLanes> ScaledLanes::Fit(const void* before, const void* after,
                                            std::size_t count, std::size_t lanes) {
    if (!Enabled() || lanes == 0 || count == 0 || count % lanes != 0 ||
        count > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    // Worth it only while it holds fewer bytes than one version would.
    const std::size_t held = sizeof(ScaledLanes) + lanes * sizeof(float);
    if (held >= count * 4) {
        return std::nullopt;
    }
    ScaledLanes relation;
    relation.m_factors.reserve(lanes);
    for (std::size_t lane = 0; lane < lanes; ++lane) {
        relation.m_factors.push_back(FitLane(before, after, count, lanes, lane));
    }
    CorrectionWriter forward(&relation.m_forward);
    CorrectionWriter back(&relation.m_back);
    const std::size_t limit = count * 4 - held;
    for (std::size_t i = 0, lane = 0; i < count; ++i) {
        const float factor = relation.m_factors[lane];
        const std::uint32_t b = WordAt(before, i);
        const std::uint32_t a = WordAt(after, i);
        const std::uint32_t madeAfter = Scaled(b, factor);
        const std::uint32_t madeBefore = Unscaled(a, factor);
        if (madeAfter != a || madeBefore != b) {
            if (madeAfter != a) {
                forward.Add(i, a, madeAfter);
            }
            if (madeBefore != b) {
                back.Add(i, b, madeBefore);
            }
            if (relation.m_forward.size() + relation.m_back.size() >= limit) {
                return std::nullopt;
            }
        }
        lane = lane + 1 == lanes ? 0 : lane + 1;
    }
    relation.m_forward.shrink_to_fit();
    relation.m_back.shrink_to_fit();
    return relation;
}

void ScaledLanes::Make(const void* from, void* to, std::size_t count, bool forward) const {
    PAVRIX_ASSERT(!m_factors.empty() && count % m_factors.size() == 0,
                  "ScaledLanes::Make: the count is not one of whole records");
    const std::vector<std::uint8_t>& corrections = forward ? m_forward : m_back;
    std::size_t at = 0;
    const auto nextCorrected = [&](std::size_t after) {
        return at < corrections.size() ? after + packed::Take(corrections, &at)
                                       : std::numeric_limits<std::size_t>::max();
    };
    std::size_t corrected = nextCorrected(0);
    for (std::size_t i = 0, lane = 0; i < count; ++i) {
        const std::uint32_t was = WordAt(from, i);
        std::uint32_t word =
            forward ? Scaled(was, m_factors[lane]) : Unscaled(was, m_factors[lane]);
        if (i == corrected) {
            const std::uint32_t zigzag = packed::Take(corrections, &at);
            word += (zigzag >> 1) ^ (0u - (zigzag & 1));
            corrected = nextCorrected(i + 1);
        }
        PutWord(to, i, word);
        lane = lane + 1 == m_factors.size() ? 0 : lane + 1;
    }
}

std::size_t ScaledLanes::Bytes() const {
    return sizeof(*this) + m_factors.size() * sizeof(float) + m_forward.size() + m_back.size();
}
