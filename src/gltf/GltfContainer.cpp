#include "gltf/GltfContainer.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QUrl>

namespace gltf {

namespace {

const char* TypeOf(int components) {
    switch (components) {
    case 1:
        return "SCALAR";
    case 2:
        return "VEC2";
    case 3:
        return "VEC3";
    case 4:
        return "VEC4";
    default:
        return "MAT4";
    }
}

void PadTo4(QByteArray* bytes, char fill) {
    while (bytes->size() % 4 != 0) {
        bytes->append(fill);
    }
}

void AppendU32(QByteArray* bytes, std::uint32_t value) {
    char raw[4];
    std::memcpy(raw, &value, 4); // glTF is little-endian, as is every machine this runs on
    bytes->append(raw, 4);
}

bool SaveFile(const QString& path, const QByteArray& bytes, std::string* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = path.toStdString() + ": " + file.errorString().toStdString();
        return false;
    }
    return true;
}

} // namespace

int GltfContainer::AddView(const void* data, std::size_t size, int target) {
    PadTo4(&m_binary, '\0');
    QJsonObject view{
        {"buffer", 0}, {"byteOffset", qint64(m_binary.size())}, {"byteLength", qint64(size)}};
    if (target != 0) {
        view.insert("target", target);
    }
    m_binary.append(static_cast<const char*>(data), qsizetype(size));
    m_views.append(view);
    return int(m_views.size() - 1);
}

int GltfContainer::AddAccessor(int view, int componentType, std::size_t count, const char* type,
                               const QJsonArray& min, const QJsonArray& max) {
    QJsonObject accessor{{"bufferView", view},
                         {"componentType", componentType},
                         {"count", qint64(count)},
                         {"type", type}};
    if (!min.isEmpty()) {
        accessor.insert("min", min);
        accessor.insert("max", max);
    }
    m_accessors.append(accessor);
    return int(m_accessors.size() - 1);
}

int GltfContainer::AddFloats(const float* data, std::size_t count, int components, int target,
                             bool minMax) {
    const int view = AddView(data, count * std::size_t(components) * sizeof(float), target);
    QJsonArray min, max;
    if (minMax && count > 0) {
        for (int c = 0; c < components; ++c) {
            float lo = std::numeric_limits<float>::infinity();
            float hi = -lo;
            for (std::size_t i = 0; i < count; ++i) {
                lo = std::min(lo, data[i * std::size_t(components) + std::size_t(c)]);
                hi = std::max(hi, data[i * std::size_t(components) + std::size_t(c)]);
            }
            min.append(double(lo));
            max.append(double(hi));
        }
    }
    return AddAccessor(view, kFloat, count, TypeOf(components), min, max);
}

int GltfContainer::AddIndices(const std::uint32_t* data, std::size_t count,
                              std::uint32_t vertexCount) {
    if (vertexCount < 65535) {
        std::vector<std::uint16_t> shorts(data, data + count);
        const int view =
            AddView(shorts.data(), shorts.size() * sizeof(std::uint16_t), kElementArrayBuffer);
        return AddAccessor(view, kUnsignedShort, count, "SCALAR", {}, {});
    }
    const int view = AddView(data, count * sizeof(std::uint32_t), kElementArrayBuffer);
    return AddAccessor(view, kUnsignedInt, count, "SCALAR", {}, {});
}

int GltfContainer::AddJoints(const std::uint16_t* data, std::size_t count) {
    const int view = AddView(data, count * 4 * sizeof(std::uint16_t), kArrayBuffer);
    return AddAccessor(view, kUnsignedShort, count, "VEC4", {}, {});
}

int GltfContainer::AddImage(QByteArray bytes, const QString& mimeType, const QString& fileName) {
    QString name = fileName;
    const QFileInfo info(fileName);
    for (int n = 2; std::any_of(m_images.begin(), m_images.end(),
                                [&](const Image& image) { return image.fileName == name; });
         ++n) {
        name = info.completeBaseName() + QStringLiteral("_%1.").arg(n) + info.suffix();
    }
    m_images.push_back({std::move(bytes), mimeType, name});
    return int(m_images.size() - 1);
}

bool GltfContainer::Write(const QString& path, QJsonObject document, std::string* error) const {
    const bool binary = path.endsWith(QStringLiteral(".glb"), Qt::CaseInsensitive);
    const QFileInfo target(path);
    QJsonArray views = m_views;
    QByteArray data = m_binary;
    QJsonArray images;
    std::vector<std::pair<QString, const QByteArray*>> sideFiles;
    for (const Image& image : m_images) {
        if (binary) {
            PadTo4(&data, '\0');
            views.append(QJsonObject{{"buffer", 0},
                                     {"byteOffset", qint64(data.size())},
                                     {"byteLength", qint64(image.bytes.size())}});
            data.append(image.bytes);
            images.append(
                QJsonObject{{"bufferView", int(views.size() - 1)}, {"mimeType", image.mimeType}});
        } else {
            // Named after the .gltf file too, so that an image of another file in the same
            // folder is never written over.
            const QString name = target.completeBaseName() + QLatin1Char('_') + image.fileName;
            images.append(QJsonObject{{"uri", QString::fromLatin1(QUrl::toPercentEncoding(name))}});
            sideFiles.emplace_back(target.dir().filePath(name), &image.bytes);
        }
    }
    const QString binName = target.completeBaseName() + QStringLiteral(".bin");
    if (!data.isEmpty()) {
        QJsonObject buffer{{"byteLength", qint64(data.size())}};
        if (!binary) {
            buffer.insert("uri", QString::fromLatin1(QUrl::toPercentEncoding(binName)));
            sideFiles.emplace_back(target.dir().filePath(binName), &data);
        }
        document.insert("buffers", QJsonArray{buffer});
        document.insert("bufferViews", views);
        document.insert("accessors", m_accessors);
    }
    if (!images.isEmpty()) {
        document.insert("images", images);
    }
    QByteArray json = QJsonDocument(document).toJson(QJsonDocument::Compact);

    for (const auto& [file, bytes] : sideFiles) {
        if (!SaveFile(file, *bytes, error)) {
            return false;
        }
    }
    if (!binary) {
        return SaveFile(path, json, error);
    }
    PadTo4(&json, ' ');
    PadTo4(&data, '\0');
    QByteArray glb;
    const std::uint32_t total =
        12 + 8 + std::uint32_t(json.size()) + (data.isEmpty() ? 0 : 8 + std::uint32_t(data.size()));
    glb.reserve(qsizetype(total));
    AppendU32(&glb, 0x46546C67); // "glTF"
    AppendU32(&glb, 2);
    AppendU32(&glb, total);
    AppendU32(&glb, std::uint32_t(json.size()));
    AppendU32(&glb, 0x4E4F534A); // "JSON"
    glb.append(json);
    if (!data.isEmpty()) {
        AppendU32(&glb, std::uint32_t(data.size()));
        AppendU32(&glb, 0x004E4942); // "BIN\0"
        glb.append(data);
    }
    return SaveFile(path, glb, error);
}

} // namespace gltf
