#include "app/AppSettings.h"

#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

/// Each test keeps its settings file in a folder of its own.
class AppSettingsTest : public ::testing::Test {
protected:
    AppSettingsTest() : m_previous(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    }
    ~AppSettingsTest() override { qputenv("XDG_CONFIG_HOME", m_previous); }

    /// The file as another program (or the user's editor) reads and writes it.
    static QSettings File() { return QSettings(AppSettings().FileName(), QSettings::IniFormat); }

private:
    QTemporaryDir m_config;
    QByteArray m_previous;
};

TEST_F(AppSettingsTest, ThePaneLayoutIsKeptAsTheNumberTheFileHasAlwaysHeld) {
    // What a hand-edited file says, and what the view makes of it.
    const struct {
        const char* stored; // null: no such key
        PaneLayout read;
    } rows[] = {
        {"1", PaneLayout::FourPanes}, {"0", PaneLayout::Single},    {"2", PaneLayout::Single},
        {"-1", PaneLayout::Single},   {"true", PaneLayout::Single}, {nullptr, PaneLayout::Single},
    };
    for (const auto& row : rows) {
        {
            QSettings file = File();
            if (row.stored != nullptr) {
                file.setValue(QStringLiteral("View/fourPanes"), QString::fromLatin1(row.stored));
            } else {
                file.remove(QStringLiteral("View/fourPanes"));
            }
        }
        EXPECT_EQ(AppSettings().ViewLayout(), row.read) << (row.stored ? row.stored : "none");
    }

    // What the editor writes: the same numbers, read back as written.
    for (const auto& [layout, stored] :
         {std::pair(PaneLayout::FourPanes, 1), std::pair(PaneLayout::Single, 0)}) {
        AppSettings().SetViewLayout(layout);
        EXPECT_EQ(File().value(QStringLiteral("View/fourPanes")).toInt(), stored);
        EXPECT_EQ(AppSettings().ViewLayout(), layout);
    }
}

} // namespace
