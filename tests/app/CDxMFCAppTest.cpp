#include "app/CDxMFCApp.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/fsuid.h>

#include "app/BarControlIds.h"
#include "app/ShellFixture.h"
#include "platform/framework/Document.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "resources/CommandIds.h"
#include "resources/ResourceIds.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "scene/CPartRecord.h"
#include "session/EditContext.h"

namespace {

using shell_test::SampleWalker;
using shell_test::ShellFixture;
namespace ids = resources::ids;

/// Counts the events it receives.
class EventCounter : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            ++count;
            return true;
        }
        return QObject::event(event);
    }
    int count = 0;
};

class ApplicationTest : public ShellFixture {};

TEST_F(ApplicationTest, StartsWithTheProgramTitleAndAnEmptyDocument) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Pavrix / Prototype[*]"));
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(app->GetMainWnd(), frame);
    EXPECT_EQ(frame->GetActiveDocument()->GetPathName(), QString());
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
}

TEST_F(ApplicationTest, OpensTheFileOfTheCommandLineAndFramesItInTheView) {
    ASSERT_TRUE(QFile::exists(QString::fromStdString(SampleWalker())));
    ASSERT_TRUE(Start({QString::fromStdString(SampleWalker())}));
    // The file's name, with the place of the unsaved-changes mark.
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("walker.x[*] - Pavrix"));
    ASSERT_NE(Context().currentAnimation, nullptr);
    ASSERT_NE(Context().currentModel, nullptr);
    EXPECT_NE(Context().currentCharacter, nullptr);
    EXPECT_EQ(Context().currentModel->Root()->GetParent(), Context().sceneFrame);
    EXPECT_EQ(Panel().GetDlgItemText(ctl::AnimationName), QStringLiteral("walker.x"));
    EXPECT_EQ(Panel().GetDlgItemText(ctl::ModelName), QStringLiteral("walker.x"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Min), QStringLiteral("0.00"));
    EXPECT_NE(Bar().GetDlgItemText(ctl::Max), QStringLiteral("0.00"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::Time), QStringLiteral("0.00"));
    EXPECT_EQ(Bar().GetDlgItemText(ctl::KeyNo), QStringLiteral("0"));
    EXPECT_EQ(frame->GetActiveDocument()->GetPathName(), QString::fromStdString(SampleWalker()));

    // The camera pivot sits at the centre of the model.
    rm::Box box;
    Context().currentModel->Root()->GetHierarchyBox(&box);
    rm::Vector pivot;
    view->GetCameraPivot()->GetPosition(Context().currentModel->Root(), &pivot);
    EXPECT_NEAR(pivot.y, (box.min.y + box.max.y) * 0.5f, 1e-3f);
    EXPECT_EQ(ui.messageBox.Asked().size(), 0u);
}

TEST_F(ApplicationTest, CenterWithAPartSelectedCentresOnTheWholeModel) {
    ASSERT_TRUE(Start({QString::fromStdString(SampleWalker())}));
    rm::Frame* root = Context().currentModel->Root();
    ASSERT_NE(root, nullptr);
    ASSERT_FALSE(root->Children().empty());
    rm::Frame* part = root->Children().front().Get();
    while (!part->Children().empty()) {
        part = part->Children().front().Get();
    }
    Context().SetSelectedPart(part);
    view->GetCameraPivot()->SetPosition(nullptr, 50, 50, 50);
    ASSERT_EQ(frame->OnCmdMsg(ctl::Center), 1);
    rm::Box box;
    root->GetHierarchyBox(&box);
    rm::Vector pivot;
    view->GetCameraPivot()->GetPosition(root, &pivot);
    EXPECT_NEAR(pivot.x, (box.min.x + box.max.x) * 0.5f, 1e-3f);
    EXPECT_NEAR(pivot.y, (box.min.y + box.max.y) * 0.5f, 1e-3f);
    EXPECT_NEAR(pivot.z, (box.min.z + box.max.z) * 0.5f, 1e-3f);
    Context().SetSelectedPart(nullptr);
}

TEST_F(ApplicationTest, AFileThatCannotBeLoadedEndsTheStartWithTheLoadMessage) {
    const QString bad = QStringLiteral(PAVRIX_FIXTURE_DIR "/x/header_bad_magic.x");
    ASSERT_TRUE(QFile::exists(bad));
    EXPECT_FALSE(Start({bad}));
    EXPECT_EQ(app->GetMainWnd(), nullptr);
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    // The message, the cause in the user's terms, then the reader's reason naming the file.
    const QStringList lines = ui.messageBox.Asked()[0].text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("モデルのロードに失敗しました。"));
    EXPECT_EQ(lines[1], QStringLiteral("X ファイル (.x) ではありません。"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("header_bad_magic.x:1: expected 'xof '")))
        << lines[2].toStdString();
    EXPECT_EQ(ui.messageBox.Asked()[0].caption, QStringLiteral("Pavrix / Prototype"));
    // Without a main window the loop ends at once.
    EXPECT_EQ(app->Run(), 0);
}

TEST_F(ApplicationTest, LoopTicksOncePerPassWithoutEventsAndNotAfterTheQuit) {
    ASSERT_TRUE(Start());
    constexpr int kPasses = 7;
    int clockCalls = 0;
    // The tick reads the clock twice; the quit is asked for during the last wanted tick.
    frame->SetTickServices(
        [&] {
            ++clockCalls;
            if (clockCalls == 2 * kPasses) {
                app->PostQuitMessage(3);
            }
            return clockCalls * 0.001;
        },
        [](int) {});
    long passes = 0;
    app->SetPassHook([&](long pass) { passes = pass; });
    EXPECT_EQ(app->Run(), 3);
    EXPECT_EQ(clockCalls, 2 * kPasses);
    EXPECT_EQ(passes, kPasses);
    app.reset(); // ExitInstance already ran
}

TEST_F(ApplicationTest, WaitingEventsAreAllHandledBeforeTheNextTick) {
    ASSERT_TRUE(Start());
    EventCounter counter;
    for (int i = 0; i < 50; ++i) {
        QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
    }
    std::vector<int> seenAtTick;
    int clockCalls = 0;
    frame->SetTickServices(
        [&] {
            if (++clockCalls % 2 == 1) {
                seenAtTick.push_back(counter.count);
            }
            return clockCalls * 0.001;
        },
        [&](int) {
            if (seenAtTick.size() == 2) {
                app->PostQuitMessage(0);
            }
        });
    app->Run();
    ASSERT_EQ(seenAtTick.size(), 2u);
    EXPECT_EQ(seenAtTick[0], 50);
    app.reset();
}

TEST_F(ApplicationTest, ExitAsksAboutChangesThenEndsTheLoop) {
    ASSERT_TRUE(Start());
    frame->SetTickServices([] { return 0.0; }, [](int) {});
    frame->MarkDocumentModified();
    ui.messageBox.Push(framework::IdNo);
    app->SetPassHook([this](long pass) {
        if (pass == 3) {
            frame->OnCommand(ids::AppExit, framework::CommandSource::Menu);
        }
        ASSERT_LE(pass, 3);
    });
    EXPECT_EQ(app->Run(), 0);
    ASSERT_EQ(ui.messageBox.Asked().size(), 1u);
    EXPECT_EQ(ui.messageBox.Asked()[0].style & framework::MbTypeMask, framework::MbYesNoCancel);
    EXPECT_EQ(app->GetMainWnd(), nullptr);
    // The frame took its edit context with it; the scene it released leaves no factory.
    EXPECT_EQ(g_d3drm, nullptr);
    app.reset();
}

TEST_F(ApplicationTest, AboutShowsTemplate100) {
    ASSERT_TRUE(Start());
    ui.dialogRunner.PushOk();
    ASSERT_EQ(frame->OnCommand(ids::AppAbout, framework::CommandSource::Menu), 1);
    ASSERT_EQ(ui.dialogRunner.Runs().size(), 1u);
    EXPECT_EQ(ui.dialogRunner.Runs()[0].templateId, resources::res::AboutBox);
    EXPECT_EQ(ui.dialogRunner.Runs()[0].result, framework::IdOk);
}

// ---------------------------------------------------------------------------------------
// The whole cycle through the program's own loop: open, play, stop, save, open again.

/// What a saved file must give back: the parts (names as read from the file, depth,
/// matrix, number of visuals), every animation's keys with the part it drives, and the
/// key-time list.
struct PartState {
    std::string name;
    int depth = 0;
    rm::Matrix4 local; // the rest transform, which a save writes
    std::size_t visuals = 0;
    rm::Matrix4 pose; // what is shown
};
struct TrackState {
    std::string part;
    std::vector<rm::AnimationKey> keys;
};
struct CharacterState {
    std::vector<PartState> parts;
    std::vector<TrackState> tracks;
    std::vector<float> keyTimes;
};

std::string FileNameOf(const rm::Frame* frame) {
    const CPartRecord* record = CPartRecord::Of(frame);
    return record != nullptr && record->fileName ? *record->fileName : std::string();
}

void AddParts(rm::Frame* frame, int depth, std::vector<PartState>* out) {
    // The model as a save writes it: the rest transforms, whatever the time shown.
    out->push_back({FileNameOf(frame), depth, frame->GetRestTransform(), frame->Visuals().size(),
                    frame->LocalTransform()});
    for (const auto& child : frame->Children()) {
        AddParts(child.Get(), depth + 1, out);
    }
}

/// The current character as it is in memory now.
CharacterState Capture(const session::EditContext& context) {
    CharacterState state;
    for (const auto& child : context.currentModel->Root()->Children()) {
        AddParts(child.Get(), 0, &state.parts);
    }
    for (const auto& animation : context.currentAnimation->Set()->Animations()) {
        TrackState track;
        if (const auto driven = animation->GetFrame()) {
            track.part = FileNameOf(driven.Get());
        }
        for (const rm::AnimationKey& key : animation->Keys()) {
            if (key.dvTime >= 0) {
                track.keys.push_back(key);
            }
        }
        state.tracks.push_back(std::move(track));
    }
    for (unsigned i = 0; i < context.currentAnimation->KeyTimeCount(); ++i) {
        state.keyTimes.push_back(context.currentAnimation->KeyTime(static_cast<int>(i)));
    }
    return state;
}

/// Equal within what "%f" keeps of a 32-bit value.
bool NearAsWritten(float expected, float actual) {
    return std::fabs(double(expected) - double(actual)) <=
           6e-7 + std::fabs(double(expected)) * 2e-7;
}

void ExpectSameCharacter(const CharacterState& expected, const CharacterState& actual) {
    ASSERT_EQ(actual.parts.size(), expected.parts.size());
    for (std::size_t i = 0; i < expected.parts.size(); ++i) {
        const PartState& e = expected.parts[i];
        const PartState& a = actual.parts[i];
        EXPECT_EQ(a.name, e.name) << i;
        EXPECT_EQ(a.depth, e.depth) << e.name;
        EXPECT_EQ(a.visuals, e.visuals) << e.name;
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c) {
                EXPECT_TRUE(NearAsWritten(e.local.m[r][c], a.local.m[r][c]))
                    << e.name << " [" << r << "][" << c << "] " << e.local.m[r][c]
                    << " read back as " << a.local.m[r][c];
            }
        }
    }
    ASSERT_EQ(actual.tracks.size(), expected.tracks.size());
    for (std::size_t i = 0; i < expected.tracks.size(); ++i) {
        const TrackState& e = expected.tracks[i];
        const TrackState& a = actual.tracks[i];
        EXPECT_EQ(a.part, e.part) << i;
        ASSERT_EQ(a.keys.size(), e.keys.size()) << e.part;
        for (std::size_t k = 0; k < e.keys.size(); ++k) {
            EXPECT_EQ(a.keys[k].dwKeyType, e.keys[k].dwKeyType) << e.part << " key " << k;
            EXPECT_EQ(a.keys[k].dvTime, e.keys[k].dvTime) << e.part << " key " << k;
            float ev[4], av[4];
            std::memcpy(ev, &e.keys[k].dqRotateKey, sizeof ev);
            std::memcpy(av, &a.keys[k].dqRotateKey, sizeof av);
            const int count = e.keys[k].dwKeyType == rm::D3DRMANIMATION_ROTATEKEY ? 4 : 3;
            for (int v = 0; v < count; ++v) {
                EXPECT_TRUE(NearAsWritten(ev[v], av[v]))
                    << e.part << " key " << k << " value " << v << ": " << ev[v] << " read back as "
                    << av[v];
            }
        }
    }
    EXPECT_EQ(actual.keyTimes, expected.keyTimes);
}

/// A folder the program cannot write to: a child of a temporary folder with mode 0555,
/// holding one file. Root may write anywhere, so while a test writes into it the thread's
/// file-system user is "nobody" (65534, with setfsuid: the kernel then checks the
/// folder's permission bits for that user); as another user the mode alone does it.
class ReadOnlyFolder {
public:
    ReadOnlyFolder() {
        if (!m_base.isValid()) {
            return;
        }
        QFile::setPermissions(m_base.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                 QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                                 QFileDevice::ExeGroup);
        QDir(m_base.path()).mkdir(QStringLiteral("locked"));
        QFile old(OldFile());
        if (old.open(QIODevice::WriteOnly)) {
            old.write(kOldContents);
        }
        old.close();
        SetLocked(true);
    }
    ~ReadOnlyFolder() { SetLocked(false); }

    static constexpr char kOldContents[] = "the older file\n";

    QString Path() const { return m_base.filePath(QStringLiteral("locked")); }
    QString OldFile() const { return Path() + QStringLiteral("/old.x"); }

    /// Runs `body` as "nobody" on the file system.
    template <typename Body>
    void AsNobody(Body body) {
        const int previousGroup = ::setfsgid(65534);
        const int previousUser = ::setfsuid(65534);
        body();
        ::setfsuid(static_cast<uid_t>(previousUser));
        ::setfsgid(static_cast<gid_t>(previousGroup));
    }

    /// True when writing into the folder is refused here.
    bool IsReadOnly() {
        bool created = false;
        AsNobody([&] {
            QFile probe(Path() + QStringLiteral("/probe"));
            created = probe.open(QIODevice::WriteOnly);
            if (created) {
                probe.close();
                probe.remove();
            }
        });
        return !created;
    }

    QStringList Entries() const {
        return QDir(Path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    QByteArray OldContents() const {
        QFile old(OldFile());
        return old.open(QIODevice::ReadOnly) ? old.readAll() : QByteArray();
    }

private:
    void SetLocked(bool locked) {
        const QFileDevice::Permissions readAndEnter =
            QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
            QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
        QFile::setPermissions(Path(),
                              locked ? readAndEnter : readAndEnter | QFileDevice::WriteOwner);
    }

    QTemporaryDir m_base;
};

class OpenPlaySaveTest : public ApplicationTest {
protected:
    /// Runs the program's loop, calling `step` at the end of every pass with the pass
    /// number, on a clock that moves a sixty-fourth of a second per pass, until a step
    /// posts the quit.
    void RunLoop(std::function<void(long pass)> step) {
        frame->SetTickServices([this] { return m_now; }, [](int) {});
        app->SetPassHook([this, step](long pass) {
            m_now += 1.0 / 64.0;
            step(pass);
        });
        app->Run();
        app.reset(); // the loop's end took the program down
        frame = nullptr;
        view = nullptr;
    }

    void Click(framework::CommandId id) { frame->GetAnimationToolBar()->GetAction(id)->trigger(); }

    int SaveAs(const QString& path) {
        ui.fileDialog.Choose(path);
        return frame->OnCommand(ids::FileSaveAs, framework::CommandSource::Menu);
    }

private:
    double m_now = 0;
};

TEST_F(OpenPlaySaveTest, TheTestCharacterPlaysStopsSavesUnderANewNameAndOpensAgainTheSame) {
    const QString source = QStringLiteral(PAVRIX_TESTDATA_DIR "/x/BCN_Epileptic.X");
    if (!QFile::exists(source)) {
        GTEST_SKIP() << "no test data at " << PAVRIX_TESTDATA_DIR;
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString saved = dir.filePath(QStringLiteral("epileptic-saved.x"));
    ReadOnlyFolder locked;
    ASSERT_TRUE(locked.IsReadOnly()) << "cannot make a folder read-only here";
    ASSERT_TRUE(Start());

    constexpr long kStopPass = 200;
    int opened = 0;
    CharacterState atOpen, beforeSave, reopened;
    float playedTo = -1, stoppedAt = -1;
    std::optional<session::PlayState> playStateWhilePlaying;
    QImage earlyPicture, latePicture;
    int savedResult = -1, modifiedAfterSave = -1, modifiedAfterFailure = -1;
    QString pathAfterSave, pathAfterFailure;
    std::vector<QString> messagesAtSave, failureMessages;
    QStringList leftInLockedFolder;

    RunLoop([&](long pass) {
        if (pass == 1) {
            ui.fileDialog.Choose(source);
            opened = frame->OnCommand(ids::FileOpen, framework::CommandSource::Menu);
            if (!opened) {
                app->PostQuitMessage(1);
                return;
            }
            atOpen = Capture(Context());
            Bar().SetCurSel(ctl::PlaySpeed, 0); // "1/120": 120 key-time units a second
            frame->RouteCommand(ctl::PlaySpeed, framework::Notification::SelChange);
            Click(ids::PlayAnimation);
        } else if (pass == 20) {
            earlyPicture = view->GetPicture();
        } else if (pass == kStopPass) {
            latePicture = view->GetPicture();
            playedTo = Context().currentTime;
            playStateWhilePlaying = Context().playState;
            Click(ids::StopAnimation);
            stoppedAt = Context().currentTime;
            frame->MarkDocumentModified();
            beforeSave = Capture(Context());
            savedResult = SaveAs(saved);
            modifiedAfterSave = frame->GetActiveDocument()->IsModified();
            pathAfterSave = frame->GetActiveDocument()->GetPathName();
            messagesAtSave = ui.messageBox.Texts();
        } else if (pass == kStopPass + 1) {
            ui.fileDialog.Choose(saved);
            frame->OnCommand(ids::FileOpen, framework::CommandSource::Menu);
            reopened = Capture(Context());
        } else if (pass == kStopPass + 2) {
            ui.messageBox.Clear();
            frame->MarkDocumentModified();
            ui.messageBox.Push(framework::IdOk);
            ui.messageBox.Push(framework::IdOk);
            locked.AsNobody([&] {
                SaveAs(locked.Path() + QStringLiteral("/new.x"));
                SaveAs(locked.OldFile());
            });
            failureMessages = ui.messageBox.Texts();
            modifiedAfterFailure = frame->GetActiveDocument()->IsModified();
            pathAfterFailure = frame->GetActiveDocument()->GetPathName();
            leftInLockedFolder = locked.Entries();
            ui.messageBox.Push(framework::IdNo); // the exit's question
            frame->OnCommand(ids::AppExit, framework::CommandSource::Menu);
        }
    });

    ASSERT_EQ(opened, 1);
    // Played: 199 passes at 0.9375 × 2 units; past the first key time (160) and posed.
    EXPECT_EQ(playStateWhilePlaying, session::PlayState::PlayingCurrent);
    EXPECT_NEAR(playedTo, 199 * 1.875f, 1e-2f);
    EXPECT_FLOAT_EQ(stoppedAt, std::floor(playedTo));
    bool posed = false;
    for (std::size_t i = 0; i < atOpen.parts.size(); ++i) {
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c) {
                posed = posed || atOpen.parts[i].pose.m[r][c] != beforeSave.parts[i].pose.m[r][c];
            }
        }
    }
    EXPECT_TRUE(posed) << "playing moved no part";
    // The view drew while playing. (The file's one mesh hangs on a frame no key moves,
    // so the picture itself stays the same.)
    EXPECT_FALSE(earlyPicture.isNull());
    EXPECT_FALSE(latePicture.isNull());

    // Saved under the new name, no longer modified, and read back the same.
    EXPECT_EQ(savedResult, 1);
    EXPECT_EQ(modifiedAfterSave, 0);
    EXPECT_EQ(pathAfterSave, saved);
    EXPECT_TRUE(messagesAtSave.empty());
    ExpectSameCharacter(beforeSave, reopened);
    EXPECT_EQ(beforeSave.keyTimes.size(), 100u);

    // The read-only folder: the reason each time, still modified, nothing left behind.
    ASSERT_EQ(failureMessages.size(), 2u);
    for (const QString& text : failureMessages) {
        EXPECT_TRUE(text.startsWith(QStringLiteral("ファイルの保存に失敗しました。\n")) &&
                    text.contains(locked.Path()))
            << text.toStdString();
    }
    EXPECT_EQ(modifiedAfterFailure, 1);
    EXPECT_EQ(pathAfterFailure, saved);
    EXPECT_EQ(leftInLockedFolder, QStringList{QStringLiteral("old.x")});
    EXPECT_EQ(locked.OldContents(), QByteArray(ReadOnlyFolder::kOldContents));
    EXPECT_EQ(ui.messageBox.UnscriptedCount(), 0);
}

TEST_F(OpenPlaySaveTest, ASaveIntoAReadOnlyFolderSaysWhyKeepsTheEditsAndLeavesNothingBehind) {
    ReadOnlyFolder locked;
    ASSERT_TRUE(locked.IsReadOnly()) << "cannot make a folder read-only here";
    ASSERT_TRUE(Start({QString::fromStdString(SampleWalker())}));
    framework::Document* document = frame->GetActiveDocument();
    frame->MarkDocumentModified();
    int newResult = -1, oldResult = -1;
    locked.AsNobody([&] {
        newResult = SaveAs(locked.Path() + QStringLiteral("/new.x"));
        oldResult = SaveAs(locked.OldFile());
    });
    EXPECT_EQ(newResult, 1); // the command ran; the save inside it failed
    EXPECT_EQ(oldResult, 1);
    ASSERT_EQ(ui.messageBox.Asked().size(), 2u);
    EXPECT_TRUE(ui.messageBox.Asked()[0].text.contains(QStringLiteral("new.x")))
        << ui.messageBox.Asked()[0].text.toStdString();
    EXPECT_EQ(document->IsModified(), 1);
    EXPECT_EQ(document->GetPathName(), QString::fromStdString(SampleWalker()));
    EXPECT_EQ(locked.Entries(), QStringList{QStringLiteral("old.x")});
    EXPECT_EQ(locked.OldContents(), QByteArray(ReadOnlyFolder::kOldContents));

    // Quitting asks, and Cancel keeps the program running.
    ui.messageBox.Push(framework::IdCancel);
    frame->OnCommand(ids::AppExit, framework::CommandSource::Menu);
    EXPECT_EQ(ui.messageBox.Asked().size(), 3u);
    EXPECT_EQ(app->IsQuitPosted(), 0);
}

} // namespace
