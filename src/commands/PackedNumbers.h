#pragma once

// Unsigned numbers packed seven bits to a byte, the high bit saying another byte follows:
// a small number is one byte. For the lists an undo step keeps of where things are.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace packed {

inline void Put(std::vector<std::uint8_t>& out, std::uint32_t value) {
    while (value >= 0x80) {
        out.push_back(std::uint8_t(value | 0x80));
        value >>= 7;
    }
    out.push_back(std::uint8_t(value));
}

/// The number at `*at`, moving `*at` past it.
inline std::uint32_t Take(const std::vector<std::uint8_t>& in, std::size_t* at) {
    std::uint32_t value = 0;
    for (int shift = 0; *at < in.size(); shift += 7) {
        const std::uint8_t byte = in[(*at)++];
        value |= std::uint32_t(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) {
            break;
        }
    }
    return value;
}

} // namespace packed
