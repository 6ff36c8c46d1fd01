#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace rm {

/// The inflated content of a compressed file, in memory that was never zero-filled.
struct InflatedContent {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;

    std::string_view View() const { return {data.get(), size}; }
};

/// Inflates the body of a compressed .x file ("tzip" or "bzip"): `body` is everything
/// after the 16-byte header, that is a 32-bit total size followed by MSZIP blocks (16-bit
/// uncompressed size, 16-bit compressed size counting the "CK" signature, "CK", raw deflate
/// data). Each block may refer back into the previous blocks' output, so up to 32 KiB of
/// it is handed to zlib as the dictionary of the next block.
///
/// The block headers are walked first: their uncompressed sizes, checked against the
/// declared total size (and `maxOutput`), size the output, which is allocated once and
/// left uninitialised, every byte of it then written by zlib. A small file cannot make it
/// allocate more than its blocks can fill (64 KiB per block header). Returns true with the
/// content after the header in *out; false with *problem and *problemOffset (measured from
/// the start of `body`) describing the first bad block.
bool InflateMszip(std::string_view body, std::size_t maxOutput, InflatedContent* out,
                  std::string* problem, std::size_t* problemOffset);

} // namespace rm
