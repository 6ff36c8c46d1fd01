#include "platform/rm/Implementation/TextureImage.h"

#include <cstdint>
#include <vector>

#include <sys/stat.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_FAILURE_USERMSG
#define STBI_MAX_DIMENSIONS 16384
#include <stb/stb_image.h>

#include "platform/rm/Texture.h"

namespace rm {

TextureImageResult LoadTextureImage(const std::string& path, Texture* texture) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return TextureImageResult::NotFound;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    // Check the size the header claims before the decoder allocates for it.
    constexpr std::size_t kMaxPixels = std::size_t(1) << 26;
    if (!stbi_info(path.c_str(), &width, &height, &channels) ||
        std::size_t(width) * std::size_t(height) > kMaxPixels) {
        return TextureImageResult::NotAnImage;
    }
    stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
    if (!pixels) {
        return TextureImageResult::NotAnImage;
    }
    const std::size_t bytes = std::size_t(width) * std::size_t(height) * 4;
    std::vector<std::uint8_t> copy(pixels, pixels + bytes);
    stbi_image_free(pixels);
    texture->SetImage(width, height, std::move(copy));
    texture->SetSourcePath(path);
    return TextureImageResult::Loaded;
}

} // namespace rm
