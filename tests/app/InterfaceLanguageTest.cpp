// The interface languages: the English translation covers every text of the sources and
// keeps what the program reads from a text (mnemonics, shortcuts, arguments, filter
// fields), and the English interface shows no Japanese anywhere, while the Japanese one
// keeps its texts.

#include <map>
#include <set>
#include <vector>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include "app/AppSettings.h"
#include "app/ShellFixture.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/QtMessageBox.h"
#include "platform/framework/Translate.h"
#include "platform/rm/Frame.h"
#include "resources/CommandIds.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"

namespace {

namespace ids = resources::ids;

struct Entry {
    QString source;
    QString translation;
    bool finished = false;
};

/// The messages of a .ts file.
std::vector<Entry> ReadTs(const QString& path) {
    std::vector<Entry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return entries;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("message")) {
            entries.emplace_back();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("source")) {
            entries.back().source = xml.readElementText();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            entries.back().translation = xml.readElementText();
            entries.back().finished = type.isEmpty() && !entries.back().translation.isEmpty();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return entries;
}

QString RepositoryTs() {
    return QStringLiteral(PAVRIX_SOURCE_DIR "/translations/pavrix_en.ts");
}

const QRegularExpression& JapaneseCharacter() {
    // Kana (full and half width), CJK ideographs and the full-width forms.
    static const QRegularExpression japanese(
        QStringLiteral("[\\x{3000}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return japanese;
}

/// The parts of a text the program or Qt reads: the sorted %1…%9 arguments, the printf
/// conversions in order, the shortcut after the tab, the '|' fields of a file filter.
struct Shape {
    QStringList arguments;
    QStringList conversions;
    QString shortcut;
    qsizetype filterFields = 0;
    bool operator==(const Shape&) const = default;
};

Shape ShapeOf(const QString& text) {
    Shape shape;
    static const QRegularExpression argument(QStringLiteral("%[1-9]"));
    static const QRegularExpression conversion(QStringLiteral("%[-+ #0]*[0-9]*(\\.[0-9]+)?[dfsx]"));
    for (const auto& match : argument.globalMatch(text)) {
        shape.arguments.push_back(match.captured());
    }
    shape.arguments.sort();
    for (const auto& match : conversion.globalMatch(text)) {
        shape.conversions.push_back(match.captured());
    }
    shape.shortcut = text.section(QLatin1Char('\t'), 1);
    shape.filterFields = text.count(QLatin1Char('|'));
    return shape;
}

/// The one mnemonic letter of a text ("&F" or "(&F)"); empty when it has none.
QString Mnemonic(const QString& text) {
    static const QRegularExpression mnemonic(QStringLiteral("&([^&])"));
    QString plain = text;
    plain.remove(QStringLiteral("&&"));
    const auto match = mnemonic.match(plain);
    return match.hasMatch() ? match.captured(1) : QString();
}

TEST(TranslationFileTest, EveryTextOfTheSourcesHasAFinishedEnglishTranslation) {
    // What `make translations` does, into a copy: a text added to the sources without
    // its English comes out unfinished.
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString ts = work.filePath(QStringLiteral("pavrix_en.ts"));
    ASSERT_TRUE(QFile::copy(RepositoryTs(), ts));
    QProcess lupdate;
    lupdate.start(QStringLiteral(PAVRIX_LUPDATE),
                  {QStringLiteral("-no-obsolete"), QStringLiteral("-locations"),
                   QStringLiteral("none"), QStringLiteral("-source-language"), QStringLiteral("ja"),
                   QStringLiteral("-target-language"), QStringLiteral("en"),
                   QStringLiteral(PAVRIX_SOURCE_DIR "/src"), QStringLiteral("-ts"), ts});
    ASSERT_TRUE(lupdate.waitForFinished(120000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();

    const std::vector<Entry> gathered = ReadTs(ts);
    EXPECT_GT(gathered.size(), 250u);
    for (const Entry& entry : gathered) {
        EXPECT_TRUE(entry.finished) << "no English for: " << entry.source.toStdString();
    }
    // The repository's file is what the build uses: it must be the gathered one.
    EXPECT_EQ(ReadTs(RepositoryTs()).size(), gathered.size())
        << "run `make translations` and commit translations/pavrix_en.ts";
}

TEST(TranslationFileTest, TranslationsKeepWhatTheProgramReadsFromATextAndAreEnglish) {
    const std::vector<Entry> entries = ReadTs(RepositoryTs());
    ASSERT_FALSE(entries.empty());
    for (const Entry& entry : entries) {
        const std::string source = entry.source.toStdString();
        EXPECT_TRUE(ShapeOf(entry.translation) == ShapeOf(entry.source)) << source;
        EXPECT_EQ(Mnemonic(entry.translation).isEmpty(), Mnemonic(entry.source).isEmpty())
            << source;
        EXPECT_FALSE(entry.translation.contains(JapaneseCharacter())) << source;
        // The document string's fields are found by position.
        EXPECT_EQ(entry.translation.count(QLatin1Char('\n')),
                  entry.source.contains(QStringLiteral("X.Document"))
                      ? entry.source.count(QLatin1Char('\n'))
                      : entry.translation.count(QLatin1Char('\n')))
            << source;
    }
}

TEST(TranslationFileTest, TheSpecificationsTyposAreProperEnglishAndTheJapaneseStaysAsWritten) {
    ASSERT_TRUE(framework::SetTextLanguage(QStringLiteral("en")));
    EXPECT_EQ(framework::Tr("Flont"), QStringLiteral("Front"));
    EXPECT_EQ(framework::Tr("Liner"), QStringLiteral("Linear"));
    EXPECT_EQ(framework::Tr("File(&F)"), QStringLiteral("&File"));
    EXPECT_EQ(framework::TrFormat("Time \"%d\" のキーを削除します。", 12),
              QStringLiteral("The key at Time \"12\" will be deleted."));
    ASSERT_TRUE(framework::SetTextLanguage(QStringLiteral("ja")));
    EXPECT_EQ(framework::Tr("Flont"), QStringLiteral("Flont"));
    EXPECT_EQ(framework::TrFormat("Time \"%d\" のキーを削除します。", 12),
              QString::fromUtf8("Time \"12\" のキーを削除します。"));
    EXPECT_FALSE(framework::SetTextLanguage(QStringLiteral("xx")));
    EXPECT_EQ(framework::TextLanguage(), QStringLiteral("ja"));
}

/// Every text a widget shows: its own, its tool tip, its entries, its actions'.
void CollectTexts(QWidget* root, std::map<QString, QString>& texts) {
    const auto add = [&texts](const QObject* owner, const QString& text) {
        if (!text.isEmpty()) {
            texts.emplace(text, QString::fromLatin1(owner->metaObject()->className()) +
                                    QLatin1Char(' ') + owner->objectName());
        }
    };
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.push_back(root);
    for (QWidget* widget : widgets) {
        add(widget, widget->windowTitle());
        add(widget, widget->toolTip());
        add(widget, widget->statusTip());
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            add(label, label->text());
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            add(button, button->text());
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            add(group, group->title());
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            add(edit, edit->text());
            add(edit, edit->placeholderText());
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < combo->count(); ++i) {
                add(combo, combo->itemText(i));
            }
        } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
            for (int i = 0; i < list->count(); ++i) {
                add(list, list->item(i)->text());
            }
        } else if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
            for (int c = 0; c < tree->columnCount(); ++c) {
                add(tree, tree->headerItem()->text(c));
            }
            for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
                for (int c = 0; c < tree->columnCount(); ++c) {
                    add(tree, (*it)->toolTip(c));
                }
            }
        }
    }
    // The widgets' own actions, and the actions of the menus' and bars' trees.
    QList<QAction*> actions = root->findChildren<QAction*>();
    for (QWidget* widget : widgets) {
        actions += widget->actions();
    }
    for (QAction* action : actions) {
        add(action, action->text());
        add(action, action->toolTip());
        add(action, action->statusTip());
    }
}

class InterfaceLanguageTest : public shell_test::ShellFixture {
protected:
    ~InterfaceLanguageTest() override {
        Stop();
        framework::SetTextLanguage(QStringLiteral("ja"));
    }

    /// The main window with the walker open and a part selected, then every dialog of
    /// the program: all their texts.
    std::map<QString, QString> EveryText() {
        std::map<QString, QString> texts;
        if (!Start({QString::fromStdString(shell_test::SampleWalker())})) {
            ADD_FAILURE() << "the editor did not start";
            return texts;
        }
        view->Interaction().SelectPart(Context().currentModel->Root()->Children()[0].Get(),
                                       nullptr);
        CollectTexts(frame, texts);
        const auto collect = [&texts](framework::Dialog& dialog) { CollectTexts(&dialog, texts); };
        for (framework::CommandId id :
             {ids::AppAbout, ids::ChangeModelScale, ids::ChangeAllPositionKeyScale,
              ids::EditPartsAnimationKey}) {
            ui.dialogRunner.Push(collect);
            Menu(id);
        }
        EXPECT_EQ(ui.dialogRunner.Runs().size(), 4u);
        QMessageBox box;
        framework::QtMessageBox::Configure(box, framework::MbYesNoCancel);
        CollectTexts(&box, texts);
        framework::QtMessageBox::Configure(box, framework::MbOk);
        CollectTexts(&box, texts);
        return texts;
    }
};

TEST_F(InterfaceLanguageTest, TheEnglishInterfaceShowsNoJapaneseCharacter) {
    language = QStringLiteral("en");
    const std::map<QString, QString> texts = EveryText();
    // The language menu names each language in itself.
    const QString japaneseName = QString::fromUtf8("日本語");
    for (const char* text :
         {"日本語", "&File", "Front", "Linear", "Cancel", "Scale the position keys too"}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    }
    EXPECT_GT(texts.size(), 150u);
    for (const auto& [text, owner] : texts) {
        if (text != japaneseName) {
            EXPECT_FALSE(text.contains(JapaneseCharacter()))
                << owner.toStdString() << ": " << text.toStdString();
        }
    }
}

TEST_F(InterfaceLanguageTest, TheJapaneseInterfaceKeepsItsTextsAsWritten) {
    language = QStringLiteral("ja");
    const std::map<QString, QString> texts = EveryText();
    for (const char* text : {"ﾀｲﾑﾗｲﾝ(&L)", "File(&F)", "Flont", "Liner", "plase", "ｷｬﾝｾﾙ",
                             "はい(&Y)", "ﾎﾟｼﾞｼｮﾝｷｰのｽｹｰﾙ変更も行う", "ﾊﾞｰｼﾞｮﾝ情報", "English"}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    }
    EXPECT_FALSE(texts.contains(QStringLiteral("Front")));
}

TEST_F(InterfaceLanguageTest, TheLanguageChosenInTheViewMenuIsKeptForTheNextStart) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(framework::TextLanguage(), QStringLiteral("ja"));
    ui.messageBox.Push(framework::IdOk);
    Menu(ids::ViewLanguageEnglish);
    // The message says it in the chosen language; the running interface keeps its own.
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_TRUE(ui.messageBox.Asked()[0].text.contains(QStringLiteral("English")));
    EXPECT_EQ(framework::TextLanguage(), QStringLiteral("ja"));
    EXPECT_EQ(AppSettings().Language(), QStringLiteral("en"));
    Stop();

    ASSERT_TRUE(Start());
    EXPECT_EQ(framework::TextLanguage(), QStringLiteral("en"));
    EXPECT_EQ(frame->menuBar()->actions()[0]->text(), QStringLiteral("&File"));
    Stop();

    // --lang wins over the settings for its run only.
    language = QStringLiteral("ja");
    ASSERT_TRUE(Start());
    EXPECT_EQ(framework::TextLanguage(), QStringLiteral("ja"));
    EXPECT_EQ(AppSettings().Language(), QStringLiteral("en"));
}

TEST(AppSettingsLanguageTest, AnUnknownLanguageInTheFileReadsAsJapanese) {
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    {
        AppSettings settings;
        EXPECT_EQ(settings.Language(), QStringLiteral("ja"));
        settings.SetLanguage(QStringLiteral("fr"));
        EXPECT_EQ(settings.Language(), QStringLiteral("ja"));
        settings.SetLanguage(QStringLiteral("en"));
        EXPECT_EQ(settings.Language(), QStringLiteral("en"));
    }
    qputenv("XDG_CONFIG_HOME", previous);
}

} // namespace
