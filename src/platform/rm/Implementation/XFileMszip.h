#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rm {

/// Inflates the body of a compressed .x file ("tzip" or "bzip"): `body` is everything
/// after the 16-byte header, that is a 32-bit total size followed by MSZIP blocks (16-bit
/// uncompressed size, 16-bit compressed size counting the "CK" signature, "CK", raw deflate
/// data). Each block may refer back into the previous blocks' output, so up to 32 KiB of
/// it is handed to zlib as the dictionary of the next block.
///
/// The output never grows past the declared total size (nor past `maxOutput`), so a small
/// file cannot make it allocate without bound. Returns true with the content after the
/// header in *out; false with *problem and *problemOffset (measured from the start of
/// `body`) describing the first bad block.
bool InflateMszip(std::string_view body, std::size_t maxOutput, std::string* out,
                  std::string* problem, std::size_t* problemOffset);

} // namespace rm
