// Every test of this program runs inside one QApplication on the offscreen platform, so
// widgets work without a display.
#include <memory>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class QtTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // The editor keeps settings and recent files in the user's configuration folder:
        // tests keep theirs in a folder of their own, gone when they end.
        m_config = std::make_unique<QTemporaryDir>();
        if (m_config->isValid()) {
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config->path()));
            // Autosaves too: a test never meets what the user's editor left.
            qputenv("XDG_DATA_HOME", QFile::encodeName(m_config->filePath(QStringLiteral("data"))));
        }
        static int argc = 1;
        static char name[] = "pavrix_tests";
        static char* argv[] = {name, nullptr};
        m_application = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override {
        m_application.reset();
        m_config.reset();
    }

private:
    std::unique_ptr<QApplication> m_application;
    std::unique_ptr<QTemporaryDir> m_config;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new QtTestEnvironment);

} // namespace
