#include "cli/InfoCommand.h"

#include <charconv>
#include <string_view>
#include <vector>

#include "cli/Cli.h"
#include "cli/JsonString.h"
#include "platform/framework/DecodeName.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "platform/rm/MeshBuilder.h"
#include "platform/rm/XFileLoader.h"
#include "platform/rm/XFileOpenScope.h"
#include "scene/ModelFile.h"

namespace cli {

namespace {

/// `"key":name`, the name as UTF-8 text (decoded from code page 932 when its bytes are not
/// UTF-8, then followed by `"keyBytes":"<hex>"` with the name's exact bytes), or null.
void AppendName(std::string* json, std::string_view key, const rm::Object* object) {
    *json += '"';
    *json += key;
    *json += "\":";
    if (!object || !object->HasName()) {
        *json += "null";
        return;
    }
    const std::string& name = object->Name();
    if (framework::IsValidUtf8(name)) {
        AppendJsonString(json, name);
        return;
    }
    AppendJsonString(json, framework::DecodeName(name).toStdString());
    *json += ",\"";
    *json += key;
    *json += "Bytes\":\"";
    static constexpr char kHex[] = "0123456789abcdef";
    for (const unsigned char byte : name) {
        *json += kHex[byte >> 4];
        *json += kHex[byte & 15];
    }
    *json += '"';
}

void AppendNumber(std::string* json, std::uint64_t n) {
    *json += std::to_string(n);
}

void AppendTime(std::string* json, float t) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, t);
    json->append(buffer, result.ptr);
}

const char* FormatName(rm::XFileFormat format) {
    switch (format) {
    case rm::XFileFormat::Text:
        return "text";
    case rm::XFileFormat::Binary:
        return "binary";
    default:
        return "compressed";
    }
}

/// `,"skins":[{"mesh":name,"bones":n,"weights":n},...]` for the frame's meshes that have
/// skin weights; nothing when none has.
void AppendSkins(std::string* json, const rm::Frame& frame) {
    bool first = true;
    for (const auto& visual : frame.Visuals()) {
        const auto* builder = dynamic_cast<const rm::MeshBuilder*>(visual.Get());
        if (!builder || !builder->HasSkin()) {
            continue;
        }
        std::uint64_t weights = 0;
        for (const rm::SkinBone& bone : builder->GetSkin().bones) {
            weights += bone.weights.size();
        }
        *json += first ? ",\"skins\":[{" : ",{";
        first = false;
        AppendName(json, "mesh", builder);
        *json += ",\"bones\":";
        AppendNumber(json, builder->GetSkin().bones.size());
        *json += ",\"weights\":";
        AppendNumber(json, weights);
        *json += '}';
    }
    if (!first) {
        *json += ']';
    }
}

void AppendFrames(std::string* json, const rm::Frame* frame, const rm::Frame* parent, bool* first) {
    std::uint64_t vertices = 0, faces = 0, normals = 0;
    for (const auto& visual : frame->Visuals()) {
        if (const auto* builder = dynamic_cast<const rm::MeshBuilder*>(visual.Get())) {
            vertices += builder->GetVertexCount();
            faces += builder->GetFaceCount();
            normals += builder->GetNormalCount();
        }
    }
    *json += *first ? "{" : ",{";
    *first = false;
    AppendName(json, "name", frame);
    *json += ',';
    AppendName(json, "parent", parent);
    *json += ",\"visuals\":";
    AppendNumber(json, frame->Visuals().size());
    *json += ",\"vertices\":";
    AppendNumber(json, vertices);
    *json += ",\"faces\":";
    AppendNumber(json, faces);
    *json += ",\"normals\":";
    AppendNumber(json, normals);
    AppendSkins(json, *frame);
    *json += '}';
    for (const auto& child : frame->Children()) {
        AppendFrames(json, child.Get(), frame, first);
    }
}

void AppendAnimationSet(std::string* json, const rm::AnimationSet& set) {
    *json += '{';
    AppendName(json, "name", &set);
    *json += ",\"animations\":[";
    bool first = true;
    for (const auto& animation : set.Animations()) {
        std::uint64_t counts[4] = {0, 0, 0, 0};
        for (const auto& key : animation->Keys()) {
            if (key.dwKeyType >= 1 && key.dwKeyType <= 3) {
                ++counts[key.dwKeyType];
            }
        }
        *json += first ? "{" : ",{";
        first = false;
        AppendName(json, "name", animation.Get());
        *json += ',';
        AppendName(json, "frame", animation->GetFrame().Get());
        *json += ",\"rotationKeys\":";
        AppendNumber(json, counts[rm::D3DRMANIMATION_ROTATEKEY]);
        *json += ",\"scaleKeys\":";
        AppendNumber(json, counts[rm::D3DRMANIMATION_SCALEKEY]);
        *json += ",\"positionKeys\":";
        AppendNumber(json, counts[rm::D3DRMANIMATION_POSITIONKEY]);
        // Keys are kept in time order, so the ends of the list are the time range.
        const auto& keys = animation->Keys();
        *json += ",\"first\":";
        if (keys.empty()) {
            *json += "null";
        } else {
            AppendTime(json, keys.front().dvTime);
        }
        *json += ",\"last\":";
        if (keys.empty()) {
            *json += "null";
        } else {
            AppendTime(json, keys.back().dvTime);
        }
        *json += ",\"options\":";
        AppendNumber(json, animation->GetOptions());
        *json += '}';
    }
    *json += ']';
    if (set.TicksPerSecond() != 0) {
        *json += ",\"ticksPerSecond\":";
        AppendNumber(json, set.TicksPerSecond());
    }
    *json += '}';
}

} // namespace

bool DescribeXFile(const std::string& path, std::string* json, std::string* error,
                   std::string* warnings) {
    json->clear();
    error->clear();
    warnings->clear();
    auto fail = [&]() {
        *error = rm::GetLastLoadMessage();
        return false;
    };

    // The frames and the animation set come from one read of the file.
    const rm::XFileOpenScope scope;
    rm::XFileFormat format{};
    if (rm::Failed(rm::GetXFileFormat(path.c_str(), &format))) {
        return fail();
    }

    auto root = rm::MakeRef<rm::Frame>();
    const rm::HRESULT hr = scene::LoadModelFile(root.Get(), path.c_str());
    if (rm::Failed(hr) && hr != rm::D3DRMERR_NOTFOUND) {
        return fail();
    }
    *warnings = rm::GetLastLoadMessage();

    std::vector<rm::AnimationSet::Loaded> sets;
    const rm::HRESULT setResult = rm::AnimationSet::LoadAll(path.c_str(), &sets);
    if (rm::Failed(setResult) && setResult != rm::D3DRMERR_NOTFOUND) {
        return fail();
    }

    *json += "{\"file\":";
    AppendJsonString(json, path);
    *json += ",\"format\":\"";
    *json += FormatName(format);
    *json += "\",\"frames\":[";
    bool first = true;
    for (const auto& frame : root->Children()) {
        AppendFrames(json, frame.Get(), nullptr, &first);
    }
    *json += "],\"animationSets\":[";
    for (std::size_t i = 0; i < sets.size(); ++i) {
        if (i > 0) {
            *json += ',';
        }
        AppendAnimationSet(json, *sets[i].set);
    }
    *json += "]}";
    return true;
}

int RunInfo(std::span<const std::string> files, std::ostream& out, std::ostream& err) {
    if (files.empty()) {
        err << "pavrix: --info needs at least one file\nusage: pavrix --info FILE...\n";
        return kExitUsage;
    }
    int status = kExitOk;
    std::string json, error, warnings;
    for (const std::string& file : files) {
        if (DescribeXFile(file, &json, &error, &warnings)) {
            out << json << '\n';
            if (!warnings.empty()) {
                err << warnings << '\n';
            }
        } else {
            err << error << '\n';
            status = kExitFailed;
        }
    }
    return status;
}

} // namespace cli
