#pragma once

#include <string>

namespace rm {

class Texture;

enum class TextureImageResult {
    Loaded,
    NotFound,   ///< no regular file at that path
    NotAnImage, ///< the file could not be decoded, or is too large
};

/// Reads the image file at `path` (PNG, BMP, TGA, JPEG, PPM/PGM, GIF, PSD, HDR, PIC) into
/// `texture` as RGBA8, rows top to bottom. Only regular files are opened, so a name in a
/// .x file cannot make the reader wait on a device or a pipe; images wider or taller than
/// 16384 pixels, or of more than 2^26 pixels, are refused. The texture is left untouched unless the
/// result is Loaded.
TextureImageResult LoadTextureImage(const std::string& path, Texture* texture);

} // namespace rm
