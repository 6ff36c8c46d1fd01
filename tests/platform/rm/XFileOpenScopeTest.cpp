// One read per open: the loads of one open share a parse while the file stays the same, and
// read it again after any change; the mapping behind a read survives a truncation.

#include "platform/rm/XFileOpenScope.h"

#include <cstdint>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Implementation/XFileBytes.h"
#include "platform/rm/Implementation/XFileReader.h"
#include "platform/rm/MeshBuilder.h"
#include "platform/rm/XFileLoader.h"
#include "support/XFileTestSupport.h"

using namespace rm;
using namespace testing_xfile;

namespace {

/// A model and its animation in one file; `x` is the first vertex's x and the first key's
/// time, so two versions of the file differ in both loads' results.
std::string Character(int x, const char* setName = "Walk") {
    const std::string v = std::to_string(x);
    return "xof 0303txt 0032\nFrame Body { Mesh { 3; " + v +
           ";0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; } }\n" + "AnimationSet " + setName +
           " { Animation { {Body} AnimationKey { 2; 1; " + v + "; 3; 0,0,0;;; } } }\n";
}

struct Loaded {
    HRESULT frameResult = 0;
    HRESULT setResult = 0;
    float firstX = -1;
    float firstKeyTime = -1;
    std::string setName;
};

/// Frame::Load of `framePath`, `between`, then AnimationSet::Load of `setPath`.
template <typename Between>
Loaded LoadBoth(const std::string& framePath, const std::string& setPath, Between between) {
    Loaded out;
    auto root = MakeRef<Frame>();
    out.frameResult = root->Load(framePath.c_str());
    if (Succeeded(out.frameResult) && !root->Children().empty() &&
        !root->Children()[0]->Visuals().empty()) {
        auto* builder = dynamic_cast<MeshBuilder*>(root->Children()[0]->Visuals()[0].Get());
        Vector v[3];
        std::uint32_t count = 3;
        builder->GetVertices(0, &count, v);
        out.firstX = v[0].x;
    }
    between();
    auto set = MakeRef<AnimationSet>();
    auto parent = MakeRef<Frame>();
    out.setResult = set->Load(setPath.c_str(), parent.Get());
    if (Succeeded(out.setResult)) {
        out.setName = set->Name();
        out.firstKeyTime = set->Animations()[0]->Keys()[0].dvTime;
    }
    return out;
}

} // namespace

// Inside a scope the frame load and the animation load read the file once, whatever path
// names it; outside one, and in the next scope, each load reads it.
TEST(XFileOpenScopeTest, TheLoadsOfOneOpenReadTheFileOnce) {
    const std::string path = WriteScratch("both.x", Character(7));
    const std::filesystem::path p(path);
    const std::string otherSpelling = (p.parent_path() / "." / p.filename()).string();
    for (const bool scoped : {true, false}) {
        SCOPED_TRACE(scoped ? "in a scope" : "without a scope");
        const std::uint64_t before = XFileReadsOnThisThread();
        Loaded loaded;
        if (scoped) {
            const XFileOpenScope scope;
            loaded = LoadBoth(path, otherSpelling, [] {});
        } else {
            loaded = LoadBoth(path, otherSpelling, [] {});
        }
        EXPECT_EQ(XFileReadsOnThisThread() - before, scoped ? 1u : 2u);
        EXPECT_EQ(loaded.frameResult, D3DRM_OK);
        EXPECT_EQ(loaded.setResult, D3DRM_OK);
        EXPECT_EQ(loaded.firstX, 7.0f);
        EXPECT_EQ(loaded.firstKeyTime, 7.0f);
    }
    // A mesh load after the frame load took the mesh data reads the file again and gets it all.
    const XFileOpenScope scope;
    auto root = MakeRef<Frame>();
    ASSERT_EQ(root->Load(path.c_str()), D3DRM_OK);
    auto builder = MakeRef<MeshBuilder>();
    const std::uint64_t before = XFileReadsOnThisThread();
    ASSERT_EQ(builder->Load(path.c_str()), D3DRM_OK);
    EXPECT_EQ(XFileReadsOnThisThread() - before, 1u);
    EXPECT_EQ(builder->GetVertexCount(), 3u);
    EXPECT_EQ(builder->GetFaceCount(), 1u);
}

// Whatever changes the file between the two loads of one open, the second sees the file as it
// is now: nothing read before the change is reused.
TEST(XFileOpenScopeTest, AFileChangedBetweenTheLoadsIsReadAgain) {
    struct Case {
        const char* what;
        void (*change)(const std::string& path);
        float keyTime;
        const char* setName;
    };
    const Case cases[] = {
        {"rewritten in place, same size",
         [](const std::string&) { WriteScratch("both.x", Character(8)); }, 8, "Walk"},
        {"rewritten longer",
         [](const std::string&) { WriteScratch("both.x", Character(9, "LongerName")); }, 9,
         "LongerName"},
        {"replaced by another file",
         [](const std::string& path) {
             const std::string other = WriteScratch("other.x", Character(5, "Other"));
             std::filesystem::rename(other, path);
         },
         5, "Other"},
        {"only its times changed",
         [](const std::string& path) {
             const timespec times[2] = {{1, 0}, {1, 0}};
             ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
         },
         7, "Walk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = WriteScratch("both.x", Character(7));
        const std::uint64_t before = XFileReadsOnThisThread();
        const XFileOpenScope scope;
        const Loaded loaded = LoadBoth(path, path, [&] { c.change(path); });
        EXPECT_EQ(XFileReadsOnThisThread() - before, 2u);
        EXPECT_EQ(loaded.firstX, 7.0f);
        EXPECT_EQ(loaded.setResult, D3DRM_OK) << GetLastLoadMessage();
        EXPECT_EQ(loaded.firstKeyTime, c.keyTime);
        EXPECT_EQ(loaded.setName, c.setName);
    }
    // A file gone between the loads is reported as gone, not served from the earlier read.
    const std::string path = WriteScratch("gone.x", Character(7));
    const XFileOpenScope scope;
    const Loaded loaded = LoadBoth(path, path, [&] { std::filesystem::remove(path); });
    EXPECT_EQ(loaded.frameResult, D3DRM_OK);
    EXPECT_EQ(loaded.setResult, D3DRMERR_FILENOTFOUND);
}

// Another program truncating the file while it is mapped must not bring the reader down: the
// vanished pages read as zeros and the read is marked as changed.
TEST(XFileOpenScopeTest, AMappingOfAFileTruncatedWhileReadReportsTheChange) {
    const std::string path = WriteScratch("shrinks.x", std::string(256 * 1024, 'x'));
    XFileBytes bytes;
    std::string message;
    ASSERT_EQ(bytes.Open(path.c_str(), std::size_t(1) << 30, &message), D3DRM_OK) << message;
    EXPECT_FALSE(bytes.Changed());
    ASSERT_EQ(::truncate(path.c_str(), 0), 0);
    const std::string_view view = bytes.View();
    std::size_t zeros = 0;
    for (std::size_t i = 0; i < view.size(); i += 4096) {
        zeros += static_cast<const volatile char&>(view[i]) == 0 ? 1 : 0;
    }
    EXPECT_TRUE(bytes.Changed());
    EXPECT_EQ(zeros, view.size() / 4096);
}
