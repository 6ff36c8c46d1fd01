#include "commands/ScaledLanes.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "commands/ArrayDifference.h"
#include "platform/rm/Types.h"

namespace {

using Vectors = std::vector<rm::Vector>;

float FromBits(std::uint32_t bits) {
    return std::bit_cast<float>(bits);
}

/// 3,000 positions of a model: ordinary values, with zeros, a negative zero, denormals,
/// the largest and smallest floats, infinities and NaNs (quiet, signalling, with payloads)
/// scattered through them.
Vectors Positions() {
    const float special[] = {0.0f,
                             -0.0f,
                             FromBits(0x00000001),
                             FromBits(0x80000007),
                             FromBits(0x007FFFFF),
                             std::numeric_limits<float>::max(),
                             std::numeric_limits<float>::min(),
                             std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(),
                             FromBits(0x7FC00000),
                             FromBits(0xFFC01234),
                             FromBits(0x7F800001),
                             FromBits(0x7FA00055)};
    Vectors positions(3000);
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return float(seed >> 8) / float(1 << 24) * 20.0f - 10.0f;
    };
    for (std::size_t i = 0; i < positions.size(); ++i) {
        positions[i] = {next(), next(), next()};
        if (i % 97 == 0) {
            positions[i].y = special[(i / 97) % std::size(special)];
        }
        if (i % 50 == 0) {
            positions[i].x = 0.0f;
        }
    }
    return positions;
}

/// What a model scale does to each position.
Vectors Scale(Vectors positions, float sx, float sy, float sz) {
    for (rm::Vector& p : positions) {
        p = {p.x * sx, p.y * sy, p.z * sz};
    }
    return positions;
}

bool SameBytes(const Vectors& a, const Vectors& b) {
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(rm::Vector)) == 0;
}

ArrayDifference<rm::Vector> Between(const Vectors& before, const Vectors& after) {
    return ArrayDifference<rm::Vector>::Between(std::span<const rm::Vector>(before),
                                                std::span<const rm::Vector>(after));
}

/// The bytes the difference holds with both versions kept plainly.
std::size_t PlainBytes(const Vectors& before, const Vectors& after) {
    ScaledLanes::SetEnabled(false);
    const std::size_t bytes = Between(before, after).Bytes();
    ScaledLanes::SetEnabled(true);
    return bytes;
}

TEST(ScaledLanesTest, UndoAndRedoGiveBackEveryByteOfAScaledOrPartlyChangedArray) {
    const Vectors positions = Positions();
    struct Case {
        std::string name;
        std::function<Vectors(const Vectors&)> edit;
        bool small; // far smaller than both versions kept plainly
    };
    const std::vector<Case> cases = {
        {"scaled up a little", [](const Vectors& p) { return Scale(p, 1.01f, 1.01f, 1.01f); },
         true},
        {"scaled down a little", [](const Vectors& p) { return Scale(p, 0.99f, 0.99f, 0.99f); },
         true},
        {"doubled and halved", [](const Vectors& p) { return Scale(p, 2.0f, 0.5f, 2.0f); }, true},
        {"negative factors", [](const Vectors& p) { return Scale(p, -3.0f, -1.0f, -0.3f); }, true},
        {"each axis its own factor", [](const Vectors& p) { return Scale(p, 7.77f, 1.0f, 0.1f); },
         true},
        {"to denormals and zero", [](const Vectors& p) { return Scale(p, 1e-38f, 1e-30f, 0.0f); },
         false},
        {"mostly to infinity", [](const Vectors& p) { return Scale(p, 1e38f, 1e38f, 1e38f); },
         false},
        {"every tenth scaled, the rest the same",
         [](const Vectors& p) {
             Vectors q = p;
             for (std::size_t i = 0; i < q.size(); i += 10) {
                 q[i] = {q[i].x * 1.5f, q[i].y * 1.5f, q[i].z * 1.5f};
             }
             return q;
         },
         true},
        {"scaled, some positions set anew",
         [](const Vectors& p) {
             Vectors q = Scale(p, 1.25f, 1.25f, 1.25f);
             for (std::size_t i = 0; i < q.size(); i += 40) {
                 q[i] = {float(i), -float(i), 0.5f};
             }
             return q;
         },
         true},
        {"only half fit: the rest moved apart",
         [](const Vectors& p) {
             Vectors q = Scale(p, 1.1f, 1.1f, 1.1f);
             for (std::size_t i = 0; i < q.size(); i += 2) {
                 q[i] = {q[i].y + 1.0f, q[i].z - 2.0f, q[i].x + 0.25f};
             }
             return q;
         },
         false},
    };
    for (const Case& c : cases) {
        const Vectors after = c.edit(positions);
        const ArrayDifference<rm::Vector> d = Between(positions, after);
        Vectors undone = after;
        d.Apply(&undone, false);
        EXPECT_TRUE(SameBytes(undone, positions)) << c.name << ": undo";
        Vectors redone = undone;
        d.Apply(&redone, true);
        EXPECT_TRUE(SameBytes(redone, after)) << c.name << ": redo";
        // Run by run, as a mesh is written back.
        Vectors written = after;
        d.ForEachRun(false, std::span<const rm::Vector>(after),
                     [&](std::size_t first, std::size_t count, const rm::Vector* values) {
                         std::memcpy(written.data() + first, values, count * sizeof(rm::Vector));
                     });
        EXPECT_TRUE(SameBytes(written, positions)) << c.name << ": runs back";

        const std::size_t plain = PlainBytes(positions, after);
        if (c.small) {
            EXPECT_LT(d.Bytes() * 8, plain) << c.name;
        } else {
            EXPECT_GE(d.Bytes() * 8, plain) << c.name;
        }
    }
}

TEST(ScaledLanesTest, RecordsOfSeveralKindsOfWordsKeepTheirUnchangedLanes) {
    // Position keys scaled among rotation keys: type, time and id stay, the vector scales.
    std::vector<rm::AnimationKey> before(600);
    for (std::size_t i = 0; i < before.size(); ++i) {
        rm::AnimationKey& key = before[i];
        key.dwKeyType = 2;
        key.dvTime = float(i) * 0.5f;
        key.dwID = std::uint32_t(i + 1);
        key.dvPositionKey = {float(i) * 0.3f, -float(i), 1.0f / float(i + 1)};
    }
    std::vector<rm::AnimationKey> after = before;
    for (rm::AnimationKey& key : after) {
        key.dvPositionKey = {key.dvPositionKey.x * 3.0f, key.dvPositionKey.y * 3.0f,
                             key.dvPositionKey.z * 3.0f};
    }
    const auto d = ArrayDifference<rm::AnimationKey>::Between(
        std::span<const rm::AnimationKey>(before), std::span<const rm::AnimationKey>(after));
    EXPECT_LT(d.Bytes(), before.size() * sizeof(rm::AnimationKey) / 4);
    std::vector<rm::AnimationKey> keys = after;
    d.Apply(&keys, false);
    EXPECT_EQ(std::memcmp(keys.data(), before.data(), keys.size() * sizeof(rm::AnimationKey)), 0);
    d.Apply(&keys, true);
    EXPECT_EQ(std::memcmp(keys.data(), after.data(), keys.size() * sizeof(rm::AnimationKey)), 0);
}

} // namespace
