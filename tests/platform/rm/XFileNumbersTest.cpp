// Every number the text reader parses is the float from_chars gives for the same text,
// whichever way it is read (eight digits at a time, digit by digit, or by from_chars).

#include <bit>
#include <charconv>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rm/Implementation/XFileReader.h"

using namespace rm;

TEST(XFileNumbersTest, EveryCoordinateIsTheCorrectlyRoundedFloat) {
    std::vector<std::string> numbers = {
        "0.000000",
        "-0.000000",
        "1",
        "-7",
        "12345678",
        "1234567.1234567",
        "0.1",
        "16777217.0",
        "9999999.9999999",
        "0.33333333333",
        "1.00000005960464477539",
        "3.4028235e38",
        "1e-5",
        "-2.5E3",
        "0.000000000000000000000000000000000000011754943",
        "7.",
        "123.4567890123",
        "+2.5",
    };
    std::mt19937_64 random(7);
    for (int i = 0; i < 30000; ++i) {
        const int whole = int(random() % 9);
        const int decimals = int(random() % 10);
        std::string text = random() % 2 ? "-" : "";
        text += std::to_string(random() % 10 + 1);
        for (int d = 1; d < whole; ++d) {
            text += char('0' + random() % 10);
        }
        if (decimals > 0 || random() % 4 == 0) {
            text += '.';
            for (int d = 0; d < decimals; ++d) {
                text += char('0' + random() % 10);
            }
        }
        numbers.push_back(text);
    }
    if (numbers.size() % 3) {
        numbers.resize(numbers.size() - numbers.size() % 3);
    }
    std::string file = "xof 0302txt 0032\nMesh {\n" + std::to_string(numbers.size() / 3) + ";\n";
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        file += numbers[i] + (i % 3 == 2 ? ";,\n" : ";");
    }
    file += "0;;\n}\n";
    XFileDocument document;
    std::string message;
    ASSERT_EQ(ReadXFileFromMemory(file, "numbers.x", &document, &message), D3DRM_OK) << message;
    ASSERT_EQ(document.meshes.size(), 1u);
    const auto& positions = document.meshes[0].positions;
    ASSERT_EQ(positions.size() * 3, numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::string& text = numbers[i];
        float expected = 0;
        const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
        std::from_chars(begin, text.data() + text.size(), expected);
        const Vector& v = positions[i / 3];
        const float read = i % 3 == 0 ? v.x : i % 3 == 1 ? v.y : v.z;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(read), std::bit_cast<std::uint32_t>(expected))
            << text;
    }
}
