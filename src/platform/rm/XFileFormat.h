#pragma once

namespace rm {

/// Storage and compression of a .x file, from its 16-byte header.
enum class XFileFormat {
    Text,             ///< "txt "
    Binary,           ///< "bin "
    CompressedText,   ///< "tzip": MSZIP blocks holding text
    CompressedBinary, ///< "bzip": MSZIP blocks holding binary tokens
};

} // namespace rm
