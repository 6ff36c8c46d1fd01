#include "cli/RenderCommand.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string_view>
#include <vector>

#include <zlib.h>

#include "cli/Cli.h"
#include "cli/CommandOpen.h"
#include "platform/NonCopyable.h"
#include "platform/rm/Context.h"
#include "platform/surface/OffscreenWindow.h"
#include "render/ModelFraming.h"
#include "render/ParentD3R.h"
#include "render/SceneSetup.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/DocumentOpen.h"
#include "scene/SceneContext.h"
#include "scene/SceneMessages.h"

namespace cli {

namespace {

constexpr char kUsage[] = "usage: pavrix --render FILE [--animation ANIM] [--time T] [--size WxH] "
                          "[--view front|back|left|right|top|bottom] [--editor-camera] "
                          "[--software] --out PNG\n";
constexpr int kLargestSide = 8192;

struct RenderArguments {
    std::string file;
    std::string animation;
    std::string out;
    bool hasTime = false;
    float time = 0;
    int width = 640;
    int height = 480;
    int view = 0; // the control panel's camera view; 0 keeps the editor's start view
    bool software = false;
    bool editorCamera = false; // the editor's camera as the open leaves it, not framed
};

bool ParseFloat(const std::string& text, float* value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const float v = std::strtof(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v)) {
        return false;
    }
    *value = v;
    return true;
}

bool ParseSize(const std::string& text, int* width, int* height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) {
        return false;
    }
    auto side = [](const std::string& s, int* out) {
        if (s.empty() || s.size() > 5 || s.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        *out = std::atoi(s.c_str());
        return *out >= 1 && *out <= kLargestSide;
    };
    return side(text.substr(0, x), width) && side(text.substr(x + 1), height);
}

bool ParseArguments(std::span<const std::string> args, RenderArguments* parsed, std::string* why) {
    static constexpr std::array<std::string_view, 6> kViews = {"front", "back", "left",
                                                               "right", "top",  "bottom"};
    std::size_t fileCount = 0;
    bool hasAnimation = false, hasSize = false, hasView = false, hasOut = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](bool* seen, std::string* out) {
            if (*seen) {
                *why = arg + " is given twice";
                return false;
            }
            if (i + 1 >= args.size()) {
                *why = arg + " needs a value";
                return false;
            }
            *seen = true;
            *out = args[++i];
            return true;
        };
        std::string text;
        if (arg == "--animation") {
            if (!value(&hasAnimation, &parsed->animation)) {
                return false;
            }
        } else if (arg == "--out") {
            if (!value(&hasOut, &parsed->out)) {
                return false;
            }
        } else if (arg == "--time") {
            if (!value(&parsed->hasTime, &text)) {
                return false;
            }
            if (!ParseFloat(text, &parsed->time)) {
                *why = "--time needs a number, not '" + text + "'";
                return false;
            }
        } else if (arg == "--size") {
            if (!value(&hasSize, &text)) {
                return false;
            }
            if (!ParseSize(text, &parsed->width, &parsed->height)) {
                *why = "--size needs WIDTHxHEIGHT, each 1 to 8192, not '" + text + "'";
                return false;
            }
        } else if (arg == "--view") {
            if (!value(&hasView, &text)) {
                return false;
            }
            parsed->view = 0;
            for (std::size_t v = 0; v < kViews.size(); ++v) {
                if (text == kViews[v]) {
                    parsed->view = int(v) + 1;
                }
            }
            if (!parsed->view) {
                *why = "--view needs front, back, left, right, top or bottom, not '" + text + "'";
                return false;
            }
        } else if (arg == "--software") {
            parsed->software = true;
        } else if (arg == "--editor-camera") {
            parsed->editorCamera = true;
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            *why = "unknown option '" + arg + "'";
            return false;
        } else if (fileCount++ == 0) {
            parsed->file = arg;
        }
    }
    if (fileCount != 1) {
        *why = "expects one input file";
        return false;
    }
    if (!hasOut) {
        *why = "needs --out PNG";
        return false;
    }
    return true;
}

void PutBigEndian(std::vector<unsigned char>* out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out->push_back(static_cast<unsigned char>(value >> shift));
    }
}

void PutChunk(std::vector<unsigned char>* png, const char* type,
              const std::vector<unsigned char>& data) {
    PutBigEndian(png, std::uint32_t(data.size()));
    const std::size_t start = png->size();
    png->insert(png->end(), type, type + 4);
    png->insert(png->end(), data.begin(), data.end());
    const uLong crc = crc32(0L, png->data() + start, uInt(png->size() - start));
    PutBigEndian(png, std::uint32_t(crc));
}

/// Writes image as an 8-bit RGBA PNG. The file is written beside path and renamed over it
/// once complete, so a failure never leaves a half-written picture.
bool WritePng(const surface::Image& image, const std::string& path, std::string* why) {
    std::vector<unsigned char> raw;
    raw.reserve((image.RowBytes() + 1) * std::size_t(image.Height()));
    for (int y = 0; y < image.Height(); ++y) {
        raw.push_back(0); // no filter
        raw.insert(raw.end(), image.Row(y), image.Row(y) + image.RowBytes());
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 6) != Z_OK) {
        *why = "the picture cannot be compressed";
        return false;
    }
    packed.resize(packedSize);

    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutBigEndian(&header, std::uint32_t(image.Width()));
    PutBigEndian(&header, std::uint32_t(image.Height()));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter, no interlace
    PutChunk(&png, "IHDR", header);
    PutChunk(&png, "IDAT", packed);
    PutChunk(&png, "IEND", {});

    const std::string partial = path + ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            *why = "it cannot be written";
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, error);
        *why = "it cannot be replaced";
        return false;
    }
    return true;
}

/// What the editor's main frame and view provide, made for one command and taken down
/// with it: the device layer's owner with the shared factory, the scene frames with their
/// lights and grid, the object store, and the scene's messages routed to the error
/// stream. Whatever was published before is put back afterwards.
class HeadlessView : private platform::NonCopyable {
public:
    explicit HeadlessView(std::ostream& err) : m_previousD3drm(g_d3drm) {
        g_d3drm = m_parent.D3DRM();
        if (g_d3drm) {
            render::SceneSetup::CreateSceneFrames(g_d3drm, render::kAppWorkspaceColor,
                                                  render::kInactiveBorderColor, &frames);
        }
        m_store = std::make_unique<CObjectStore>(&g_modelLibrary, &g_animationLibrary);
        m_previousHook = scene::SetMessageHook(
            [&err](std::string_view text) { err << "pavrix: " << text << '\n'; });
        document.sceneFrame = frames.sceneFrame.Get();
        document.store = m_store.get();
    }
    ~HeadlessView() {
        rig = render::CameraRig{};
        if (device) {
            m_parent.ReleaseChild(&device);
        }
        // The store goes before the frames: its models take their root frames out of the
        // scene frame.
        m_store.reset();
        frames = render::SceneFrames{};
        scene::SetMessageHook(std::move(m_previousHook));
        g_d3drm = m_previousD3drm;
    }

    render::ParentD3R& Parent() { return m_parent; }

    scene::SceneDocument document;
    render::SceneFrames frames;
    render::CameraRig rig;
    render::Direct3R* device = nullptr;

private:
    render::ParentD3R m_parent;
    rm::Context* m_previousD3drm;
    std::unique_ptr<CObjectStore> m_store;
    scene::MessageHook m_previousHook;
};

const char* SetupFailure(render::ViewSetupResult result) {
    switch (result) {
    case render::ViewSetupResult::DirectDrawFailed:
        return "DirectDraw creation failed";
    case render::ViewSetupResult::Direct3DRMFailed:
        return "Direct3DRM creation failed";
    case render::ViewSetupResult::ViewportFailed:
        return "Direct3DRM viewport creation failed";
    case render::ViewSetupResult::Ok:
        break;
    }
    return "";
}

} // namespace

int RunRender(std::span<const std::string> args, std::ostream& /*out*/, std::ostream& err) {
    RenderArguments parsed;
    std::string why;
    if (!ParseArguments(args, &parsed, &why)) {
        err << "pavrix: --render " << why << '\n' << kUsage;
        return kExitUsage;
    }

    HeadlessView view(err);
    if (!g_d3drm || !view.frames.sceneRoot) {
        err << "pavrix: cannot render: the scene cannot be set up\n";
        return kExitFailed;
    }
    // The view first, so the open can centre its camera as the editor's open does.
    view.Parent().CreateChild(&view.device);
    view.device->SetHEL(parsed.software ? 1 : 0);
    surface::OffscreenWindow window(parsed.width, parsed.height);
    const render::ViewSetupResult setUp = render::SceneSetup::SetUpView(
        view.device, &window, view.frames.sceneRoot.Get(), &view.rig, nullptr);
    if (setUp != render::ViewSetupResult::Ok) {
        err << "pavrix: cannot render: " << SetupFailure(setUp) << '\n';
        return kExitFailed;
    }

    scene::SceneDocument& doc = view.document;
    if (!OpenCommandDocument(doc, parsed.file,
                             parsed.animation.empty() ? nullptr : &parsed.animation,
                             AnimationArgument::SetNameOrFile, err)) {
        return kExitFailed;
    }

    // Centred as the open does, on the model the animation set is bound to as it was
    // loaded; the pose comes after, so the picture shows the model move.
    CAnimationData* animation = doc.currentAnimation;
    rm::Frame* target = doc.sceneFrame;
    if (animation && animation->Model() && animation->Model()->Root()) {
        target = animation->Model()->Root();
    }
    render::SceneSetup::CenterOnFrame(view.rig.pivot.Get(), target);
    render::SceneSetup::ApplyCameraView(view.rig.pivot.Get(), parsed.view);
    // Pose: the given time, or the first entry of the key-time list (0 when it is empty).
    if (animation && animation->Set()) {
        const float time = parsed.hasTime ? parsed.time : animation->KeyTime(0);
        animation->Pose(time);
    }
    // The whole character in the picture, as posed, seen from the chosen side.
    if (!parsed.editorCamera) {
        render::ModelFraming::FrameWhole(view.rig.pivot.Get(), view.device->Viewport(), target);
    }

    if (!render::SceneSetup::RenderFrame(*view.device, view.frames.gridFrame.Get(),
                                         view.frames.sceneRoot.Get(), nullptr, nullptr, {},
                                         nullptr) ||
        window.LastPicture().IsEmpty()) {
        err << "pavrix: cannot render " << parsed.file << ": nothing could be drawn\n";
        return kExitFailed;
    }
    if (!WritePng(window.LastPicture(), parsed.out, &why)) {
        err << "pavrix: cannot write " << parsed.out << ": " << why << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace cli
