#include "cli/InfoCommand.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "cli/Cli.h"
#include "cli/JsonString.h"
#include "platform/framework/DecodeName.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "platform/rm/MeshBuilder.h"
#include "platform/rm/XFileLoader.h"
#include "platform/rm/XFileOpenScope.h"

namespace cli {

namespace {

/// Changes into a directory and back again when it goes out of scope.
class DirectoryChange {
public:
    explicit DirectoryChange(const std::string& directory) {
        char buffer[PATH_MAX];
        if (!::getcwd(buffer, sizeof buffer)) {
            m_error = std::strerror(errno);
            return;
        }
        m_previous = buffer;
        if (::chdir(directory.c_str()) != 0) {
            m_error = std::strerror(errno);
            m_previous.clear();
        }
    }
    ~DirectoryChange() {
        if (!m_previous.empty() && ::chdir(m_previous.c_str()) != 0) {
            // Nothing sensible is left to do; the next load reports its own failure.
        }
    }
    DirectoryChange(const DirectoryChange&) = delete;
    DirectoryChange& operator=(const DirectoryChange&) = delete;

    /// Empty on success.
    const std::string& Error() const { return m_error; }

private:
    std::string m_previous;
    std::string m_error;
};

/// Messages name the file as it was loaded (its bare name); show the path the user gave.
std::string NameAsGiven(const std::string& message, std::string_view loaded,
                        const std::string& path) {
    if (loaded == path) {
        return message;
    }
    std::string out;
    std::size_t start = 0;
    while (start <= message.size()) {
        std::size_t end = message.find('\n', start);
        if (end == std::string::npos) {
            end = message.size();
        }
        std::string_view line(message.data() + start, end - start);
        if (line.substr(0, loaded.size()) == loaded) {
            out += path;
            line.remove_prefix(loaded.size());
        }
        out += line;
        if (end == message.size()) {
            break;
        }
        out += '\n';
        start = end + 1;
    }
    return out;
}

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
    const std::size_t slash = path.find_last_of('/');
    const std::string bare = slash == std::string::npos ? path : path.substr(slash + 1);
    std::unique_ptr<DirectoryChange> change;
    if (slash != std::string::npos) {
        change = std::make_unique<DirectoryChange>(slash == 0 ? "/" : path.substr(0, slash));
        if (!change->Error().empty()) {
            *error = path + ": cannot enter its directory (" + change->Error() + ")";
            return false;
        }
    }
    auto fail = [&]() {
        *error = NameAsGiven(rm::GetLastLoadMessage(), bare, path);
        return false;
    };
    auto warn = [&]() {
        const std::string& message = rm::GetLastLoadMessage();
        if (!message.empty()) {
            if (!warnings->empty()) {
                *warnings += '\n';
            }
            *warnings += NameAsGiven(message, bare, path);
        }
    };

    // The frames and the animation set come from one read of the file.
    const rm::XFileOpenScope scope;
    rm::XFileFormat format{};
    if (rm::Failed(rm::GetXFileFormat(bare.c_str(), &format))) {
        return fail();
    }

    auto root = rm::MakeRef<rm::Frame>();
    rm::HRESULT hr = root->Load(bare.c_str());
    if (hr == rm::D3DRMERR_NOTFOUND) {
        // No frame: a bare mesh, shown in an unnamed frame as the model load does.
        auto builder = rm::MakeRef<rm::MeshBuilder>();
        hr = builder->Load(bare.c_str());
        if (rm::Succeeded(hr)) {
            auto frame = rm::MakeRef<rm::Frame>();
            frame->AddVisual(builder.Get());
            root->AddChild(frame.Get());
        }
    }
    if (rm::Failed(hr) && hr != rm::D3DRMERR_NOTFOUND) {
        return fail();
    }
    warn();

    std::vector<rm::AnimationSet::Loaded> sets;
    const rm::HRESULT setResult = rm::AnimationSet::LoadAll(bare.c_str(), &sets);
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
