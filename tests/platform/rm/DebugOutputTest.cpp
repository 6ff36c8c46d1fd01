#include "platform/rm/DebugOutput.h"

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "support/DebugCapture.h"

namespace {

// Sets or removes PAVRIX_DEBUG for one test and restores the old value afterwards.
class DebugOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("PAVRIX_DEBUG")) {
            m_old = old;
            m_hadOld = true;
        }
    }
    void TearDown() override {
        if (m_hadOld) {
            setenv("PAVRIX_DEBUG", m_old.c_str(), 1);
        } else {
            unsetenv("PAVRIX_DEBUG");
        }
    }

    static std::string StandardErrorOf(const char* text) {
        ::testing::internal::CaptureStderr();
        rm::OutputDebugStringA(text);
        return ::testing::internal::GetCapturedStderr();
    }

private:
    std::string m_old;
    bool m_hadOld = false;
};

TEST_F(DebugOutputTest, StandardErrorOnlyWithPavrixDebugSetToOne) {
    struct Case {
        const char* value; // null: unset
        bool written;
    };
    const Case cases[] = {{nullptr, false}, {"1", true}, {"0", false}, {"", false}, {"11", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "<unset>");
        if (c.value) {
            setenv("PAVRIX_DEBUG", c.value, 1);
        } else {
            unsetenv("PAVRIX_DEBUG");
        }
        EXPECT_EQ(StandardErrorOf("D3R: line\n"), c.written ? "D3R: line\n" : "");
        EXPECT_EQ(rm::DebugOutput::WritesToStandardError(), c.written);
    }
}

TEST_F(DebugOutputTest, CaptureSeesEveryTextWhateverTheEnvironmentSays) {
    unsetenv("PAVRIX_DEBUG");
    DebugCapture capture;
    rm::OutputDebugStringA("LoadFrame OK.\n");
    rm::DebugOutput::Write("second");
    rm::OutputDebugStringA(nullptr);
    EXPECT_EQ(capture.Text(), "LoadFrame OK.\nsecond");
    EXPECT_EQ(capture.Writes(), 2) << "a null text is not passed on";
}

TEST_F(DebugOutputTest, NestedCapturesRestoreTheOuterOne) {
    unsetenv("PAVRIX_DEBUG");
    DebugCapture outer;
    {
        DebugCapture inner;
        rm::OutputDebugStringA("inner");
        EXPECT_EQ(inner.Text(), "inner");
    }
    rm::OutputDebugStringA("outer");
    EXPECT_EQ(outer.Text(), "outer");
}

TEST_F(DebugOutputTest, RemovedCaptureGetsNothingMore) {
    unsetenv("PAVRIX_DEBUG");
    std::string seen;
    auto previous = rm::DebugOutput::SetCapture([&](std::string_view t) { seen.append(t); });
    rm::OutputDebugStringA("a");
    rm::DebugOutput::SetCapture(std::move(previous));
    rm::OutputDebugStringA("b");
    EXPECT_EQ(seen, "a");
}

} // namespace
