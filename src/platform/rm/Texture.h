#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/rm/Object.h"

namespace rm {

/// A texture: its name is the file name it was given in the .x file (written back
/// as is); the image, when it could be read, is RGBA8, rows top to bottom.
class Texture : public Object {
public:
    const char* ClassName() const override { return "Texture"; }

    /// Replaces the image; pixels holds width * height * 4 bytes.
    void SetImage(int width, int height, std::vector<std::uint8_t> pixels);
    bool HasImage() const { return m_width > 0 && m_height > 0; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const std::vector<std::uint8_t>& Pixels() const { return m_pixels; }
    std::uint64_t Generation() const { return m_generation; }
    /// The file the image was read from (empty when it was set otherwise or not found), so
    /// an exporter can carry the file's own bytes across.
    const std::string& SourcePath() const { return m_sourcePath; }
    void SetSourcePath(std::string path) { m_sourcePath = std::move(path); }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_pixels;
    std::uint64_t m_generation = 1;
    std::string m_sourcePath;
};

} // namespace rm
