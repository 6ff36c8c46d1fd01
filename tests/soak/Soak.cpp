// The soak: the whole editor driven headless by a seeded random run of what a user can do,
// with the program's invariants checked after every step.
//
//   SOAK_SEED=7 SOAK_STEPS=500 soak_tests
//
// Each step's action is drawn from a generator seeded by (seed, step number) alone, so any
// subset of the steps can be replayed (SOAK_REPLAY="3,17,40" runs just those steps). The
// steps run in a child process of the program itself, so that a sanitizer's report, which
// ends the process, is caught like a broken invariant: the run prints the seed and the step
// and looks for a shorter list of steps that still fails by running children on subsets.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "app/BarControlIds.h"
#include "app/CDxMFCApp.h"
#include "app/CMainFrame.h"
#include "commands/UndoHistory.h"
#include "dialogs/CModelScaleDialog.h"
#include "dialogs/CPartKeyDialog.h"
#include "dialogs/CPositionKeyScaleDialog.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/DialogBar.h"
#include "platform/framework/Document.h"
#include "platform/framework/IMessageBox.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/ScriptedDialogRunner.h"
#include "platform/framework/ScriptedFileDialog.h"
#include "platform/framework/StandardIds.h"
#include "platform/framework/UiServices.h"
#include "platform/rm/Context.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/XFileLoader.h"
#include "resources/CommandIds.h"
#include "resources/ToolBars.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"
#include "view/CDxMFCView.h"

namespace {

namespace ids = resources::ids;
using framework::CommandId;

// ---------------------------------------------------------------------------------------
// The run's random answers.

/// Answers every message box with one of its own buttons, at random.
class RandomMessageBox : public framework::IMessageBox {
public:
    std::mt19937* rng = nullptr;
    int Show(QWidget*, const QString&, const QString&, unsigned style) override {
        static const std::vector<int> ok{framework::IdOk};
        static const std::vector<int> okCancel{framework::IdOk, framework::IdCancel};
        static const std::vector<int> yesNo{framework::IdYes, framework::IdNo};
        static const std::vector<int> yesNoCancel{framework::IdYes, framework::IdNo,
                                                  framework::IdCancel};
        const unsigned type = style & framework::MbTypeMask;
        const std::vector<int>& buttons = type == framework::MbOkCancel      ? okCancel
                                          : type == framework::MbYesNo       ? yesNo
                                          : type == framework::MbYesNoCancel ? yesNoCancel
                                                                             : ok;
        return buttons[std::uniform_int_distribution<std::size_t>(0, buttons.size() - 1)(*rng)];
    }
};

QString RandomNumberText(std::mt19937& rng) {
    static const char* const kTexts[] = {"1",   "2",      "0.5", "-1",  "3.25", "0",   "abc", "",
                                         "1e9", "-0.001", "1,5", " 2 ", "nan",  "inf", "10"};
    return QString::fromLatin1(kTexts[rng() % std::size(kTexts)]);
}

/// Plays the user in whatever dialog comes up: fields filled with valid and invalid text,
/// buttons pressed, then OK or Cancel.
void PlayDialog(std::mt19937 rng, framework::Dialog& dialog) {
    if (dynamic_cast<CModelScaleDialog*>(&dialog) != nullptr) {
        for (int i = 0; i < 3; ++i) {
            dialog.SetDlgItemText(CModelScaleDialog::ScaleXEdit + i, RandomNumberText(rng));
        }
        if (rng() % 2 != 0) {
            dialog.ClickButton(CModelScaleDialog::PositionKeysCheck);
        }
    } else if (dynamic_cast<CPositionKeyScaleDialog*>(&dialog) != nullptr) {
        for (int i = 0; i < 3; ++i) {
            dialog.SetDlgItemText(CPositionKeyScaleDialog::ScaleXEdit + i, RandomNumberText(rng));
        }
    } else if (dynamic_cast<CPartKeyDialog*>(&dialog) != nullptr) {
        static const int kButtons[] = {
            CPartKeyDialog::OpenRadio,     CPartKeyDialog::CloseRadio,
            CPartKeyDialog::SplineRadio,   CPartKeyDialog::LinerRadio,
            CPartKeyDialog::PositionCheck, CPartKeyDialog::ScaleRotationCheck,
            CPartKeyDialog::BackButton,    CPartKeyDialog::ForwardButton,
        };
        const int clicks = static_cast<int>(rng() % 6);
        for (int i = 0; i < clicks; ++i) {
            dialog.ClickButton(kButtons[rng() % std::size(kButtons)]);
        }
        if (rng() % 3 == 0) {
            static const char* const kNames[] = {"Elbow", "", "Head", "a b", "Frame_1", "名前"};
            dialog.SetDlgItemText(CPartKeyDialog::PartTypeNameEdit,
                                  QString::fromUtf8(kNames[rng() % std::size(kNames)]));
        }
    }
    dialog.ClickButton(rng() % 4 == 0 ? framework::IdCancel : framework::IdOk);
}

// ---------------------------------------------------------------------------------------
// The run.

struct Failure {
    int step = -1;
    std::string what;
};

class Soak {
public:
    Soak(unsigned seed, QStringList files, QString scratch)
        : m_seed(seed), m_files(std::move(files)), m_scratch(std::move(scratch)) {}

    bool Start() {
        framework::UiServices::SetMessageBox(&m_messageBox);
        framework::UiServices::SetFileDialog(&m_fileDialog);
        framework::UiServices::SetDialogRunner(&m_dialogs);
        m_messageBox.rng = &m_rng;
        m_app = std::make_unique<CDxMFCApp>(QStringList{}, [] { return new CDxMFCView; });
        if (!m_app->InitInstance()) {
            return false;
        }
        m_frame = m_app->GetMainFrame();
        m_view = m_frame != nullptr ? dynamic_cast<CDxMFCView*>(m_frame->GetActiveView()) : nullptr;
        if (m_view == nullptr) {
            return false;
        }
        m_frame->SetUrlOpener([](const QUrl&) { return true; });
        m_view->resize(640, 480);
        CollectCommands();
        return true;
    }

    void Stop() {
        if (m_app != nullptr) {
            m_app->ExitInstance();
            m_app.reset();
        }
        framework::UiServices::SetMessageBox(nullptr);
        framework::UiServices::SetFileDialog(nullptr);
        framework::UiServices::SetDialogRunner(nullptr);
    }

    /// Runs step `step` and checks the invariants; the failure, if any.
    Failure Step(int step) {
        m_rng.seed(m_seed * 1000003u + static_cast<unsigned>(step));
        m_described.clear();
        BeforeStep();
        Act();
        QCoreApplication::processEvents();
        m_frame->Tick();
        std::string broken = CheckInvariants();
        if (broken.empty() && m_rng() % 40 == 0) {
            broken = CheckUndoAll();
        }
        return {broken.empty() ? -1 : step,
                broken.empty() ? std::string() : m_described + ": " + broken};
    }

    const std::string& Described() const { return m_described; }

private:
    // ---- actions ----

    void Act() {
        // Each action with its share of the steps, in hundredths: the first whose bound lies
        // above the draw runs.
        static constexpr struct {
            int below;
            void (Soak::*act)();
        } kActions[] = {
            {3, &Soak::OpenRandomFile}, {25, &Soak::MouseInView},        {38, &Soak::KeyInView},
            {62, &Soak::RandomCommand}, {72, &Soak::PanelControl},       {82, &Soak::UndoRedoRun},
            {86, &Soak::SkinOn},        {92, &Soak::SaveAndMaybeReopen}, {100, &Soak::KeyCommand},
        };
        const int kind = static_cast<int>(m_rng() % 100);
        for (const auto& action : kActions) {
            if (kind < action.below) {
                (this->*action.act)();
                return;
            }
        }
    }

    void SkinOn() {
        Describe("Skin On");
        Command(ids::SkinOn);
    }

    void Describe(const std::string& text) {
        m_described += m_described.empty() ? text : " / " + text;
    }

    void Command(CommandId id) {
        // The dialogs a command may bring up are played at random; the file dialog picks a
        // file to open or a scratch name to save under.
        m_dialogs.Push([seed = static_cast<unsigned>(m_rng())](framework::Dialog& dialog) {
            PlayDialog(std::mt19937(seed), dialog);
        });
        if (m_rng() % 5 == 0) {
            m_fileDialog.Cancel();
        } else {
            m_fileDialog.Choose(ChooseFile());
        }
        m_frame->OnCommand(id, framework::CommandSource::Menu);
        // What was not asked for is not carried into the next step.
        m_dialogs = framework::ScriptedDialogRunner();
        framework::UiServices::SetDialogRunner(&m_dialogs);
        m_fileDialog = framework::ScriptedFileDialog();
        framework::UiServices::SetFileDialog(&m_fileDialog);
    }

    QString ChooseFile() {
        if (m_rng() % 2 == 0 && !m_files.isEmpty()) {
            return m_files[static_cast<int>(m_rng() % m_files.size())];
        }
        return QDir(m_scratch).filePath(QStringLiteral("save%1.x").arg(m_rng() % 4));
    }

    void OpenRandomFile() {
        const QString path = m_files[static_cast<int>(m_rng() % m_files.size())];
        Describe("open " + QFileInfo(path).fileName().toStdString());
        m_fileDialog.Choose(path);
        m_frame->OnCommand(framework::ids::FileOpen, framework::CommandSource::Menu);
    }

    QPoint RandomPoint() {
        // Mostly near the middle, where the character stands.
        const int w = std::max(1, m_view->width());
        const int h = std::max(1, m_view->height());
        if (m_rng() % 4 == 0) {
            return {static_cast<int>(m_rng() % w), static_cast<int>(m_rng() % h)};
        }
        std::normal_distribution<float> x(w / 2.0f, w / 8.0f), y(h / 2.0f, h / 6.0f);
        return {std::clamp(static_cast<int>(x(m_rng)), 0, w - 1),
                std::clamp(static_cast<int>(y(m_rng)), 0, h - 1)};
    }

    Qt::KeyboardModifiers RandomModifiers() {
        Qt::KeyboardModifiers modifiers;
        if (m_rng() % 4 == 0) {
            modifiers |= Qt::ShiftModifier;
        }
        if (m_rng() % 4 == 0) {
            modifiers |= Qt::ControlModifier;
        }
        if (m_rng() % 8 == 0) {
            modifiers |= Qt::AltModifier;
        }
        return modifiers;
    }

    void MouseInView() {
        static const Qt::MouseButton kButtons[] = {Qt::LeftButton, Qt::LeftButton, Qt::RightButton,
                                                   Qt::MiddleButton};
        m_frame->Context().operationMode = static_cast<session::OperationMode>(m_rng() % 2);
        m_frame->Context().mouseFunction = static_cast<session::MouseFunction>(m_rng() % 4);
        const Qt::MouseButton button = kButtons[m_rng() % std::size(kButtons)];
        const Qt::KeyboardModifiers modifiers = RandomModifiers();
        const QPoint from = RandomPoint();
        const int moves = static_cast<int>(m_rng() % 6);
        Describe("mouse " + std::to_string(button) + " mode " +
                 std::to_string(static_cast<int>(m_frame->Context().operationMode)) + " function " +
                 std::to_string(static_cast<int>(m_frame->Context().mouseFunction)) +
                 " modifiers " + std::to_string(modifiers.toInt()) + " moves " +
                 std::to_string(moves));
        QTest::mousePress(m_view, button, modifiers, from);
        QPoint at = from;
        for (int i = 0; i < moves; ++i) {
            at += QPoint(static_cast<int>(m_rng() % 41) - 20, static_cast<int>(m_rng() % 41) - 20);
            QTest::mouseEvent(QTest::MouseMove, m_view, Qt::NoButton, modifiers, at);
            if (m_rng() % 8 == 0) {
                // A second button joins the drag.
                QTest::mousePress(m_view, Qt::RightButton, modifiers, at);
                QTest::mouseRelease(m_view, Qt::RightButton, modifiers, at);
            }
        }
        QTest::mouseRelease(m_view, button, modifiers, at);
    }

    void KeyInView() {
        static const struct {
            Qt::Key key;
            bool keypad;
        } kKeys[] = {{Qt::Key_Up, false},    {Qt::Key_Down, false}, {Qt::Key_Left, false},
                     {Qt::Key_Right, false}, {Qt::Key_0, true},     {Qt::Key_2, true},
                     {Qt::Key_4, true},      {Qt::Key_5, true},     {Qt::Key_6, true},
                     {Qt::Key_8, true},      {Qt::Key_F, false},    {Qt::Key_Home, false}};
        const auto& key = kKeys[m_rng() % std::size(kKeys)];
        Qt::KeyboardModifiers modifiers = m_rng() % 6 == 0 ? RandomModifiers() : Qt::NoModifier;
        if (key.keypad) {
            modifiers |= Qt::KeypadModifier;
        }
        Describe("key " + std::to_string(key.key) + " modifiers " +
                 std::to_string(modifiers.toInt()));
        QTest::keyClick(m_view, key.key, modifiers);
    }

    void RandomCommand() {
        const CommandId id = m_commands[m_rng() % m_commands.size()];
        Describe("command " + std::to_string(id));
        Command(id);
    }

    void KeyCommand() {
        static const CommandId kKeys[] = {ids::AddKeyFrame,       ids::AddLastKeyFrame,
                                          ids::DeleteKeyFrame,    ids::CopyKeyFrame,
                                          ids::PasteKeyFrame,     ids::KeyFrameLeft,
                                          ids::KeyFrameRight,     ids::AnimationForwardStep,
                                          ids::AnimationBackStep, ids::EditPartsAnimationKey};
        const CommandId id = kKeys[m_rng() % std::size(kKeys)];
        Describe("key command " + std::to_string(id));
        Command(id);
    }

    void PanelControl() {
        framework::DialogControls& panel = m_frame->GetControlPanel()->Controls();
        framework::DialogControls& bar = m_frame->GetAnimationBar()->Controls();
        static const int kButtons[] = {ctl::ParentChild,  ctl::Animation, ctl::MoveModel,
                                       ctl::MovePart,     ctl::Rotate,    ctl::Zoom,
                                       ctl::AxisX,        ctl::AxisY,     ctl::AxisZ,
                                       ctl::AxisNegative, ctl::Center};
        switch (m_rng() % 5) {
        case 0:
        case 1: {
            const int id = kButtons[m_rng() % std::size(kButtons)];
            Describe("panel button " + std::to_string(id));
            panel.ClickButton(id);
            break;
        }
        case 2: {
            const int count = panel.GetCount(ctl::AnimationName);
            const int index = count > 0 ? static_cast<int>(m_rng() % count) : 0;
            Describe("animation set " + std::to_string(index));
            m_frame->SelectAnimationSet(index);
            break;
        }
        case 3: {
            const QString text = RandomNumberText(m_rng);
            Describe("length " + text.toStdString());
            bar.SetDlgItemText(ctl::Length, text);
            Command(ctl::ChangeLength);
            break;
        }
        default: {
            const int index = static_cast<int>(m_rng() % 7);
            Describe("camera view " + std::to_string(index));
            if (m_frame->SelectCameraView(index)) {
                m_frame->ApplyCameraView();
            }
            break;
        }
        }
    }

    void UndoRedoRun() {
        const int count = 1 + static_cast<int>(m_rng() % 6);
        const bool undo = m_rng() % 3 != 0;
        Describe((undo ? "undo x" : "redo x") + std::to_string(count));
        for (int i = 0; i < count; ++i) {
            m_frame->OnCommand(undo ? ids::EditUndo : ids::EditRedo,
                               framework::CommandSource::Menu);
        }
    }

    void SaveAndMaybeReopen() {
        const QString path = QDir(m_scratch).filePath(QStringLiteral("save%1.x").arg(m_rng() % 4));
        const bool saveAs = m_rng() % 2 == 0;
        Describe(std::string(saveAs ? "save as " : "save ") +
                 QFileInfo(path).fileName().toStdString());
        m_fileDialog.Choose(path);
        m_frame->OnCommand(saveAs ? framework::ids::FileSaveAs : framework::ids::FileSave,
                           framework::CommandSource::Menu);
        m_fileDialog = framework::ScriptedFileDialog();
        framework::UiServices::SetFileDialog(&m_fileDialog);
        if (m_rng() % 3 == 0 && QFileInfo::exists(path)) {
            Describe("reopen");
            m_fileDialog.Choose(path);
            m_frame->OnCommand(framework::ids::FileOpen, framework::CommandSource::Menu);
        }
    }

    // ---- invariants ----

    void BeforeStep() {
        // The state the history starts from, as a save of it shows, taken before the step
        // that leaves it.
        UndoHistory* history = m_frame->History();
        if (history == nullptr || history->CanUndo()) {
            return;
        }
        m_baseValid = false;
        if (m_frame->Context().currentAnimation == nullptr ||
            m_baseTooSlow == m_frame->Context().currentAnimation) {
            return;
        }
        QElapsedTimer timer;
        timer.start();
        m_base = SaveBytes(QStringLiteral("base.x"));
        m_baseValid = !m_base.isEmpty();
        m_baseTime = m_frame->Context().currentTime;
        m_baseAnimation = m_frame->Context().currentAnimation;
        // A large character is left out of the undo check: its saves would take the run's
        // time.
        if (timer.elapsed() > 200) {
            m_baseTooSlow = m_frame->Context().currentAnimation;
            m_baseValid = false;
        }
    }

    QByteArray SaveBytes(const QString& name) {
        framework::Document* document = m_frame->GetActiveDocument();
        if (document == nullptr || m_frame->Context().currentAnimation == nullptr ||
            m_frame->Context().currentModel == nullptr) {
            return {};
        }
        const QString path = QDir(m_scratch).filePath(name);
        QFile::remove(path);
        // A save into the scratch folder that leaves the document's own name as it is.
        const bool modified = document->IsModified();
        if (document->DoSave(path, 0) != 1) {
            return {};
        }
        document->SetModifiedFlag(modified ? 1 : 0);
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool InScene(const rm::Frame* frame) {
        for (const rm::Frame* f = frame; f != nullptr; f = f->GetParent()) {
            if (f == m_frame->Context().sceneRoot) {
                return true;
            }
        }
        return false;
    }

    static bool Carries(const rm::Frame* frame, const rm::Visual* visual) {
        for (const auto& each : frame->Visuals()) {
            if (each.Get() == visual) {
                return true;
            }
        }
        return false;
    }

    static bool TreeCarries(const rm::Frame* frame, const rm::Visual* visual) {
        if (Carries(frame, visual)) {
            return true;
        }
        for (const auto& child : frame->Children()) {
            if (TreeCarries(child.Get(), visual)) {
                return true;
            }
        }
        return false;
    }

    std::string CheckInvariants() {
        // The selection names only what is in the scene.
        if (rm::Frame* part = m_frame->Context().selection.Part()) {
            if (!InScene(part)) {
                return "the selected part is not in the scene";
            }
            if (m_frame->Context().selection.Visual() != nullptr &&
                !Carries(part, m_frame->Context().selection.Visual())) {
                return "the selected visual is not on the selected part";
            }
        }
        // The box is in no frame of the scene and in no weld.
        if (rm::Mesh* box = m_frame->Context().selection.BoxMesh()) {
            if (m_frame->Context().sceneRoot != nullptr &&
                TreeCarries(m_frame->Context().sceneRoot, box)) {
                return "the selection box hangs in the scene";
            }
        }
        if (m_frame->Context().libraries != nullptr) {
            for (auto* entry = m_frame->Context().libraries->Characters().Head(); entry != nullptr;
                 entry = entry->Next()) {
                const CModelData* model = entry->Payload().m_model;
                if (model == nullptr || m_frame->Context().selection.BoxMesh() == nullptr) {
                    continue;
                }
                for (const auto& record : model->Welds().Records()) {
                    for (const auto& mesh : record.meshes) {
                        if (mesh.mesh == m_frame->Context().selection.BoxMesh()) {
                            return "the selection box is welded";
                        }
                    }
                }
            }
        }
        // The key-time list is what a fresh rebuild makes.
        if (m_frame->Context().currentAnimation != nullptr) {
            const std::vector<float> kept = m_frame->Context().currentAnimation->KeyTimeList();
            m_frame->Context().currentAnimation->UpdateTotalKeyTimeBuffer();
            if (m_frame->Context().currentAnimation->KeyTimeList() != kept) {
                m_frame->Context().currentAnimation->RestoreKeyTimeList(kept);
                return "the key-time list differs from a fresh rebuild";
            }
        }
        // Every file saved re-reads.
        for (int i = 0; i < 4; ++i) {
            const QString path = QDir(m_scratch).filePath(QStringLiteral("save%1.x").arg(i));
            const QFileInfo info(path);
            if (!info.exists() || info.lastModified() == m_checked[i]) {
                continue;
            }
            m_checked[i] = info.lastModified();
            rm::Ref<rm::Frame> root;
            if (g_d3drm == nullptr || rm::Failed(g_d3drm->CreateFrame(nullptr, &root)) ||
                rm::Failed(root->Load(QFile::encodeName(path).constData()))) {
                return "a saved file does not read again: " + path.toStdString();
            }
        }
        return {};
    }

    /// Undoing every step gives the bytes saved where the history began, and redoing them
    /// all gives the bytes saved now.
    std::string CheckUndoAll() {
        UndoHistory* history = m_frame->History();
        if (history == nullptr || !m_baseValid || !history->CanUndo() ||
            m_frame->Context().currentAnimation == nullptr) {
            return {};
        }
        Describe("undo-all check");
        // A save writes the frames as posed at the current time: each comparison is made at
        // the time its other side was saved at.
        const float nowTime = m_frame->Context().currentTime;
        const CAnimationData* nowAnimation = m_frame->Context().currentAnimation;
        const QByteArray now = SaveBytes(QStringLiteral("now.x"));
        int undone = 0;
        while (history->CanUndo()) {
            m_frame->OnCommand(ids::EditUndo, framework::CommandSource::Menu);
            ++undone;
        }
        if (m_frame->Context().currentAnimation != m_baseAnimation) {
            return {};
        }
        PoseAt(m_baseTime);
        const QByteArray back = SaveBytes(QStringLiteral("back.x"));
        for (int i = 0; i < undone; ++i) {
            m_frame->OnCommand(ids::EditRedo, framework::CommandSource::Menu);
        }
        if (m_frame->Context().currentAnimation != nowAnimation) {
            return {};
        }
        PoseAt(nowTime);
        const QByteArray again = SaveBytes(QStringLiteral("again.x"));
        if (back != m_base) {
            return "undoing every step does not give the file the history began with";
        }
        if (again != now) {
            return "redoing every step does not give the last file";
        }
        return {};
    }

    void PoseAt(float time) {
        m_frame->Context().currentTime = time;
        m_frame->Context().keyTime = ToKeyTime(time);
        m_frame->PoseCurrentAnimation(time);
    }

    void CollectCommands() {
        std::vector<CommandId> found;
        const std::function<void(QMenu*)> walk = [&](QMenu* menu) {
            for (QAction* action : menu->actions()) {
                if (action->menu() != nullptr) {
                    walk(action->menu());
                } else if (action->data().isValid()) {
                    found.push_back(action->data().toUInt());
                }
            }
        };
        for (QAction* action : m_frame->menuBar()->actions()) {
            if (action->menu() != nullptr) {
                walk(action->menu());
            }
        }
        for (const auto& bar :
             {resources::MainToolBar(), resources::AnimationToolBar(), resources::PartsToolBar()}) {
            for (CommandId id : bar.items) {
                if (id != 0) {
                    found.push_back(id);
                }
            }
        }
        // Exit ends the run; everything else is fair.
        found.erase(std::remove(found.begin(), found.end(), framework::ids::AppExit), found.end());
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        m_commands = found;
    }

    unsigned m_seed;
    QStringList m_files;
    QString m_scratch;
    std::mt19937 m_rng;
    RandomMessageBox m_messageBox;
    framework::ScriptedFileDialog m_fileDialog;
    framework::ScriptedDialogRunner m_dialogs;
    std::unique_ptr<CDxMFCApp> m_app;
    CMainFrame* m_frame = nullptr;
    CDxMFCView* m_view = nullptr;
    std::vector<CommandId> m_commands;
    std::string m_described;
    QByteArray m_base;
    bool m_baseValid = false;
    const CAnimationData* m_baseTooSlow = nullptr;
    const CAnimationData* m_baseAnimation = nullptr;
    float m_baseTime = 0;
    QDateTime m_checked[4];
};

// ---------------------------------------------------------------------------------------
// The driver.

/// Copies of the test data and the samples in `folder` (with the images the files name), so
/// that no save of the run can reach the originals; the .x files among them.
QStringList InputFiles(const QString& folder) {
    QStringList files;
    QDir().mkpath(folder);
    for (const char* source : {PAVRIX_TESTDATA_DIR, PAVRIX_SAMPLES_DIR}) {
        const QDir dir(QString::fromUtf8(source));
        for (const QFileInfo& info : dir.entryInfoList(QDir::Files, QDir::Name)) {
            const QString copy = QDir(folder).filePath(info.fileName());
            if (!QFile::copy(info.absoluteFilePath(), copy)) {
                continue;
            }
            QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
            const QString suffix = info.suffix().toLower();
            if (suffix == QStringLiteral("x")) {
                files << copy;
            }
        }
    }
    return files;
}

/// Runs `steps` (step numbers) from a fresh start; the first failure, or step -1.
Failure Run(unsigned seed, const std::vector<int>& steps, bool verbose) {
    QTemporaryDir scratch;
    if (qEnvironmentVariableIsSet("SOAK_KEEP")) {
        // The saves of the run stay for a look at a failure.
        scratch.setAutoRemove(false);
        std::fprintf(stderr, "soak: scratch folder %s\n", qPrintable(scratch.path()));
    }
    Soak soak(seed, InputFiles(scratch.filePath(QStringLiteral("in"))), scratch.path());
    if (!soak.Start()) {
        return {0, "the editor did not start"};
    }
    Failure failure;
    QFile stepFile(qEnvironmentVariable("SOAK_STEP_FILE"));
    for (int step : steps) {
        // The step under way, for the parent when a sanitizer ends this process.
        if (stepFile.fileName().size() > 0 && stepFile.open(QIODevice::WriteOnly)) {
            stepFile.write(QByteArray::number(step));
            stepFile.close();
        }
        failure = soak.Step(step);
        if (verbose && std::getenv("SOAK_TRACE") != nullptr) {
            std::fprintf(stderr, "soak: step %d: %s\n", step, soak.Described().c_str());
        }
        if (failure.step >= 0) {
            break;
        }
    }
    soak.Stop();
    return failure;
}

std::string Join(const std::vector<int>& steps) {
    std::string text;
    for (int step : steps) {
        text += (text.empty() ? "" : ",") + std::to_string(step);
    }
    return text;
}

/// Runs this program again as a child on `steps`; the child's exit code (non-zero: it
/// failed, or a sanitizer ended it). The step it was on is written to `stepFile`.
int RunChild(const char* self, unsigned seed, const std::vector<int>& steps,
             const QString& stepFile, bool quiet) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SOAK_SEED"), QString::number(seed));
    environment.insert(QStringLiteral("SOAK_REPLAY"), QString::fromStdString(Join(steps)));
    environment.insert(QStringLiteral("SOAK_CHILD"), QStringLiteral("1"));
    environment.insert(QStringLiteral("SOAK_STEP_FILE"), stepFile);
    child.setProcessEnvironment(environment);
    if (quiet) {
        child.setStandardOutputFile(QProcess::nullDevice());
        child.setStandardErrorFile(QProcess::nullDevice());
    } else {
        child.setProcessChannelMode(QProcess::ForwardedChannels);
    }
    child.start(QString::fromLocal8Bit(self), {});
    child.waitForFinished(-1);
    return child.exitStatus() != QProcess::NormalExit ? 128 : child.exitCode();
}

bool FailsAlone(const char* self, unsigned seed, const std::vector<int>& steps) {
    QTemporaryDir dir;
    return RunChild(self, seed, steps, dir.filePath(QStringLiteral("step")), true) != 0;
}

/// The shortest list of steps found that still fails: chunks are dropped while the rest
/// still fails, halving the chunk size down to single steps.
std::vector<int> Shrink(const char* self, unsigned seed, std::vector<int> steps) {
    int runs = 0;
    for (std::size_t chunk = std::max<std::size_t>(1, steps.size() / 2); chunk >= 1 && runs < 80;
         chunk /= 2) {
        for (std::size_t start = 0; start < steps.size() && runs < 80;) {
            std::vector<int> fewer;
            for (std::size_t i = 0; i < steps.size(); ++i) {
                if (i < start || i >= start + chunk || i + 1 == steps.size()) {
                    fewer.push_back(steps[i]);
                }
            }
            ++runs;
            if (fewer.size() < steps.size() && FailsAlone(self, seed, fewer)) {
                steps = fewer;
            } else {
                start += chunk;
            }
        }
        if (chunk == 1) {
            break;
        }
    }
    return steps;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The editor's settings and autosaves go to folders of the run's own.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    QApplication application(argc, argv);

    const char* seedText = std::getenv("SOAK_SEED");
    const char* stepsText = std::getenv("SOAK_STEPS");
    const unsigned seed = seedText != nullptr
                              ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10))
                              : 20261208u;
    const int count = stepsText != nullptr ? std::atoi(stepsText) : 2000;

    std::vector<int> steps;
    if (const char* replay = std::getenv("SOAK_REPLAY"); replay != nullptr && *replay != '\0') {
        for (const QString& part : QString::fromLatin1(replay).split(QLatin1Char(','))) {
            steps.push_back(part.toInt());
        }
    } else {
        for (int i = 0; i < count; ++i) {
            steps.push_back(i);
        }
    }

    if (qEnvironmentVariableIsSet("SOAK_CHILD")) {
        const Failure failure = Run(seed, steps, true);
        if (failure.step < 0) {
            return 0;
        }
        std::printf("soak: failure at step %d, seed %u: %s\n", failure.step, seed,
                    failure.what.c_str());
        return 1;
    }

    QTemporaryDir dir;
    const QString stepFile = dir.filePath(QStringLiteral("step"));
    if (RunChild(argv[0], seed, steps, stepFile, false) == 0) {
        std::printf("soak: %zu steps, seed %u, 0 failures\n", steps.size(), seed);
        return 0;
    }
    QFile file(stepFile);
    const int failed = file.open(QIODevice::ReadOnly) ? file.readAll().toInt() : -1;
    std::printf("soak: failed at step %d, seed %u\n", failed, seed);
    std::fflush(stdout);
    const auto end = std::find(steps.begin(), steps.end(), failed);
    if (end != steps.end() && !qEnvironmentVariableIsSet("SOAK_NO_SHRINK")) {
        const std::vector<int> shortest =
            Shrink(argv[0], seed, std::vector<int>(steps.begin(), end + 1));
        std::printf("soak: shortest replay found: SOAK_SEED=%u SOAK_REPLAY=%s\n", seed,
                    Join(shortest).c_str());
    }
    return 1;
}
