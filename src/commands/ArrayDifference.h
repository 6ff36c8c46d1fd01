#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "platform/Assert.h"

/// What differs between two versions of an array of plain records, compared byte for byte,
/// kept so that either version can be made again from the other: the runs of records that
/// differ, with their values on both sides. Arrays of the same length keep each run of
/// differing records (a record changed in place costs itself twice); arrays of different
/// lengths keep the one stretch between their common beginning and their common end.
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

    bool Empty() const { return m_runs.empty(); }
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
            ForEachRun(forward, [array](std::size_t first, std::size_t count, const T* values) {
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
    /// change goes to (forward: after); `first` is the run's index in that version. Only for
    /// versions of the same length.
    template <typename Write>
    void ForEachRun(bool forward, Write&& write) const {
        PAVRIX_ASSERT(SameLength(), "ArrayDifference::ForEachRun: the lengths differ");
        const T* values = forward ? m_after.data() : m_before.data();
        for (const Run& run : m_runs) {
            write(std::size_t(run.start), std::size_t(run.beforeCount), values);
            values += run.beforeCount;
        }
    }

    /// Bytes held: the runs and the values of both sides.
    std::size_t Bytes() const {
        return m_runs.size() * sizeof(Run) + (m_before.size() + m_after.size()) * sizeof(T);
    }

private:
    struct Run {
        std::uint32_t start = 0; // the same index on both sides (the common beginning)
        std::uint32_t beforeCount = 0;
        std::uint32_t afterCount = 0;
    };

    static bool Same(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }

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
    std::uint32_t m_beforeSize = 0;
    std::uint32_t m_afterSize = 0;
};
