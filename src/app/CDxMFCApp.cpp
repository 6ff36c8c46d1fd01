#include "app/CDxMFCApp.h"

#include <chrono>
#include <memory>
#include <string>
#include <utility>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include "app/AnimationSetChoice.h"
#include "app/AppSettings.h"
#include "app/Autosave.h"
#include "app/BarControlIds.h"
#include "app/CDxMFCDoc.h"
#include "app/CMainFrame.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/DialogBar.h"
#include "platform/framework/Document.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/SingleDocTemplate.h"
#include "platform/framework/StandardIds.h"
#include "platform/framework/ToolBar.h"
#include "platform/framework/Translate.h"
#include "platform/framework/UiServices.h"
#include "platform/framework/View.h"
#include "resources/AboutBox.h"
#include "resources/CommandIds.h"
#include "resources/MainFrameResources.h"
#include "resources/Strings.h"
#include "session/EditContext.h"

namespace {

constexpr char kMissingRecentFileMessage[] = QT_TRANSLATE_NOOP(
    "Pavrix", "%1\nこのファイルは見つかりません。最近使ったファイルの一覧から削除しました。");
constexpr char kRecoveryQuestion[] =
    QT_TRANSLATE_NOOP("Pavrix", "前回、保存されていない作業が自動保存されています。\n\n"
                                "ファイル: %1\n自動保存の時刻: %2\n\n復元しますか？");
constexpr char kUntitled[] = QT_TRANSLATE_NOOP("Pavrix", "(無題)");

} // namespace

CDxMFCApp::CDxMFCApp(QStringList arguments, ViewFactory makeView)
    : Application(resources::AppTitle()), m_arguments(std::move(arguments)),
      m_makeView(std::move(makeView)) {
    namespace ids = framework::ids;
    MapCommand(resources::ids::AppAbout, [this] { OnAppAbout(); });
    for (const auto& [id, language] :
         {std::pair{resources::ids::ViewLanguageJapanese, AppSettings::kLanguages[0]},
          std::pair{resources::ids::ViewLanguageEnglish, AppSettings::kLanguages[1]}}) {
        const QString code = QLatin1String(language);
        MapCommand(id, [this, code] { OnChooseLanguage(code); });
        MapUpdate(id, [this, code](framework::CCmdUI& ui) { ui.SetCheck(m_language == code); });
    }
    MapCommandRange(ids::FileMruFirst, ids::FileMruLast,
                    [this](framework::CommandId id) { OnOpenRecentFile(id); });
    MapUpdateRange(ids::FileMruFirst, ids::FileMruLast,
                   [this](framework::CCmdUI& ui) { OnUpdateRecentFileMenu(ui); });
    // The scene data model's own messages (an unnamed frame, too many key times) go to
    // the application's message box like the document's.
    m_previousMessageHook = scene::SetMessageHook([](std::string_view text) {
        framework::UiServices::AppMessageBox(framework::Tr(std::string(text).c_str()),
                                             framework::MbOk);
    });
}

CDxMFCApp::~CDxMFCApp() {
    scene::SetMessageHook(std::move(m_previousMessageHook));
}

int CDxMFCApp::InitInstance() {
    m_settings = std::make_unique<AppSettings>();
    if (m_language.isEmpty() || !framework::SetTextLanguage(m_language)) {
        m_language = m_settings->Language();
        if (!framework::SetTextLanguage(m_language)) {
            m_language = QLatin1String(framework::kSourceLanguage);
            framework::SetTextLanguage(m_language);
        }
    }
    m_autosave =
        std::make_unique<Autosave>(Autosave::DefaultFolder(), m_settings->AutosaveIntervalSeconds(),
                                   QCoreApplication::applicationPid());
    m_recentFiles.SetPaths(m_settings->RecentFiles());
    framework::FileDialog::SetLastFolder(m_settings->LastFolder());
    AddDocTemplate(std::make_unique<framework::SingleDocTemplate>(
        resources::MainFrameResources(), [] { return std::make_unique<CDxMFCDoc>(); },
        [] { return new CMainFrame; }, m_makeView));
    if (!ProcessShellCommand(m_arguments)) {
        return 0;
    }
    framework::FrameWindow* frame = GetMainWnd();
    if (frame == nullptr) {
        return 0;
    }
    // The file's name once one is open; "[*]" is where the unsaved-changes mark goes.
    framework::Document* document = frame->GetActiveDocument();
    if (document != nullptr && !document->GetPathName().isEmpty()) {
        frame->OnUpdateFrameTitle();
    } else {
        frame->setWindowTitle(resources::AppTitle() + QStringLiteral("[*]"));
    }
    m_recentFiles.UpdateMenu(*frame);
    ApplyUndoLimits();
    RestoreWindow();
    frame->show();
    frame->update();
    OfferRecovery();
    return 1;
}

void CDxMFCApp::OfferRecovery() {
    CMainFrame* frame = GetMainFrame();
    framework::Document* document = frame != nullptr ? frame->GetActiveDocument() : nullptr;
    if (document == nullptr) {
        return;
    }
    for (const Autosave::Orphan& orphan : m_autosave->FindOrphans()) {
        const QString name =
            orphan.originalPath.isEmpty() ? framework::Tr(kUntitled) : orphan.originalPath;
        const QString text =
            framework::Tr(kRecoveryQuestion)
                .arg(name, orphan.time.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
        if (framework::UiServices::AppMessageBox(
                text, framework::MbYesNo | framework::MbIconQuestion) != framework::IdYes) {
            Autosave::Remove(orphan);
            continue;
        }
        if (!m_autosave->Adopt(orphan)) {
            continue;
        }
        // Opened as File Open does, but as the user's file: a save writes over it, and
        // until then the document has unsaved changes.
        document->SetModifiedFlag(0);
        if (!document->OnOpenDocument(m_autosave->FileName())) {
            document->OnOpenDocumentFailed(0);
            return;
        }
        if (!orphan.originalPath.isEmpty()) {
            document->SetPathName(orphan.originalPath, 0);
        }
        for (framework::View* view : document->GetViews()) {
            view->OnInitialUpdate();
        }
        frame->ClearHistory(DocumentState::Modified);
        document->SetModifiedFlag(1);
        frame->OnUpdateFrameTitle();
        return;
    }
}

bool CDxMFCApp::PollAutosave(double now) {
    CMainFrame* frame = GetMainFrame();
    framework::Document* document = frame != nullptr ? frame->GetActiveDocument() : nullptr;
    if (m_autosave == nullptr || document == nullptr) {
        return false;
    }
    Autosave::Moment moment;
    moment.modified = document->IsModified() != 0 && frame->Context().currentAnimation != nullptr &&
                      frame->Context().currentModel != nullptr;
    // Between edits only: a write never holds up playback or a drag.
    moment.busy = frame->Context().playState != session::PlayState::Stopped ||
                  QGuiApplication::mouseButtons() != Qt::NoButton;
    return m_autosave->Poll(
        now, moment, [frame] { return frame->MakeSceneDocument(); }, document->GetPathName());
}

void CDxMFCApp::RestoreWindow() {
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr) {
        return;
    }
    // Room for the whole control panel and a usable view; the window manager may shrink it.
    if (!frame->restoreGeometry(m_settings->WindowGeometry())) {
        frame->resize(frame->sizeHint().expandedTo(QSize(960, 720)));
    }
    frame->restoreState(m_settings->BarState());
    // The operation mode starts as Animation whatever the bars were at the end: its tool
    // bar shows and the parts tool bar does not.
    frame->ShowControlBar(frame->GetAnimationToolBar(), 1);
    frame->ShowControlBar(frame->GetPartsToolBar(), 0);
    const int speed = m_settings->PlaySpeedIndex();
    if (framework::DialogBar* bar = frame->GetAnimationBar(); bar != nullptr && speed >= 0) {
        if (bar->Controls().SetCurSel(ctl::PlaySpeed, speed) == speed) {
            frame->RouteCommand(ctl::PlaySpeed, framework::Notification::SelChange);
        }
    }
}

void CDxMFCApp::ApplyUndoLimits() {
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr) {
        return;
    }
    const int steps = m_settings->UndoStepLimit();
    const int budgetMiB = m_settings->UndoBudgetMiB();
    frame->History()->SetLimits(steps > 0 ? steps : UndoHistory::kDefaultStepLimit,
                                budgetMiB > 0 ? std::size_t(budgetMiB) << 20
                                              : UndoHistory::kDefaultByteLimit);
    m_settings->SetUndoLimitsIfMissing(UndoHistory::kDefaultStepLimit,
                                       int(UndoHistory::kDefaultByteLimit >> 20));
}

void CDxMFCApp::SaveSettings() {
    if (m_settings == nullptr) {
        return;
    }
    if (CMainFrame* frame = GetMainFrame()) {
        m_settings->SetWindowGeometry(frame->saveGeometry());
        m_settings->SetBarState(frame->saveState());
        // A file's own tick rate is no choice to carry over to the next run.
        if (framework::DialogBar* bar = frame->GetAnimationBar()) {
            if (const int speed = bar->Controls().GetCurSel(ctl::PlaySpeed);
                speed < AnimationSetChoice::kFixedSpeedCount) {
                m_settings->SetPlaySpeedIndex(speed);
            }
        }
    }
    m_settings->SetLastFolder(framework::FileDialog::LastFolder());
    m_settings->SetRecentFiles(m_recentFiles.Paths());
    m_settings->Sync();
}

int CDxMFCApp::ExitInstance() {
    SaveSettings();
    // A normal end: the document was saved or its changes given up on purpose.
    if (m_autosave != nullptr) {
        m_autosave->Discard();
    }
    return Application::ExitInstance();
}

void CDxMFCApp::AddToRecentFileList(const QString& path) {
    m_recentFiles.Add(path);
    OnRecentFilesChanged();
}

void CDxMFCApp::OnRecentFilesChanged() {
    // At start-up the frame is not the main window yet; start-up updates the menu then.
    if (framework::FrameWindow* frame = GetMainWnd()) {
        m_recentFiles.UpdateMenu(*frame);
    }
    // Kept at once: another run started meanwhile sees the list as it is now.
    if (m_settings != nullptr) {
        m_settings->SetRecentFiles(m_recentFiles.Paths());
        m_settings->Sync();
    }
}

void CDxMFCApp::OnOpenRecentFile(framework::CommandId id) {
    const int index = static_cast<int>(id - framework::ids::FileMruFirst);
    if (index < 0 || index >= m_recentFiles.Count()) {
        return;
    }
    const QString path = m_recentFiles.Paths()[index];
    if (QFileInfo(path).isFile()) {
        OpenDocumentFile(path);
        return;
    }
    m_recentFiles.Remove(index);
    OnRecentFilesChanged();
    framework::UiServices::AppMessageBox(
        framework::Tr(kMissingRecentFileMessage).arg(QDir::toNativeSeparators(path)),
        framework::MbOk | framework::MbIconInformation);
}

void CDxMFCApp::OnUpdateRecentFileMenu(framework::CCmdUI& ui) {
    ui.Enable(static_cast<int>(ui.GetId() - framework::ids::FileMruFirst) < m_recentFiles.Count());
}

double CDxMFCApp::CommandStateNow() const {
    if (m_commandStateClock) {
        return m_commandStateClock();
    }
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(since).count();
}

int CDxMFCApp::Run() {
    if (GetMainWnd() == nullptr) {
        PostQuitMessage(0);
    }
    for (long pass = 1;; ++pass) {
        // Command-state updates (idle count 0) at a steady rate: the held step buttons act
        // in them, and the loop's own speed must not set how fast they step.
        if (m_commandStatePacer.Due(CommandStateNow())) {
            TakeIdleRequest();
            for (long count = 0; OnIdle(count); ++count) {
            }
        }
        if (!PumpWaitingMessages()) {
            return ExitInstance();
        }
        if (CMainFrame* frame = GetMainFrame()) {
            frame->Tick();
        }
        PollAutosave(CommandStateNow());
        if (m_passHook) {
            m_passHook(pass);
        }
    }
}

CMainFrame* CDxMFCApp::GetMainFrame() const {
    return dynamic_cast<CMainFrame*>(GetMainWnd());
}

void CDxMFCApp::OnChooseLanguage(const QString& language) {
    if (m_settings == nullptr || language == m_language) {
        return;
    }
    // The message is in the chosen language; the running interface keeps its own.
    const QString running = framework::TextLanguage();
    if (!framework::SetTextLanguage(language)) {
        return;
    }
    //: Shown in the language just chosen: each translation names its own language.
    const QString text = QCoreApplication::translate(
        "Pavrix", "画面の言語は、次に Pavrix を起動したときから日本語になります。");
    framework::SetTextLanguage(running);
    m_language = language;
    m_settings->SetLanguage(language);
    m_settings->Sync();
    framework::UiServices::AppMessageBox(text, framework::MbIconInformation);
}

void CDxMFCApp::OnAppAbout() {
    std::unique_ptr<framework::Dialog> about = resources::CreateAboutBox(GetMainWnd());
    about->DoModal();
}
