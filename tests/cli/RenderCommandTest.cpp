#include "cli/RenderCommand.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

#include "CliResult.h"
#include "cli/Cli.h"
#include "support/XFileTestSupport.h"

namespace {

// A 4 x 4 plate facing the camera, on a frame that slides 4 units along +x between key
// times 0 and 10.
constexpr char kSliderFile[] = R"(xof 0303txt 0032

Frame Slider {
 FrameTransformMatrix {
  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;
 }
 Mesh Plate {
  4;
  -2.0;-2.0;0.0;,
  -2.0;2.0;0.0;,
  2.0;2.0;0.0;,
  2.0;-2.0;0.0;;
  1;
  4;0,1,2,3;;
 }
}

AnimationSet Slide {
 Animation AnimSlider {
  {Slider}
  AnimationKey {
   2;
   2;
   0;3;0.0,0.0,0.0;;,
   10;3;4.0,0.0,0.0;;;
  }
 }
}
)";

// The plate's white lit by 0.4 ambient and the 0.8 parallel light at cos 0.408.
constexpr int kPlate = 185;
constexpr int kBackground = 0x80;

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba; // rows from the top
    int Red(int x, int y) const { return rgba[(std::size_t(y) * std::size_t(width) + x) * 4]; }
};

std::uint32_t BigEndian(const unsigned char* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           p[3];
}

// Reads the 8-bit RGBA, unfiltered PNGs the command writes.
bool ReadPng(const std::string& path, Picture* picture) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (data.size() < 8 || !std::equal(signature, signature + 8, data.begin())) {
        return false;
    }
    std::vector<unsigned char> packed;
    for (std::size_t i = 8; i + 12 <= data.size();) {
        const std::uint32_t length = BigEndian(&data[i]);
        const std::string type(data.begin() + long(i) + 4, data.begin() + long(i) + 8);
        const unsigned char* body = &data[i + 8];
        if (crc32(0, &data[i + 4], length + 4) != BigEndian(body + length)) {
            return false;
        }
        if (type == "IHDR") {
            picture->width = int(BigEndian(body));
            picture->height = int(BigEndian(body + 4));
        } else if (type == "IDAT") {
            packed.insert(packed.end(), body, body + length);
        }
        i += 12 + length;
    }
    const std::size_t row = std::size_t(picture->width) * 4;
    std::vector<unsigned char> raw((row + 1) * std::size_t(picture->height));
    uLongf size = uLongf(raw.size());
    if (uncompress(raw.data(), &size, packed.data(), uLong(packed.size())) != Z_OK ||
        size != raw.size()) {
        return false;
    }
    for (int y = 0; y < picture->height; ++y) {
        const unsigned char* line = &raw[std::size_t(y) * (row + 1)];
        if (line[0] != 0) {
            return false;
        }
        picture->rgba.insert(picture->rgba.end(), line + 1, line + 1 + row);
    }
    return true;
}

class RenderCommandTest : public CliRunTest {
protected:
    RenderCommandTest() {
        slider = folder.File("slider.x");
        std::ofstream(slider, std::ios::binary) << kSliderFile;
        out = folder.File("out.png");
    }

    testing_xfile::TempFolder folder;
    std::string slider, out;
};

TEST_F(RenderCommandTest, DrawsTheOpenedFileCentredAtTheGivenSize) {
    ASSERT_EQ(Run({"--render", slider, "--size", "320x240", "--software", "--out", out}),
              cli::kExitOk)
        << stderrText;
    EXPECT_TRUE(stdoutText.empty());
    EXPECT_TRUE(stderrText.empty()) << stderrText;
    Picture picture;
    ASSERT_TRUE(ReadPng(out, &picture));
    EXPECT_EQ(picture.width, 320);
    EXPECT_EQ(picture.height, 240);
    EXPECT_EQ(picture.Red(2, 2), kBackground);
    // The plate, 4 units wide 15 units away, covers about 85 pixels around the middle.
    EXPECT_NEAR(picture.Red(140, 100), kPlate, 3);
    EXPECT_NEAR(picture.Red(180, 140), kPlate, 3);
    EXPECT_FALSE(std::filesystem::exists(out + ".partial"));
}

TEST_F(RenderCommandTest, ThePoseFollowsTheTimeWhileTheCameraStaysWhereTheOpenPutIt) {
    // At the first key time the plate is in the middle; at 7.5 it has slid 3 units (64
    // pixels) to the right; at 5, half as far. (The loaded animation is closed: at 10 it
    // would be back at the start.)
    struct Case {
        const char* time;
        int x;    // a pixel column the plate covers
        int away; // one it does not
    };
    const Case cases[] = {{nullptr, 140, 250}, {"7.5", 250, 140}, {"5", 200, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time ? c.time : "first key time");
        std::vector<std::string> args = {"--render",        slider,  "--size", "320x240",
                                         "--editor-camera", "--out", out};
        if (c.time) {
            args.insert(args.end(), {"--time", c.time});
        }
        ASSERT_EQ(Run(args), cli::kExitOk) << stderrText;
        Picture picture;
        ASSERT_TRUE(ReadPng(out, &picture));
        EXPECT_NEAR(picture.Red(c.x, 100), kPlate, 3);
        EXPECT_GT(std::abs(picture.Red(c.away, 100) - kPlate), 3);
    }
}

TEST_F(RenderCommandTest, TheWholePosedModelIsFramedUnlessTheEditorsCameraIsAsked) {
    const auto platePixels = [](const Picture& picture) {
        int count = 0;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                count += std::abs(picture.Red(x, y) - kPlate) <= 3 ? 1 : 0;
            }
        }
        return double(count) / double(picture.width * picture.height);
    };
    // Framed: the plate, slid 3 units at 7.5, is in the middle and fills most of the height.
    ASSERT_EQ(Run({"--render", slider, "--size", "320x240", "--time", "7.5", "--out", out}),
              cli::kExitOk)
        << stderrText;
    Picture picture;
    ASSERT_TRUE(ReadPng(out, &picture));
    EXPECT_NEAR(picture.Red(160, 120), kPlate, 3);
    EXPECT_EQ(picture.Red(160, 5), kBackground);
    EXPECT_GT(platePixels(picture), 0.25);
    // The editor's camera: a small plate off to the side.
    ASSERT_EQ(Run({"--render", slider, "--size", "320x240", "--time", "7.5", "--editor-camera",
                   "--out", out}),
              cli::kExitOk)
        << stderrText;
    Picture editorPicture;
    ASSERT_TRUE(ReadPng(out, &editorPicture));
    EXPECT_LT(platePixels(editorPicture), 0.15);
}

TEST_F(RenderCommandTest, AnAnimationFileThatCannotBeReadIsRefusedAsResaveRefusesIt) {
    const std::string missing = folder.File("missing.x");
    ASSERT_EQ(Run({"--render", slider, "--animation", missing, "--out", out}), cli::kExitFailed);
    const std::string renderMessage = stderrText;
    EXPECT_NE(renderMessage.find("pavrix: cannot read the animation set of " + missing),
              std::string::npos)
        << renderMessage;
    EXPECT_FALSE(std::filesystem::exists(out));
    ASSERT_EQ(Run({"--resave", slider, folder.File("resaved.x"), "--animation", missing}),
              cli::kExitFailed);
    EXPECT_EQ(stderrText, renderMessage);
}

TEST_F(RenderCommandTest, CameraViewsTurnThePivot) {
    // Seen from the top the plate is edge on: the middle shows no plate.
    ASSERT_EQ(Run({"--render", slider, "--size", "320x240", "--view", "top", "--out", out}),
              cli::kExitOk)
        << stderrText;
    Picture picture;
    ASSERT_TRUE(ReadPng(out, &picture));
    EXPECT_GT(std::abs(picture.Red(140, 100) - kPlate), 3);
    // From the back, the plate's front faces away and is not drawn.
    ASSERT_EQ(Run({"--render", slider, "--size", "320x240", "--view", "back", "--out", out}),
              cli::kExitOk);
    ASSERT_TRUE(ReadPng(out, &picture));
    EXPECT_EQ(picture.Red(140, 100), kBackground);
}

TEST_F(RenderCommandTest, WrongArgumentsPrintTheUsageAndWriteNothing) {
    const std::vector<std::vector<std::string>> cases = {
        {"--render", slider},
        {"--render", "--out", out},
        {"--render", slider, slider, "--out", out},
        {"--render", slider, "--out"},
        {"--render", slider, "--out", out, "--size", "640"},
        {"--render", slider, "--out", out, "--size", "0x480"},
        {"--render", slider, "--out", out, "--size", "9000x10"},
        {"--render", slider, "--out", out, "--time", "soon"},
        {"--render", slider, "--out", out, "--time", "nan"},
        {"--render", slider, "--out", out, "--view", "sideways"},
        {"--render", slider, "--out", out, "--colour", "red"},
        {"--render", slider, "--out", out, "--out", out},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_EQ(Run(args), cli::kExitUsage);
        EXPECT_NE(stderrText.find("usage: pavrix --render"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST_F(RenderCommandTest, AFileThatCannotBeOpenedFailsAndLeavesThePictureAlone) {
    std::ofstream(out) << "earlier";
    const std::string broken = folder.File("broken.x");
    std::ofstream(broken) << "xof 0303txt 0032\nFrame {";
    for (const std::string& file : {broken, folder.File("missing.x")}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(Run({"--render", file, "--out", out}), cli::kExitFailed);
        EXPECT_NE(stderrText.find("pavrix: cannot open " + file), std::string::npos) << stderrText;
        std::ifstream kept(out);
        std::string text;
        std::getline(kept, text);
        EXPECT_EQ(text, "earlier");
    }
}

TEST_F(RenderCommandTest, AnUnwritablePictureFailsWithAReason) {
    const std::string nowhere = folder.File("no-such-folder/out.png");
    EXPECT_EQ(Run({"--render", slider, "--size", "16x16", "--out", nowhere}), cli::kExitFailed);
    EXPECT_NE(stderrText.find("pavrix: cannot write " + nowhere), std::string::npos) << stderrText;
}

} // namespace

namespace {

TEST_F(RenderCommandTest, TheAnimationOptionCanNameOneOfTheFilesSets) {
    // The slider file with a second set that slides the plate the other way.
    std::ofstream(slider, std::ios::binary | std::ios::app)
        << "AnimationSet Back {\n Animation {\n  {Slider}\n  AnimationKey {\n   2;\n   2;\n"
           "   0;3;0.0,0.0,0.0;;,\n   10;3;-4.0,0.0,0.0;;;\n  }\n }\n}\n";
    struct Case {
        const char* set;
        int x;    // a pixel column the plate covers at 7.5
        int away; // one it does not
    };
    for (const Case& c : {Case{"Slide", 250, 70}, Case{"Back", 70, 250}}) {
        SCOPED_TRACE(c.set);
        ASSERT_EQ(Run({"--render", slider, "--animation", c.set, "--time", "7.5", "--size",
                       "320x240", "--editor-camera", "--out", out}),
                  cli::kExitOk)
            << stderrText;
        EXPECT_TRUE(stderrText.empty()) << stderrText;
        Picture picture;
        ASSERT_TRUE(ReadPng(out, &picture));
        EXPECT_NEAR(picture.Red(c.x, 100), kPlate, 3);
        EXPECT_GT(std::abs(picture.Red(c.away, 100) - kPlate), 3);
    }
    // A name that is no set of the file is a file to take the sets from, as before.
    EXPECT_EQ(Run({"--render", slider, "--animation", "Sideways", "--out", out}), cli::kExitFailed);
}

} // namespace

TEST_F(RenderCommandTest, ASkinnedCharacterBendsWithItsBones) {
    // The body is one mesh bound to a skeleton: framed on its rest pose both times, its
    // outline at two times differs (drawn rigid, the pictures would be the same).
    if (!testing_xfile::HasTestData()) {
        GTEST_SKIP() << "test data not found";
    }
    std::vector<bool> outlines[2];
    const char* times[2] = {"0", "4000"};
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(Run({"--render", testing_xfile::TestData("BCN_Epileptic.X"), "--time", times[i],
                       "--size", "160x160", "--out", out}),
                  cli::kExitOk)
            << stderrText;
        Picture picture;
        ASSERT_TRUE(ReadPng(out, &picture));
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                outlines[i].push_back(picture.Red(x, y) > kBackground + 16);
            }
        }
    }
    int body = 0, changed = 0;
    for (std::size_t p = 0; p < outlines[0].size(); ++p) {
        body += outlines[0][p];
        changed += outlines[0][p] != outlines[1][p];
    }
    EXPECT_GT(body, 200);
    EXPECT_GT(changed, body / 4);
}

TEST_F(RenderCommandTest, ASkinDeformedByTheVertexStageLooksAsOneDeformedOnTheCpu) {
    // The same character at two times, its skin once deformed in the vertex stage
    // (PAVRIX_CPU_SKINNING=0) and once on the CPU (=1): the two sums are the same up to
    // rounding, so at most a few pixels along edges may differ, none by much inside the body.
    if (!testing_xfile::HasTestData()) {
        GTEST_SKIP() << "test data not found";
    }
    for (const char* time : {"0", "4000"}) {
        Picture pictures[2];
        for (int cpu = 0; cpu < 2; ++cpu) {
            setenv("PAVRIX_CPU_SKINNING", cpu ? "1" : "0", 1);
            const int status = Run({"--render", testing_xfile::TestData("BCN_Epileptic.X"),
                                    "--time", time, "--size", "256x256", "--out", out});
            unsetenv("PAVRIX_CPU_SKINNING");
            ASSERT_EQ(status, cli::kExitOk) << stderrText;
            ASSERT_TRUE(ReadPng(out, &pictures[cpu]));
        }
        int body = 0, differing = 0, far = 0;
        for (std::size_t i = 0; i < pictures[0].rgba.size(); i += 4) {
            int most = 0;
            for (std::size_t c = 0; c < 3; ++c) {
                most = std::max(
                    most, std::abs(int(pictures[0].rgba[i + c]) - int(pictures[1].rgba[i + c])));
            }
            body += pictures[0].rgba[i] > kBackground + 16;
            differing += most > 2;
            far += most > 48;
        }
        EXPECT_GT(body, 1000) << "time " << time;
        // Tolerance: under 0.5% of the pixels differ by more than 2 levels, under 0.2% by
        // more than 48 (a pixel on an edge that falls the other way).
        EXPECT_LT(differing, 256 * 256 / 200) << "time " << time;
        EXPECT_LT(far, 256 * 256 / 500) << "time " << time;
    }
}
