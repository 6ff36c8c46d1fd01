#include "xfile/SafeFileWriter.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/XFileTestSupport.h"

using testing_xfile::ReadFile;
using testing_xfile::TempFolder;
using testing_xfile::WithCrLf;
using testing_xfile::WriteFile;

namespace {

class SafeFileWriterTest : public ::testing::Test {
protected:
    /// A file `name` in the test's folder that holds "old": what a save replaces.
    std::string OldFile(const char* name) {
        const std::string path = m_folder.File(name);
        WriteFile(path, "old");
        return path;
    }

    TempFolder m_folder;
};

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

} // namespace

TEST_F(SafeFileWriterTest, TurnsEveryLineFeedIntoCrLfAcrossBufferBoundaries) {
    // Pieces of random sizes with line feeds at random places, well past one buffer, so
    // line feeds land on and next to every buffer edge somewhere.
    std::mt19937 random(7);
    std::string all;
    const std::string path = m_folder.File("out.x");
    SafeFileWriter writer;
    ASSERT_TRUE(writer.Open(path.c_str()));
    while (all.size() < 400000) {
        std::string piece(random() % 300, 'a');
        for (char& c : piece) {
            c = random() % 5 == 0 ? '\n' : char('a' + random() % 26);
        }
        writer.Write(piece);
        all += piece;
    }
    writer.Write(std::string(70000, '\n'));
    all += std::string(70000, '\n');
    ASSERT_TRUE(writer.Commit()) << writer.Error();
    EXPECT_EQ(ReadFile(path), WithCrLf(all));
}

TEST_F(SafeFileWriterTest, TargetChangesOnlyAtCommit) {
    const std::string path = OldFile("doc.x");
    SafeFileWriter writer;
    ASSERT_TRUE(writer.Open(path.c_str()));
    writer.Write("new\n");
    EXPECT_EQ(ReadFile(path), "old");
    const std::filesystem::path temp = writer.TemporaryPath();
    EXPECT_EQ(temp.parent_path(), m_folder.Path());
    EXPECT_TRUE(std::filesystem::exists(temp));

    ASSERT_TRUE(writer.Commit()) << writer.Error();
    EXPECT_EQ(ReadFile(path), "new\r\n");
    EXPECT_FALSE(std::filesystem::exists(temp));
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string>{"doc.x"});
}

TEST_F(SafeFileWriterTest, DiscardOrDestructionBeforeCommitLeavesTheTargetAlone) {
    const std::string path = OldFile("doc.x");
    {
        SafeFileWriter writer;
        ASSERT_TRUE(writer.Open(path.c_str()));
        writer.Write(std::string(100000, 'z'));
        writer.Discard();
        EXPECT_FALSE(writer.Commit());
    }
    {
        SafeFileWriter writer;
        ASSERT_TRUE(writer.Open(path.c_str()));
        writer.Write(std::string(100000, 'z'));
    }
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string>{"doc.x"});
}

TEST_F(SafeFileWriterTest, ShortAndInterruptedWritesStillWriteEverything) {
    const std::string path = m_folder.File("doc.x");
    SafeFileWriter writer;
    int calls = 0;
    writer.SetWriteFunction([&calls](int fd, const void* data, std::size_t size) -> ssize_t {
        if (++calls % 3 == 0) {
            errno = EINTR;
            return -1;
        }
        return ::write(fd, data, std::min<std::size_t>(size, 7));
    });
    ASSERT_TRUE(writer.Open(path.c_str()));
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += "line " + std::to_string(i) + "\n";
    }
    writer.Write(text);
    ASSERT_TRUE(writer.Commit()) << writer.Error();
    EXPECT_EQ(ReadFile(path), WithCrLf(text));
}

TEST_F(SafeFileWriterTest, WriteThatMakesNoProgressFailsInsteadOfLooping) {
    const std::string path = OldFile("doc.x");
    SafeFileWriter writer;
    writer.SetWriteFunction([](int, const void*, std::size_t) -> ssize_t { return 0; });
    ASSERT_TRUE(writer.Open(path.c_str()));
    writer.Write("abc\n");
    EXPECT_FALSE(writer.Commit());
    EXPECT_NE(writer.Error().find(std::strerror(ENOSPC)), std::string::npos) << writer.Error();
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string>{"doc.x"});
}

TEST_F(SafeFileWriterTest, ReplacedFileKeepsItsPermissionsAndNewFilesFollowTheUmask) {
    const std::string kept = OldFile("kept.x");
    ::chmod(kept.c_str(), 0640);
    const std::string created = m_folder.File("created.x");
    const mode_t mask = ::umask(022);
    for (const std::string& path : {kept, created}) {
        SafeFileWriter writer;
        ASSERT_TRUE(writer.Open(path.c_str()));
        writer.Write("x\n");
        ASSERT_TRUE(writer.Commit()) << writer.Error();
    }
    ::umask(mask);
    EXPECT_EQ(ModeOf(kept), mode_t(0640));
    EXPECT_EQ(ModeOf(created), mode_t(0644));
}

TEST_F(SafeFileWriterTest, SavingThroughALinkReplacesTheFileItPointsTo) {
    std::filesystem::create_directory(m_folder.Path() / "real");
    const std::string real = m_folder.File("real/doc.x");
    const std::string link = m_folder.File("link.x");
    WriteFile(real, "old");
    std::filesystem::create_symlink("real/doc.x", link);
    SafeFileWriter writer;
    ASSERT_TRUE(writer.Open(link.c_str()));
    writer.Write("new\n");
    ASSERT_TRUE(writer.Commit()) << writer.Error();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(real), "new\r\n");
    EXPECT_EQ(m_folder.Entries(), (std::vector<std::string>{"link.x", "real"}));
}

TEST_F(SafeFileWriterTest, OpenFailsWithAReasonNamingTheFile) {
    struct Case {
        const char* what;
        std::string path;
        int error;
    };
    const Case cases[] = {
        {"missing folder", m_folder.File("nowhere/doc.x"), ENOENT},
        {"target is a folder", m_folder.Path().string(), EISDIR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SafeFileWriter writer;
        EXPECT_FALSE(writer.Open(c.path.c_str()));
        EXPECT_FALSE(writer.IsOpen());
        EXPECT_NE(writer.Error().find(c.path), std::string::npos) << writer.Error();
        EXPECT_NE(writer.Error().find(std::strerror(c.error)), std::string::npos) << writer.Error();
        writer.Write("ignored\n");
        EXPECT_FALSE(writer.Commit());
    }
    EXPECT_TRUE(m_folder.Entries().empty());
}
