#include "cli/JsonString.h"

#include <string>

#include <gtest/gtest.h>

namespace {

std::string Json(std::string_view bytes) {
    std::string out;
    cli::AppendJsonString(&out, bytes);
    return out;
}

} // namespace

// Names are bytes from files: whatever they hold, the result must be one valid JSON
// string that keeps valid UTF-8 readable.
TEST(JsonStringTest, EscapesWhatJsonRequiresAndKeepsValidUtf8) {
    const struct {
        std::string_view bytes;
        const char* json;
    } cases[] = {
        {"Torso", "\"Torso\""},
        {"", "\"\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"C:\\\\x\\y.tga", "\"C:\\\\\\\\x\\\\y.tga\""},
        {"a\nb\tc\rd", "\"a\\nb\\tc\\rd\""},
        {std::string_view("\x01\x1f\x7f", 3), "\"\\u0001\\u001F\x7f\""},
        {std::string_view("nul\0x", 5), "\"nul\\u0000x\""},
        {"Kopf_\xC3\xA4", "\"Kopf_\xC3\xA4\""},                   // UTF-8 a-umlaut
        {"\xE9\xA0\xAD", "\"\xE9\xA0\xAD\""},                     // UTF-8 CJK
        {"\xF0\x9F\x98\x80", "\"\xF0\x9F\x98\x80\""},             // 4-byte UTF-8
        {"\x83\x5C", "\"\\u0083\\\\\""},                          // Shift-JIS with a 0x5C byte
        {"\x93\xAA", "\"\\u0093\\u00AA\""},                       // Shift-JIS, not UTF-8
        {"\xC3", "\"\\u00C3\""},                                  // cut-short sequence
        {"\xC0\xAF", "\"\\u00C0\\u00AF\""},                       // overlong form
        {"\xED\xA0\x80", "\"\\u00ED\\u00A0\\u0080\""},            // surrogate
        {"\xF4\x90\x80\x80", "\"\\u00F4\\u0090\\u0080\\u0080\""}, // above U+10FFFF
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Json(c.bytes), c.json);
    }
}
