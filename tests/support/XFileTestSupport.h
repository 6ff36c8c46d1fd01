#pragma once

// Helpers for the tests of the .x reader and writer: a canonical text dump of a loaded
// scene (to compare two loads), writers for binary and MSZIP-compressed files, scratch
// files and folders, whole-file reads, and expected file texts given as (leading spaces,
// text) rows, joined with CR LF.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include "platform/NonCopyable.h"
#include "platform/rm/Animation.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Face.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Material.h"
#include "platform/rm/MeshBuilder.h"
#include "platform/rm/Texture.h"

namespace testing_xfile {

inline std::string TestData(const std::string& name) {
    return std::string(PAVRIX_TESTDATA_DIR) + "/x/" + name;
}

inline std::string Fixture(const std::string& name) {
    return std::string(PAVRIX_FIXTURE_DIR) + "/x/" + name;
}

inline bool HasTestData() {
    return std::filesystem::is_directory(std::string(PAVRIX_TESTDATA_DIR) + "/x");
}

/// Writes bytes to a file in the test's scratch folder and returns its path.
inline std::string WriteScratch(const std::string& name, std::string_view bytes) {
    // Tests run in parallel processes: each gets a folder of its own.
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) /
        ("pavrix-" + std::to_string(::getpid()) + "-" +
         (test ? std::string(test->test_suite_name()) + "." + test->name() : std::string("x")));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return path;
}

inline std::string Format(const char* format, double a) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, a);
    return buffer;
}

inline std::string Hex(std::uint32_t v) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08x", v);
    return buffer;
}

/// Numbers at 6 significant digits: text files carry 6 decimals, so the text and binary
/// forms of one scene agree at this precision.
inline std::string Num(float v) {
    return Format("%.6g", double(v) == 0 ? 0.0 : double(v));
}

/// Everything a load puts into a frame tree, one fact per line, objects shared between
/// faces numbered in order of first use so that sharing shows in the dump.
class SceneDump {
public:
    std::string Frames(const rm::Frame& root) {
        for (const auto& child : root.Children()) {
            Frame(*child, 0);
        }
        return m_out;
    }

    std::string AnimationSet(const rm::AnimationSet& set) {
        m_out += "set '" + set.Name() + "' ticks " + std::to_string(set.TicksPerSecond()) + "\n";
        for (const auto& a : set.Animations()) {
            const auto frame = a->GetFrame();
            m_out += "animation '" + a->Name() + "' frame '" + (frame ? frame->Name() : "-") +
                     "' options " + std::to_string(a->GetOptions()) + "\n";
            for (const auto& k : a->Keys()) {
                m_out += " key " + std::to_string(k.dwKeyType) + " t " + Num(k.dvTime) + ":";
                const float* v = &k.dqRotateKey.s;
                for (int i = 0; i < (k.dwKeyType == rm::D3DRMANIMATION_ROTATEKEY ? 4 : 3); ++i) {
                    m_out += " " + Num(v[i]);
                }
                m_out += "\n";
            }
        }
        return m_out;
    }

private:
    void Frame(const rm::Frame& frame, int depth) {
        const std::string indent(std::size_t(depth), ' ');
        m_out += indent + "frame '" + frame.Name() + "' matrix";
        for (const auto& row : frame.LocalTransform().m) {
            for (float v : row) {
                m_out += " " + Num(v);
            }
        }
        m_out += "\n";
        for (const auto& visual : frame.Visuals()) {
            if (auto* builder = dynamic_cast<rm::MeshBuilder*>(visual.Get())) {
                Builder(*builder, indent + " ");
            } else {
                m_out += indent + " visual " + visual->GetClassName() + "\n";
            }
        }
        for (const auto& child : frame.Children()) {
            Frame(*child, depth + 1);
        }
    }

    template <typename T>
    int NumberOf(std::map<const T*, int>& seen, const T* object) {
        if (!object) {
            return -1;
        }
        return seen.try_emplace(object, int(seen.size())).first->second;
    }

    void Builder(rm::MeshBuilder& b, const std::string& indent) {
        m_out += indent + "builder '" + b.Name() + "' #" + std::to_string(NumberOf(m_builders, &b));
        m_out += " vertices " + std::to_string(b.GetVertexCount()) + " normals " +
                 std::to_string(b.GetNormalCount()) + " faces " + std::to_string(b.GetFaceCount()) +
                 "\n";
        for (std::uint32_t i = 0; i < b.GetVertexCount(); ++i) {
            rm::Vector p;
            std::uint32_t one = 1;
            b.GetVertices(i, &one, &p);
            float u = 0, v = 0;
            b.GetTextureCoordinates(i, &u, &v);
            m_out += indent + " v " + Num(p.x) + " " + Num(p.y) + " " + Num(p.z) + " uv " + Num(u) +
                     " " + Num(v);
            if (b.HasVertexColors()) {
                m_out += " colour " + Hex(b.GetVertexColor(i));
            }
            m_out += "\n";
        }
        for (std::uint32_t i = 0; i < b.GetNormalCount(); ++i) {
            rm::Vector n;
            std::uint32_t one = 1;
            b.GetNormals(i, &one, &n);
            m_out += indent + " n " + Num(n.x) + " " + Num(n.y) + " " + Num(n.z) + "\n";
        }
        for (std::uint32_t f = 0; f < b.GetFaceCount(); ++f) {
            m_out += indent + " f";
            for (std::uint32_t c = 0; c < b.FaceCornerCount(f); ++c) {
                const std::uint32_t n = b.FaceNormalIndex(f, c);
                m_out += " " + std::to_string(b.FaceVertexIndex(f, c)) + "/" +
                         (n == UINT32_MAX ? std::string("-") : std::to_string(n));
            }
            bool u = false, v = false;
            b.GetFaceWrap(f, &u, &v);
            m_out += " colour " + Hex(b.FaceColor(f)) + " wrap " + std::to_string(int(u)) +
                     std::to_string(int(v));
            if (const rm::Material* m = b.FaceMaterial(f)) {
                float r, g, bl, er, eg, eb;
                m->GetSpecular(&r, &g, &bl);
                m->GetEmissive(&er, &eg, &eb);
                m_out += " material #" + std::to_string(NumberOf(m_materials, m)) + " '" +
                         m->Name() + "' power " + Num(m->GetPower()) + " specular " + Num(r) + " " +
                         Num(g) + " " + Num(bl) + " emissive " + Num(er) + " " + Num(eg) + " " +
                         Num(eb);
            }
            if (const rm::Texture* t = b.FaceTexture(f)) {
                m_out +=
                    " texture #" + std::to_string(NumberOf(m_textures, t)) + " '" + t->Name() + "'";
            }
            m_out += "\n";
        }
    }

    std::string m_out;
    std::map<const rm::MeshBuilder*, int> m_builders;
    std::map<const rm::Material*, int> m_materials;
    std::map<const rm::Texture*, int> m_textures;
};

/// Loads a file with Frame::Load into a fresh root and dumps it ("" when the load fails).
inline std::string DumpFrameLoad(const std::string& path) {
    auto root = rm::MakeRef<rm::Frame>();
    if (rm::Failed(root->Load(path.c_str()))) {
        return "";
    }
    return SceneDump().Frames(*root);
}

/// Builds binary .x content token by token.
class BinaryWriter {
public:
    explicit BinaryWriter(bool doubles = false)
        : m_doubles(doubles), m_bytes(doubles ? "xof 0303bin 0064" : "xof 0303bin 0032") {}

    BinaryWriter& Token(std::uint16_t t) {
        Put(&t, 2);
        return *this;
    }
    BinaryWriter& Name(std::string_view name) {
        Token(1);
        Dword(std::uint32_t(name.size()));
        m_bytes += name;
        return *this;
    }
    BinaryWriter& String(std::string_view text) {
        Token(2);
        Dword(std::uint32_t(text.size()));
        m_bytes += text;
        return Token(20);
    }
    BinaryWriter& Integers(const std::vector<std::uint32_t>& values) {
        Token(6);
        Dword(std::uint32_t(values.size()));
        for (std::uint32_t v : values) {
            Dword(v);
        }
        return *this;
    }
    BinaryWriter& Floats(const std::vector<double>& values) {
        Token(7);
        Dword(std::uint32_t(values.size()));
        for (double v : values) {
            if (m_doubles) {
                Put(&v, 8);
            } else {
                const auto f = float(v);
                Put(&f, 4);
            }
        }
        return *this;
    }
    BinaryWriter& Open() { return Token(10); }
    BinaryWriter& Close() { return Token(11); }
    BinaryWriter& Raw(std::string_view bytes) {
        m_bytes += bytes;
        return *this;
    }
    const std::string& Bytes() const { return m_bytes; }

private:
    void Dword(std::uint32_t v) { Put(&v, 4); }
    void Put(const void* p, std::size_t n) { m_bytes.append(static_cast<const char*>(p), n); }

    bool m_doubles;
    std::string m_bytes;
};

/// A compressed .x file: `header` (16 bytes, format "tzip" or "bzip") and `content` cut
/// into MSZIP blocks of blockSize bytes, each deflated with the previous output as its
/// dictionary, the way the format's writers carry the window from block to block.
inline std::string CompressMszip(std::string_view header, std::string_view content,
                                 std::size_t blockSize) {
    std::string out(header);
    const auto total = std::uint32_t(header.size() + content.size());
    out.append(reinterpret_cast<const char*>(&total), 4);
    for (std::size_t start = 0; start < content.size(); start += blockSize) {
        const std::size_t n = std::min(blockSize, content.size() - start);
        z_stream zs{};
        deflateInit2(&zs, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
        if (start > 0) {
            const std::size_t dict = std::min<std::size_t>(start, 32768);
            deflateSetDictionary(&zs, reinterpret_cast<const Bytef*>(content.data() + start - dict),
                                 uInt(dict));
        }
        std::string block(deflateBound(&zs, uLong(n)) + 16, '\0');
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data() + start));
        zs.avail_in = uInt(n);
        zs.next_out = reinterpret_cast<Bytef*>(block.data());
        zs.avail_out = uInt(block.size());
        deflate(&zs, Z_FINISH);
        block.resize(block.size() - zs.avail_out);
        deflateEnd(&zs);
        const auto uncompressed = std::uint16_t(n);
        const auto compressed = std::uint16_t(block.size() + 2);
        out.append(reinterpret_cast<const char*>(&uncompressed), 2);
        out.append(reinterpret_cast<const char*>(&compressed), 2);
        out += "CK";
        out += block;
    }
    return out;
}

/// Changes the working directory for a scope.
class ScopedDirectory : private platform::NonCopyable {
public:
    explicit ScopedDirectory(const std::string& directory)
        : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(directory);
    }
    ~ScopedDirectory() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};

/// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder : private platform::NonCopyable {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "pavrix-xfile-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            ADD_FAILURE() << "cannot create a scratch folder";
        }
        m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    /// Names of everything in the folder, sorted.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path m_path;
};

/// How many times `what` stands in `text` (overlapping ones too).
inline std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

/// One line of an expected file: how many spaces lead it, and its text. {0, ""} is an
/// empty line.
struct Line {
    int spaces;
    std::string text;
};

/// The lines as they are on disk: each one ended by CR LF.
inline std::string OnDisk(const std::vector<Line>& lines) {
    std::string out;
    for (const Line& line : lines) {
        out.append(std::size_t(line.spaces), ' ');
        out += line.text;
        out += "\r\n";
    }
    return out;
}

/// The line lists one after the other.
inline std::vector<Line> Join(std::initializer_list<std::vector<Line>> parts) {
    std::vector<Line> out;
    for (const auto& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

/// What the writer puts inside a Mesh at level 1 for the triangle (0,0,0), (1,0,0), (0,1,0):
/// the vertices and the face.
inline std::vector<Line> TriangleLines() {
    return {{2, "3;"},
            {2, "0.000000;0.000000;0.000000;,"},
            {2, "1.000000;0.000000;0.000000;,"},
            {2, "0.000000;1.000000;0.000000;;"},
            {2, "1;"},
            {2, "3;0,1,2;;"}};
}

/// TriangleLines, its face white and without material: then the material list.
inline std::vector<Line> WhiteTriangleLines() {
    return Join({TriangleLines(),
                 {{0, ""},
                  {2, "MeshMaterialList {"},
                  {3, "1;"},
                  {3, "1;"},
                  {3, "0;;"},
                  {0, ""},
                  {3, "Material {"},
                  {4, "1.000000;1.000000;1.000000;1.000000;;"},
                  {4, "0.000000;"},
                  {0, "0.000000;0.000000;0.000000;;"},
                  {0, "0.000000;0.000000;0.000000;;"},
                  {3, "}"},
                  {2, "}"}}});
}

/// `folder` (made under `parent`, which stays writable) holding `file` with "previous\r\n",
/// locked so that only the superuser may write into it. Returns the file's path.
inline std::string LockedFile(const std::filesystem::path& parent, const char* folder,
                              const char* file) {
    const std::filesystem::path locked = parent / folder;
    std::filesystem::create_directory(locked);
    const std::string path = (locked / file).string();
    std::ofstream(path, std::ios::binary) << "previous\r\n";
    ::chmod(path.c_str(), 0666);
    ::chmod(locked.c_str(), 0555);
    ::chmod(parent.c_str(), 0755);
    return path;
}

/// The names of the files in `folder`.
inline std::vector<std::string> FileNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

/// attempt() (0 to 98), run as it is; for the superuser, whom permissions do not bind, in a
/// child process that has given its privileges up. -1, with a failure, when the child could
/// not run it.
inline int RunUnprivileged(const std::function<int()>& attempt) {
    if (::geteuid() != 0) {
        return attempt();
    }
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(99);
        }
        ::_exit(attempt());
    }
    int status = 0;
    if (child == -1 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) == 99) {
        ADD_FAILURE() << "the save could not run in a child without privileges";
        return -1;
    }
    return WEXITSTATUS(status);
}

/// An AnimationKey block of an Animation at level 1: the file's key type (0 rotation,
/// 1 scale, 2 position), the key count, then the key lines as given.
inline std::vector<Line> KeyLines(int type, const std::vector<std::string>& keys) {
    std::vector<Line> lines{{2, "AnimationKey {"},
                            {3, std::to_string(type) + ";"},
                            {3, std::to_string(keys.size()) + ";"}};
    for (const std::string& key : keys) {
        lines.push_back({3, key});
    }
    lines.push_back({2, "}"});
    return lines;
}

/// Text written with "\n" line ends, as it is on disk.
inline std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

} // namespace testing_xfile
