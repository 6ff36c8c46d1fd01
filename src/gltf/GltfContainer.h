#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace gltf {

/// The binary side of a glTF asset and the JSON arrays that describe it: one buffer of
/// 4-byte aligned buffer views, the accessors over them, and the images. `Write` puts the
/// JSON document (Qt's QJsonDocument) and the data into a .glb file, or into a .gltf file
/// with a .bin file and the images beside it; each file is written to a temporary file and
/// renamed over its target only when complete.
class GltfContainer {
public:
    /// glTF accessor component types and buffer view targets.
    enum : int {
        kUnsignedByte = 5121,
        kUnsignedShort = 5123,
        kUnsignedInt = 5125,
        kFloat = 5126,
        kArrayBuffer = 34962,
        kElementArrayBuffer = 34963,
    };

    /// Appends `size` bytes as a new buffer view; `target` 0 names none. Its index.
    int AddView(const void* data, std::size_t size, int target);
    /// An accessor of `count` float elements of `components` each ("SCALAR", "VEC2" …
    /// by count, "MAT4" for 16), over a new view. With `minMax` the accessor carries the
    /// per-component bounds (required for positions and animation times). Its index.
    int AddFloats(const float* data, std::size_t count, int components, int target, bool minMax);
    /// Triangle indices (unsigned short when every index fits below 65535, else unsigned
    /// int). Its index.
    int AddIndices(const std::uint32_t* data, std::size_t count, std::uint32_t vertexCount);
    /// Four joint indices per vertex as unsigned shorts. Its index.
    int AddJoints(const std::uint16_t* data, std::size_t count);

    /// An image with its bytes and MIME type ("image/png", "image/jpeg"); beside a .gltf
    /// file it is written as "<the .gltf file's name>_<fileName>" (made unique here). Its
    /// index.
    int AddImage(QByteArray bytes, const QString& mimeType, const QString& fileName);

    /// Writes `document` (asset, scenes, nodes … everything but buffers, bufferViews,
    /// accessors and images, which are added here) to `path`: a .glb file when the name
    /// ends in ".glb" (any case), else a .gltf file whose .bin file and images are written
    /// beside it. False, with the reason naming the file, when any file could not be
    /// written.
    bool Write(const QString& path, QJsonObject document, std::string* error) const;

    std::size_t BinarySize() const { return m_binary.size(); }

private:
    struct Image {
        QByteArray bytes;
        QString mimeType;
        QString fileName;
    };
    int AddAccessor(int view, int componentType, std::size_t count, const char* type,
                    const QJsonArray& min, const QJsonArray& max);

    QByteArray m_binary;
    QJsonArray m_views;
    QJsonArray m_accessors;
    std::vector<Image> m_images;
};

} // namespace gltf
