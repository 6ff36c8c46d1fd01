#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <type_traits>
#include <vector>

#include "commands/PackedNumbers.h"
#include "commands/ScaledLanes.h"
#include "platform/Assert.h"

/// What differs between two versions of an array of plain records, compared byte for byte,
/// kept so that either version can be made again from the other: the runs of records that
/// differ, with their values on both sides. Arrays of the same length keep each run of
/// differing records (a record changed in place costs itself twice); arrays of different
/// lengths keep the one stretch between their common beginning and their common end.
///
/// When many records changed in place and one version follows from the other lane by lane
/// (the same, or scaled by a factor: a model scaled, keys moved by a factor), neither
/// version is kept but that relation (ScaledLanes): each is made from the other, which is
/// then read from the array as it is. So Apply and ForEachRun need the array to be, in the
/// records the difference names, byte for byte the version the change starts from.
///
/// T is compared and copied as bytes (keys, vectors, vertices, floats).
template <typename T>
class ArrayDifference {
public:
    ArrayDifference() = default;

    /// The difference that turns `before` into `after`. The records before `first`, and for
    /// arrays of the same length those from `last` on, are known to be the same on both sides
    /// and are not compared.
    static ArrayDifference Between(std::span<const T> before, std::span<const T> after,
                                   std::size_t first = 0, std::size_t last = std::size_t(-1)) {
        ArrayDifference d;
        d.m_beforeSize = std::uint32_t(before.size());
        d.m_afterSize = std::uint32_t(after.size());
        const std::size_t shorter = std::min(before.size(), after.size());
        first = std::min(first, shorter);
        if (before.size() == after.size()) {
            constexpr std::size_t kBlock = 64; // equal stretches are passed a block at a time
            const std::size_t end = std::max(first, std::min(last, before.size()));
            for (std::size_t i = first; i < end;) {
                if (i + kBlock <= end &&
                    std::memcmp(&before[i], &after[i], kBlock * sizeof(T)) == 0) {
                    i += kBlock;
                    continue;
                }
                if (Same(before[i], after[i])) {
                    ++i;
                    continue;
                }
                std::size_t stop = i + 1;
                while (stop < end && !Same(before[stop], after[stop])) {
                    ++stop;
                }
                d.AddRun(before, after, i, stop - i, stop - i);
                i = stop;
            }
            d.Relate();
            return d;
        }
        std::size_t head = first;
        while (head < shorter && Same(before[head], after[head])) {
            ++head;
        }
        std::size_t tail = 0;
        while (tail < shorter - head &&
               Same(before[before.size() - 1 - tail], after[after.size() - 1 - tail])) {
            ++tail;
        }
        d.AddRun(before, after, head, before.size() - head - tail, after.size() - head - tail);
        return d;
    }

    bool Empty() const { return m_runs.empty() && !m_relation; }
    /// The length of the array before (forward false) or after the change.
    std::size_t Size(bool after) const { return after ? m_afterSize : m_beforeSize; }
    /// Whether the two versions have the same length (every run keeps its place).
    bool SameLength() const { return m_beforeSize == m_afterSize; }

    /// Turns `array`, the version before (forward) or after the change, into the other one.
    void Apply(std::vector<T>* array, bool forward) const {
        PAVRIX_ASSERT(
            array->size() == Size(!forward),
            "ArrayDifference::Apply: the array is not the version the change starts from");
        if (SameLength()) {
            ForEachRun(forward, std::span<const T>(*array),
                       [array](std::size_t first, std::size_t count, const T* values) {
                           std::memcpy(array->data() + first, values, count * sizeof(T));
                       });
            return;
        }
        // One run: the common beginning and end stay, the stretch between is replaced.
        const Run& run = m_runs.front();
        const std::size_t removed = forward ? run.beforeCount : run.afterCount;
        const T* values = (forward ? m_after.data() : m_before.data());
        const std::size_t added = forward ? run.afterCount : run.beforeCount;
        array->erase(array->begin() + run.start, array->begin() + run.start + removed);
        array->insert(array->begin() + run.start, values, values + added);
    }

    /// Calls write(first, count, values) for each run with the values of the version the
    /// change goes to (forward: after); `first` is the run's index in that version. `from` is
    /// the array as it is now, the version the change starts from; its records are read
    /// before the first write. Only for versions of the same length.
    template <typename Write>
    void ForEachRun(bool forward, std::span<const T> from, Write&& write) const {
        PAVRIX_ASSERT(SameLength(), "ArrayDifference::ForEachRun: the lengths differ");
        PAVRIX_ASSERT(from.size() == m_beforeSize,
                      "ArrayDifference::ForEachRun: the array is not the version it starts from");
        const T* values = forward ? m_after.data() : m_before.data();
        std::vector<T> made;
        if (m_relation) {
            std::vector<T> was;
            was.reserve(m_relation->records);
            ForEachPlace([&](std::size_t start, std::size_t count) {
                was.insert(was.end(), from.begin() + start, from.begin() + start + count);
            });
            made.resize(m_relation->records);
            m_relation->lanes.Make(was.data(), made.data(), made.size() * kWords, forward);
            values = made.data();
        }
        ForEachPlace([&](std::size_t start, std::size_t count) {
            write(start, count, values);
            values += count;
        });
    }

    /// Bytes held: the runs and the values of both sides, or the relation between them.
    std::size_t Bytes() const {
        return m_runs.size() * sizeof(Run) + (m_before.size() + m_after.size()) * sizeof(T) +
               (m_relation
                    ? sizeof(Relation) + m_relation->lanes.Bytes() + m_relation->places.size()
                    : 0);
    }

private:
    struct Run {
        std::uint32_t start = 0; // the same index on both sides (the common beginning)
        std::uint32_t beforeCount = 0;
        std::uint32_t afterCount = 0;
    };

    /// Records of whole 32-bit words may be related lane by lane.
    static constexpr bool kRelatable = std::is_trivially_copyable_v<T> && sizeof(T) % 4 == 0;
    static constexpr std::size_t kWords = sizeof(T) / 4;
    /// Fewer changed words than this are kept as they are.
    static constexpr std::size_t kRelatedWords = 64;

    static bool Same(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }

    /// Calls visit(start, count) for each run of versions of the same length.
    template <typename Visit>
    void ForEachPlace(Visit&& visit) const {
        for (const Run& run : m_runs) {
            visit(std::size_t(run.start), std::size_t(run.beforeCount));
        }
        if (!m_relation) {
            return;
        }
        const std::vector<std::uint8_t>& places = m_relation->places;
        std::size_t end = 0;
        for (std::size_t at = 0; at < places.size();) {
            const std::size_t start = end + packed::Take(places, &at);
            const std::size_t count = packed::Take(places, &at);
            visit(start, count);
            end = start + count;
        }
    }

    /// Keeps, where it pays, the relation between the two versions of the runs instead of
    /// their values.
    void Relate() {
        if constexpr (kRelatable) {
            if (m_after.size() * kWords < kRelatedWords) {
                return;
            }
            auto lanes =
                ScaledLanes::Fit(m_before.data(), m_after.data(), m_after.size() * kWords, kWords);
            if (!lanes) {
                return;
            }
            Relation relation{std::move(*lanes), {}, m_after.size()};
            // The runs as packed numbers: from the end of the one before, and how long.
            std::uint32_t end = 0;
            for (const Run& run : m_runs) {
                packed::Put(relation.places, run.start - end);
                packed::Put(relation.places, run.beforeCount);
                end = run.start + run.beforeCount;
            }
            m_relation = std::make_shared<const Relation>(std::move(relation));
            std::vector<Run>().swap(m_runs);
            std::vector<T>().swap(m_before);
            std::vector<T>().swap(m_after);
        }
    }

    void AddRun(std::span<const T> before, std::span<const T> after, std::size_t start,
                std::size_t beforeCount, std::size_t afterCount) {
        if (beforeCount == 0 && afterCount == 0) {
            return;
        }
        m_runs.push_back(
            {std::uint32_t(start), std::uint32_t(beforeCount), std::uint32_t(afterCount)});
        m_before.insert(m_before.end(), before.begin() + start,
                        before.begin() + start + beforeCount);
        m_after.insert(m_after.end(), after.begin() + start, after.begin() + start + afterCount);
    }

    std::vector<Run> m_runs;
    std::vector<T> m_before;
    std::vector<T> m_after;
    // Instead of the values of both sides and the runs: how one follows from the other.
    // Shared by copies; never changed once made.
    struct Relation {
        ScaledLanes lanes;
        std::vector<std::uint8_t> places; // the runs (ForEachPlace)
        std::size_t records = 0;          // in all the runs
    };
    std::shared_ptr<const Relation> m_relation;
    std::uint32_t m_beforeSize = 0;
    std::uint32_t m_afterSize = 0;
};
