#include "app/CMainFrame.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QResizeEvent>
#include <QUrl>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <new>
#include <thread>

#include "app/AnimationSetChoice.h"
#include "app/BarControlIds.h"
#include "app/BarTemplates.h"
#include "app/CDxMFCDoc.h"
#include "app/IRenderView.h"
#include "app/ProgramState.h"
#include "platform/framework/DialogBar.h"
#include "platform/framework/Document.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/ToolBar.h"
#include "platform/framework/TrackBar.h"
#include "platform/framework/View.h"
#include "platform/rm/DebugOutput.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Mesh.h"
#include "render/Direct3R.h"
#include "resources/CommandIds.h"
#include "resources/ToolBars.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/DocumentOpen.h"

namespace {

using framework::CCmdUI;
using framework::Notification;
namespace ids = resources::ids;

constexpr char kNoRetainedModeMessage[] =
    "Direct3DRM3 の初期化に失敗しました。\nPavrix の実行には、DirectX6 が必要です。";
constexpr char kChangeKeyLengthQuestion[] = "キーの範囲を %d から %d へ変更しますか？";
constexpr char kChangeKeyLengthCaption[] = "Change Key Frame Length";
constexpr char kManualFile[] = "Manual.htm";
/// The largest key length taken from the Length edit: beyond 2^24 a 32-bit float no
/// longer holds every whole key time.
constexpr unsigned kLongestKeyLength = 16777216;

// Key times are whole numbers kept as unsigned; truncating through a 64-bit integer keeps
// the conversion defined for negative and very large times.
unsigned ToKeyTime(float time) {
    if (!(std::fabs(time) < 9.0e18f))
        return 0;
    return static_cast<unsigned>(static_cast<std::int64_t>(time));
}

// Library entries are named after file paths; the bars show the file name only.
QString FileNamePart(const char* path) {
    const QString name = QString::fromLocal8Bit(path);
    const qsizetype cut =
        std::max(name.lastIndexOf(QLatin1Char('\\')), name.lastIndexOf(QLatin1Char('/')));
    return name.mid(cut + 1);
}

float FirstKeyTime(const CAnimationData* animation) {
    return animation != nullptr ? animation->KeyTime(0) : 0.0f;
}

float LastKeyTime(const CAnimationData* animation) {
    if (animation == nullptr || animation->KeyTimeCount() == 0)
        return 0.0f;
    return animation->KeyTime(static_cast<int>(animation->KeyTimeCount()) - 1);
}

int ToSliderPosition(float time) {
    if (!(std::fabs(time) < 2.0e9f))
        return 0;
    return static_cast<int>(time);
}

/// Whether play-all advances `animation`: the sets of a character all drive its model, so
/// only its current one plays; a set no character holds plays as well.
bool IsPlayedInPlayAll(const CAnimationData* animation) {
    if (g_libraries == nullptr)
        return true;
    for (auto* entry = g_libraries->Characters().Head(); entry != nullptr; entry = entry->Next()) {
        const CCharacterData& character = entry->Payload();
        const auto sets = character.Animations();
        if (std::find(sets.begin(), sets.end(), animation) != sets.end())
            return character.m_current == animation;
    }
    return true;
}

/// Sets the set's time, poses every part it drives and lets the bound model's skin follow
/// the new pose.
void Pose(CAnimationData* animation, float time) {
    if (animation == nullptr || animation->Set() == nullptr)
        return;
    animation->m_time = time;
    animation->Set()->SetTime(time);
    if (CModelData* model = animation->Model())
        model->UpdateSkin();
}

/// The local files of a drag, in the order the desktop lists them.
QStringList LocalFiles(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile());
    return paths;
}

} // namespace

CMainFrame::CMainFrame() {
    m_clockOrigin = Now();
    ResetProgramState();
    m_playSpeed = 0.5f;
    m_hasCopiedKey = 0;
    m_copiedKeyTime = 0;
    m_copiedKeyAnimation = nullptr;
    // The smallest size the user can drag the window to.
    setMinimumSize(320, 240);

    MapCommand(ids::ZBufferOn, &CMainFrame::OnZBufferOn);
    MapCommand(ids::ZBufferOff, &CMainFrame::OnZBufferOff);
    MapUpdate(ids::ZBufferOn, &CMainFrame::OnUpdateZBufferOn);
    MapUpdate(ids::ZBufferOff, &CMainFrame::OnUpdateZBufferOff);

    MapCommand(ctl::ParentChild, [this] { SetOperationMode(0); });
    MapCommand(ctl::Animation, [this] { SetOperationMode(1); });
    MapNotify(ctl::CameraView, Notification::SelEndOk, &CMainFrame::ApplyCameraView);
    MapCommand(ctl::Center, &CMainFrame::OnCenter);
    MapCommand(ctl::MoveModel, [] { g_mouseFunction = 0; });
    MapCommand(ctl::MovePart, [] { g_mouseFunction = 1; });
    MapCommand(ctl::Rotate, [] { g_mouseFunction = 2; });
    MapCommand(ctl::Zoom, [] { g_mouseFunction = 3; });
    for (int id : {ctl::AxisX, ctl::AxisY, ctl::AxisZ, ctl::AxisNegative})
        MapCommand(static_cast<framework::CommandId>(id), [this, id] { OnAxisButton(id); });
    MapNotify(ctl::PlaySpeed, Notification::SelChange, [this] {
        framework::DialogControls& bar = m_animationBar->Controls();
        m_playSpeed = AnimationSetChoice::SpeedAt(bar, ctl::PlaySpeed,
                                                  bar.GetCurSel(ctl::PlaySpeed), m_playSpeed);
    });
    MapNotify(ctl::AnimationName, Notification::SelChange, [this] {
        SelectAnimationSet(m_controlPanel->Controls().GetCurSel(ctl::AnimationName));
    });
    MapCommand(ids::StopAnimation, &CMainFrame::StopPlayback);
    MapCommand(ids::PlayAnimation, &CMainFrame::OnPlay);
    MapCommand(ids::AnimationPlayAll, &CMainFrame::OnPlayAll);
    MapUpdate(ids::PlayAnimation, &CMainFrame::OnUpdatePlayState);
    MapUpdate(ids::AnimationPlayAll, &CMainFrame::OnUpdatePlayState);
    // The step buttons act in their update rules while held down; the empty handlers keep
    // the buttons enabled.
    MapCommand(ids::AnimationForwardStep, [] {});
    MapCommand(ids::AnimationBackStep, [] {});
    MapUpdate(ids::AnimationForwardStep, &CMainFrame::OnUpdateForwardStep);
    MapUpdate(ids::AnimationBackStep, &CMainFrame::OnUpdateBackStep);
    MapCommand(ids::KeyFrameLeft, &CMainFrame::OnPreviousKey);
    MapCommand(ids::KeyFrameRight, &CMainFrame::OnNextKey);
    MapCommand(ids::AnimationFirst, &CMainFrame::OnFirstKey);
    MapCommand(ids::AnimationLast, &CMainFrame::OnLastKey);
    MapNotify(ctl::TimeSlider, Notification::ReleasedCapture, &CMainFrame::OnTimeSliderReleased);
    MapCommand(ctl::ChangeLength, &CMainFrame::OnChangeKeyLength);
    MapCommand(ids::Manual, &CMainFrame::OnManual);

    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(
            application, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) { OnActivateApp(state == Qt::ApplicationActive); });
}

CMainFrame::~CMainFrame() {
    // The view gives its device back to m_parentD3R and lets go of its camera frames under
    // the scene root, so it goes while both still exist.
    delete takeCentralWidget();
    SetActiveView(nullptr);
    ReleaseScene();
    for (framework::ControlBar* bar : {static_cast<framework::ControlBar*>(m_mainToolBar),
                                       static_cast<framework::ControlBar*>(m_animationToolBar),
                                       static_cast<framework::ControlBar*>(m_partsToolBar),
                                       static_cast<framework::ControlBar*>(m_controlPanel),
                                       static_cast<framework::ControlBar*>(m_animationBar)})
        delete bar;
}

void CMainFrame::ReleaseScene() {
    if (m_libraries != nullptr) {
        // Characters, then animation sets, then models: the store's own order.
        m_libraries.reset();
        g_libraries = nullptr;
        g_modelLibrary = nullptr;
        g_animationLibrary = nullptr;
    }
    rm::OutputDebugStringA("Release D3DRM frame\n");
    g_sceneFrame = nullptr;
    m_scene.sceneFrame = nullptr;
    g_gridFrame = nullptr;
    m_scene.gridFrame = nullptr;
    g_sceneRoot = nullptr;
    m_scene.sceneRoot = nullptr;
    g_currentAnimation = nullptr;
    g_currentModel = nullptr;
    g_currentCharacter = nullptr;
    g_selectedPart = nullptr;
    g_selectionBox = nullptr;
    g_selectedMesh = nullptr;
    g_selectedMeshBuilder = nullptr;
    if (g_d3drm == m_parentD3R.D3DRM())
        g_d3drm = nullptr;
}

int CMainFrame::OnCreate(framework::CreateContext& context) {
    if (m_parentD3R.D3DRM() == nullptr) {
        MessageBox(QString::fromUtf8(kNoRetainedModeMessage), QStringLiteral("Pavrix"),
                   framework::MbIconInformation);
        return -1;
    }
    if (FrameWindow::OnCreate(context) == -1)
        return -1;
    if (!CreateBars())
        return -1;

    // Tool tips come with the buttons; the bars are laid out by the window.
    m_mainToolBar->EnableDocking(Qt::AllToolBarAreas);
    DockControlBar(m_mainToolBar, Qt::TopToolBarArea);
    m_partsToolBar->EnableDocking(Qt::AllToolBarAreas);
    DockControlBar(m_partsToolBar, Qt::BottomToolBarArea);
    ShowControlBar(m_partsToolBar, 0);
    m_animationToolBar->EnableDocking(Qt::AllToolBarAreas);
    DockControlBar(m_animationToolBar, Qt::BottomToolBarArea);
    // The animation bar is not a docking bar: it keeps the outer edge, below the tool bars
    // docked at the bottom. (The bottom area's first line is its outermost one.)
    for (framework::ControlBar* bar : {static_cast<framework::ControlBar*>(m_animationBar),
                                       static_cast<framework::ControlBar*>(m_partsToolBar),
                                       static_cast<framework::ControlBar*>(m_animationToolBar)})
        removeToolBar(bar);
    addToolBar(Qt::BottomToolBarArea, m_animationBar);
    addToolBarBreak(Qt::BottomToolBarArea);
    addToolBar(Qt::BottomToolBarArea, m_partsToolBar);
    addToolBarBreak(Qt::BottomToolBarArea);
    addToolBar(Qt::BottomToolBarArea, m_animationToolBar);
    ShowControlBar(m_animationBar, 1);
    ShowControlBar(m_animationToolBar, 1);

    using Style = framework::ToolBar::ButtonStyle;
    m_animationToolBar->SetButtonStyle(m_animationToolBar->CommandToIndex(ids::PlayAnimation),
                                       Style::CheckBox);
    m_animationToolBar->SetButtonStyle(m_animationToolBar->CommandToIndex(ids::AnimationPlayAll),
                                       Style::CheckBox);

    framework::DialogControls& panel = m_controlPanel->Controls();
    panel.SetCurSel(ctl::CameraView, 0);
    panel.CheckDlgButton(ctl::Animation, 1);
    panel.CheckDlgButton(ctl::Rotate, 1);
    panel.CheckDlgButton(ctl::AxisX, g_axisX);
    panel.CheckDlgButton(ctl::AxisY, g_axisY);
    panel.CheckDlgButton(ctl::AxisZ, g_axisZ);

    m_animationBar->Controls().SetCurSel(ctl::PlaySpeed, AnimationSetChoice::kStartSpeedIndex);
    ResetAnimationBar();

    setAcceptDrops(true);
    return 0;
}

int CMainFrame::CreateBars() {
    const auto makeToolBar = [this](framework::ToolBar** bar,
                                    const framework::ToolBarResource& resource) {
        *bar = new framework::ToolBar(this);
        return (*bar)->Create() && (*bar)->LoadToolBar(resource);
    };
    if (!makeToolBar(&m_mainToolBar, resources::MainToolBar()) ||
        !makeToolBar(&m_partsToolBar, resources::PartsToolBar()) ||
        !makeToolBar(&m_animationToolBar, resources::AnimationToolBar()))
        return 0;
    m_controlPanel = new framework::DialogBar(this);
    if (!m_controlPanel->Create(ControlPanelTemplate(), Qt::LeftToolBarArea))
        return 0;
    m_animationBar = new framework::DialogBar(this);
    if (!m_animationBar->Create(AnimationBarTemplate(), Qt::BottomToolBarArea))
        return 0;
    // Only the time slider stretches with the bar (see StretchTimeSlider).
    QWidget* panel = m_animationBar->GetPanel();
    panel->setMinimumWidth(0);
    panel->setMaximumWidth(QWIDGETSIZE_MAX);
    panel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The bar settles its width after the frame's own resize: follow the panel itself.
    panel->installEventFilter(this);
    return 1;
}

int CMainFrame::OnCreateClient(framework::CreateContext& context) {
    if (!CreateSceneFrames())
        return 0;
    return FrameWindow::OnCreateClient(context);
}

int CMainFrame::CreateSceneFrames() {
    g_d3drm = m_parentD3R.D3DRM();
    try {
        m_libraries =
            std::make_unique<CObjectStore>(&g_sceneModelLibrary, &g_sceneAnimationLibrary);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    g_libraries = m_libraries.get();
    g_modelLibrary = &m_libraries->Models();
    g_animationLibrary = &m_libraries->Animations();

    if (!render::SceneSetup::CreateSceneFrames(g_d3drm, render::kAppWorkspaceColor,
                                               render::kInactiveBorderColor, &m_scene))
        return 0;
    g_sceneRoot = m_scene.sceneRoot.Get();
    g_sceneFrame = m_scene.sceneFrame.Get();
    g_gridFrame = m_scene.gridFrame.Get();
    return 1;
}

int CMainFrame::BuildGrid() {
    const int built = render::SceneSetup::BuildGrid(
        m_parentD3R.D3DRM(), render::kInactiveBorderColor, &m_scene.gridFrame);
    g_gridFrame = m_scene.gridFrame.Get();
    return built;
}

IRenderView* CMainFrame::GetRenderView() const {
    return dynamic_cast<IRenderView*>(GetActiveView());
}

// ---------------------------------------------------------------------------------------
// The tick.

double CMainFrame::Now() const {
    if (m_clock)
        return m_clock();
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(since).count() - m_clockOrigin;
}

void CMainFrame::SetTickServices(Clock clock, Sleep sleep) {
    m_clock = std::move(clock);
    m_sleep = std::move(sleep);
    if (!m_clock) {
        m_clockOrigin = 0;
        m_clockOrigin = Now();
    }
    m_previousTick = 0;
    m_lastFpsCount = 0;
    m_ticksSinceCount = 0;
}

int CMainFrame::Tick() {
    // Times stay in double precision: float seconds would quantise the frame step once the
    // program has run for a few hours.
    const double countTime = Now();
    ++m_ticksSinceCount;
    if (m_lastFpsCount + 1.0 <= countTime) {
        m_lastFpsCount = countTime;
        g_fps = m_ticksSinceCount;
        m_ticksSinceCount = 0;
    }

    const double now = Now();
    const double elapsed = now - m_previousTick;
    m_previousTick = now;
    g_frameStep = static_cast<float>(elapsed * 60.0);
    if (g_sceneRoot != nullptr)
        g_sceneRoot->Move(g_frameStep);

    if (g_playState == 2) {
        PlayAllStep(g_frameStep);
    } else if (g_playState == 1 && g_currentAnimation != nullptr) {
        float time = g_frameStep * m_playSpeed + g_currentTime;
        if (time > LastKeyTime(g_currentAnimation))
            time = FirstKeyTime(g_currentAnimation);
        g_currentTime = time;
        PoseCurrentAnimation(time);
        RefreshTimeDisplay();
    }

    // A held step button steps on every command-state update, and those run only on
    // passes after an event: a queued call is such an event, so the steps go on while
    // the mouse rests on the button.
    if (m_animationToolBar != nullptr &&
        (m_animationToolBar->IsButtonPressed(ids::AnimationForwardStep) ||
         m_animationToolBar->IsButtonPressed(ids::AnimationBackStep)))
        QMetaObject::invokeMethod(
            this, [] {}, Qt::QueuedConnection);

    const int redraw = g_redrawRequest;
    IRenderView* view = GetRenderView();
    if (view != nullptr)
        view->Render();

    int pause = 0;
    if (!redraw)
        pause = 10;
    else if (view != nullptr && view->GetDevice() != nullptr && !view->GetDevice()->IsActive())
        pause = 5;
    if (pause > 0) {
        if (m_sleep)
            m_sleep(pause);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    }
    return 1;
}

// ---------------------------------------------------------------------------------------
// The animation bar.

void CMainFrame::StopPlayback() {
    if (m_animationToolBar != nullptr) {
        m_animationToolBar->CheckButton(ids::PlayAnimation, 0);
        m_animationToolBar->CheckButton(ids::AnimationPlayAll, 0);
    }
    g_keyTime = ToKeyTime(g_currentTime);
    g_playState = 0;
    g_currentTime = static_cast<float>(g_keyTime);
    RefreshTimeDisplay();
}

void CMainFrame::PoseCurrentAnimation(float time) {
    Pose(g_currentAnimation, time);
}

void CMainFrame::RecomputeKeyIndex() {
    // The last key time at or before the current time; before the first key time the
    // index stays as it was.
    const unsigned previous = g_keyIndex;
    const unsigned count = g_currentAnimation->KeyTimeCount();
    for (unsigned i = 0; i < count; ++i) {
        if (g_currentAnimation->KeyTime(static_cast<int>(i)) > g_currentTime)
            break;
        g_keyIndex = i;
    }
    if (g_keyIndex != previous)
        g_keyTime = ToKeyTime(g_currentTime);
}

void CMainFrame::RefreshTimeDisplay() {
    if (g_currentAnimation == nullptr || m_animationBar == nullptr)
        return;
    g_redrawRequest = 1;
    framework::DialogControls& bar = m_animationBar->Controls();
    bar.SetDlgItemText(ctl::Time, QString::asprintf("%.2f", g_currentTime));
    if (auto* slider = qobject_cast<framework::TrackBar*>(bar.GetDlgItem(ctl::TimeSlider))) {
        slider->setValue(ToSliderPosition(g_currentTime));
        RecomputeKeyIndex();
    }
    bar.SetDlgItemText(ctl::KeyNo, QString::number(static_cast<int>(g_keyIndex)));
    UpdateKeyLength(0);
}

void CMainFrame::ShowKeyLength(unsigned length) {
    m_animationBar->Controls().SetDlgItemText(
        ctl::Length,
        length == 0 ? QStringLiteral("Last") : QString::number(static_cast<int>(length)));
}

int CMainFrame::UpdateKeyLength(int apply) {
    if (g_currentAnimation == nullptr || m_animationBar == nullptr)
        return 0;
    unsigned length = 0;
    if (g_keyIndex + 1 < g_currentAnimation->KeyTimeCount())
        length =
            ToKeyTime(g_currentAnimation->KeyTime(static_cast<int>(g_keyIndex + 1))) - g_keyTime;
    if (!apply || length == 0) {
        ShowKeyLength(length);
        return 1;
    }

    bool ok = false;
    const qulonglong typed =
        m_animationBar->Controls().GetDlgItemText(ctl::Length).trimmed().toULongLong(&ok);
    const unsigned newLength = ok && typed <= kLongestKeyLength ? static_cast<unsigned>(typed) : 0;
    if (newLength == length || newLength == 0) {
        ShowKeyLength(length);
        return 1;
    }
    const QString question = QString::asprintf(kChangeKeyLengthQuestion, static_cast<int>(length),
                                               static_cast<int>(newLength));
    if (MessageBox(question, QString::fromUtf8(kChangeKeyLengthCaption),
                   framework::MbYesNo | framework::MbIconQuestion) != framework::IdYes) {
        ShowKeyLength(length);
        return 1;
    }
    g_currentAnimation->SetKeyInterval(static_cast<int>(g_keyIndex), static_cast<float>(newLength));
    ShowKeyLength(newLength);
    RefreshKeyRange(1);
    // The keys moved: quitting must ask before this edit is lost.
    MarkDocumentModified();
    return 1;
}

int CMainFrame::RefreshKeyRange(int rebuild) {
    if (g_currentAnimation == nullptr || m_animationBar == nullptr || m_controlPanel == nullptr)
        return 0;
    if (rebuild)
        g_currentAnimation->UpdateTotalKeyTimeBuffer();
    const float first = FirstKeyTime(g_currentAnimation);
    const float last = LastKeyTime(g_currentAnimation);
    framework::DialogControls& bar = m_animationBar->Controls();
    bar.SetDlgItemText(ctl::Min, QString::asprintf("%.2f", first));
    bar.SetDlgItemText(ctl::Max, QString::asprintf("%.2f", last));

    // The document is named after the file the character's sets came from, which the
    // library entry of its first set names.
    const CAnimationData* named = g_currentAnimation;
    if (g_currentCharacter != nullptr && !g_currentCharacter->Animations().empty())
        named = g_currentCharacter->Animations().front();
    if (g_animationLibrary != nullptr)
        if (const auto* entry = g_animationLibrary->Entries().FindEntry(named);
            entry != nullptr && entry->Name() != nullptr) {
            // The file name alone would send the next Save to the working directory, and
            // taking the name again on every refresh would send it back to the opened file
            // after a Save As: the document follows only when another character's sets
            // became current.
            framework::Document* document = GetActiveDocument();
            if (document != nullptr &&
                (m_pathNameAnimation != named || m_pathNameEntry != entry->Name())) {
                document->SetPathName(QFile::decodeName(entry->Name()), 1);
                m_pathNameAnimation = named;
                m_pathNameEntry = entry->Name();
            }
        }
    AnimationSetChoice::ShowSets(m_controlPanel->Controls(), ctl::AnimationName, g_currentCharacter,
                                 g_currentAnimation);

    QString modelName = QStringLiteral("non");
    if (g_currentModel != nullptr && g_modelLibrary != nullptr)
        if (const auto* entry = g_modelLibrary->Entries().FindEntry(g_currentModel);
            entry != nullptr && entry->Name() != nullptr)
            modelName = FileNamePart(entry->Name());
    m_controlPanel->Controls().SetDlgItemText(ctl::ModelName, modelName);

    if (auto* slider = qobject_cast<framework::TrackBar*>(bar.GetDlgItem(ctl::TimeSlider))) {
        slider->ClearTics();
        slider->setRange(ToSliderPosition(first), ToSliderPosition(last));
        slider->SetTicFreq(1);
        const unsigned count = g_currentAnimation->KeyTimeCount();
        for (unsigned i = 0; i < count; ++i)
            slider->SetTic(ToSliderPosition(g_currentAnimation->KeyTime(static_cast<int>(i))));
    }
    return 1;
}

int CMainFrame::SelectAnimationSet(int index) {
    if (g_currentCharacter == nullptr || index < 0 ||
        index >= static_cast<int>(g_currentCharacter->Animations().size()))
        return 0;
    if (g_currentCharacter->Animations()[std::size_t(index)] == g_currentAnimation)
        return 1;
    StopPlayback();
    if (!g_currentCharacter->SelectAnimation(index))
        return 0;
    g_currentAnimation = g_currentCharacter->m_current;
    RefreshKeyRange(1);
    g_keyIndex = 0;
    g_currentTime = FirstKeyTime(g_currentAnimation);
    g_keyTime = ToKeyTime(g_currentTime);
    PoseCurrentAnimation(g_currentTime);
    RefreshTimeDisplay();
    return 1;
}

void CMainFrame::OfferTickRate(std::uint32_t ticksPerSecond) {
    if (m_animationBar != nullptr)
        m_playSpeed = AnimationSetChoice::OfferTickRate(m_animationBar->Controls(), ctl::PlaySpeed,
                                                        ticksPerSecond);
}

int CMainFrame::ResetAnimationBar() {
    RefreshTimeDisplay();
    if (g_currentAnimation != nullptr) {
        RefreshKeyRange(1);
        return 1;
    }
    if (m_animationBar == nullptr)
        return 1;
    framework::DialogControls& bar = m_animationBar->Controls();
    bar.SetDlgItemText(ctl::Min, QString::asprintf("%.2f", 0.0));
    bar.SetDlgItemText(ctl::Max, QString::asprintf("%.2f", 0.0));
    bar.SetDlgItemText(ctl::Length, QStringLiteral("Non"));
    if (auto* slider = qobject_cast<framework::TrackBar*>(bar.GetDlgItem(ctl::TimeSlider))) {
        slider->ClearTics();
        slider->setRange(0, 1);
        slider->SetTicFreq(1);
    }
    return 1;
}

// ---------------------------------------------------------------------------------------
// Playback commands.

void CMainFrame::OnPlay() {
    if (g_playState > 0) {
        StopPlayback();
        return;
    }
    g_playState = 1;
    RefreshTimeDisplay();
}

void CMainFrame::OnPlayAll() {
    if (g_playState > 0) {
        StopPlayback();
        return;
    }
    g_playState = 2;
    RefreshTimeDisplay();
}

void CMainFrame::OnUpdatePlayState(CCmdUI&) {
    // The tool bar toggles the two check boxes itself; the play state follows them.
    if (m_animationToolBar == nullptr)
        return;
    if (m_animationToolBar->IsButtonChecked(ids::AnimationPlayAll))
        g_playState = 2;
    else if (m_animationToolBar->IsButtonChecked(ids::PlayAnimation))
        g_playState = 1;
    else
        g_playState = 0;
}

void CMainFrame::OnUpdateForwardStep(CCmdUI&) {
    if (m_animationToolBar == nullptr ||
        !m_animationToolBar->IsButtonPressed(ids::AnimationForwardStep) ||
        g_currentAnimation == nullptr)
        return;
    float time = g_currentTime + m_playSpeed;
    if (time > LastKeyTime(g_currentAnimation))
        time = FirstKeyTime(g_currentAnimation);
    g_currentTime = time;
    PoseCurrentAnimation(time);
    g_keyTime = ToKeyTime(time);
    RefreshTimeDisplay();
}

void CMainFrame::OnUpdateBackStep(CCmdUI&) {
    if (m_animationToolBar == nullptr ||
        !m_animationToolBar->IsButtonPressed(ids::AnimationBackStep) ||
        g_currentAnimation == nullptr)
        return;
    float time = g_currentTime - m_playSpeed;
    if (time < FirstKeyTime(g_currentAnimation))
        time = LastKeyTime(g_currentAnimation);
    g_currentTime = time;
    PoseCurrentAnimation(time);
    g_keyTime = ToKeyTime(time);
    RefreshTimeDisplay();
}

void CMainFrame::GoToKeyIndex() {
    const unsigned time = ToKeyTime(g_currentAnimation->KeyTime(static_cast<int>(g_keyIndex)));
    g_keyTime = time;
    g_currentTime = static_cast<float>(time);
    PoseCurrentAnimation(g_currentTime);
    RefreshTimeDisplay();
}

void CMainFrame::OnPreviousKey() {
    if (g_currentAnimation == nullptr)
        return;
    // On the current key itself the previous one is meant; between keys, the current one.
    if (static_cast<float>(g_keyTime) == g_currentTime && g_keyIndex > 0)
        --g_keyIndex;
    GoToKeyIndex();
}

void CMainFrame::OnNextKey() {
    if (g_currentAnimation == nullptr)
        return;
    if (g_keyIndex + 1 < g_currentAnimation->KeyTimeCount())
        ++g_keyIndex;
    GoToKeyIndex();
}

void CMainFrame::OnFirstKey() {
    if (g_currentAnimation == nullptr)
        return;
    g_currentTime = FirstKeyTime(g_currentAnimation);
    PoseCurrentAnimation(g_currentTime);
    g_keyTime = ToKeyTime(g_currentTime);
    RefreshTimeDisplay();
}

void CMainFrame::OnLastKey() {
    if (g_currentAnimation == nullptr)
        return;
    g_currentTime = LastKeyTime(g_currentAnimation);
    PoseCurrentAnimation(g_currentTime);
    g_keyTime = ToKeyTime(g_currentTime);
    RefreshTimeDisplay();
}

void CMainFrame::OnTimeSliderReleased() {
    // Dragging only moves the knob; the time jumps when the mouse lets go, and not while
    // playing, where the next tick would move it on anyway.
    if (g_currentAnimation == nullptr || g_playState != 0 || m_animationBar == nullptr)
        return;
    auto* slider =
        qobject_cast<framework::TrackBar*>(m_animationBar->Controls().GetDlgItem(ctl::TimeSlider));
    if (slider == nullptr)
        return;
    g_currentTime = static_cast<float>(slider->value());
    PoseCurrentAnimation(g_currentTime);
    RefreshTimeDisplay();
}

void CMainFrame::OnChangeKeyLength() {
    if (g_currentAnimation == nullptr || m_animationBar == nullptr)
        return;
    RecomputeKeyIndex();
    UpdateKeyLength(1);
    StopPlayback();
}

void CMainFrame::PlayAllStep(float step) {
    if (g_animationLibrary == nullptr)
        return;
    auto& entries = g_animationLibrary->Entries();
    entries.BeginWalk();
    while (auto* entry = entries.WalkNext()) {
        CAnimationData* animation = &entry->Payload();
        if (!IsPlayedInPlayAll(animation))
            continue;
        const float base = animation->Set() != nullptr ? animation->m_time : -1.0f;
        float time = step * m_playSpeed + base;
        if (time > LastKeyTime(animation))
            time = FirstKeyTime(animation);
        Pose(animation, time);
        if (animation == g_currentAnimation) {
            g_currentTime = time;
            RefreshTimeDisplay();
        }
    }
}

// ---------------------------------------------------------------------------------------
// Dropped files and the manual.

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dragMoveEvent(QDragMoveEvent* event) {
    // Over the bars and the view alike: none of them takes drops of its own.
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QStringList paths = LocalFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // The files are opened once the drop is over, as the desktop's own drop message
    // arrives after the drag: an open may ask questions, and the drag source must not
    // wait for them.
    QMetaObject::invokeMethod(
        this, [this, paths] { OnDropFiles(paths); }, Qt::QueuedConnection);
}

int CMainFrame::OnDropFiles(const QStringList& paths) {
    auto* document = dynamic_cast<CDxMFCDoc*>(GetActiveDocument());
    if (GetActiveView() == nullptr || document == nullptr)
        return 0;
    // A drop starts a new scene: unsaved changes would be gone without a word.
    if (!document->SaveModified())
        return 0;
    document->OnNewDocument();
    for (const QString& path : paths) {
        document->SetOpenMode(scene::kOpenInsertCharacter);
        document->OnOpenDocument(path);
        document->SetOpenMode(scene::kOpenNewScene);
    }
    CenterOnFrame(g_sceneFrame);
    return 1;
}

QString CMainFrame::FindManual() {
    const QString here = QDir::current().absoluteFilePath(QString::fromLatin1(kManualFile));
    if (QFileInfo(here).isFile())
        return here;
    const QString beside = QDir(QCoreApplication::applicationDirPath())
                               .absoluteFilePath(QString::fromLatin1(kManualFile));
    if (QFileInfo(beside).isFile())
        return beside;
    return QString();
}

void CMainFrame::OnManual() {
    const QString path = FindManual();
    if (path.isEmpty())
        return;
    const QUrl url = QUrl::fromLocalFile(path);
    if (m_urlOpener)
        m_urlOpener(url);
    else
        QDesktopServices::openUrl(url);
}

void CMainFrame::StretchTimeSlider() {
    QWidget* panel = m_animationBar->GetPanel();
    QWidget* slider = m_animationBar->GetDlgItem(ctl::TimeSlider);
    if (panel == nullptr || slider == nullptr)
        return;
    // The slider's right edge meets the bar's right edge; left, top and height stay.
    const int barRight = m_animationBar->mapTo(this, QPoint(m_animationBar->width(), 0)).x();
    const int right = panel->mapFrom(this, QPoint(barRight, 0)).x();
    QRect rect = slider->geometry();
    rect.setRight(std::max(rect.left() + 1, std::min(right, panel->width()) - 1));
    slider->setGeometry(rect);
    slider->update();
}

// ---------------------------------------------------------------------------------------
// Scene services.

int CMainFrame::ClearSelection() {
    if (g_selectedPart != nullptr && g_selectionBox != nullptr) {
        g_selectedPart->DeleteVisual(g_selectionBox);
        g_redrawRequest = 1;
    }
    g_selectedPart = nullptr;
    g_selectionBox = nullptr;
    g_selectedMesh = nullptr;
    g_selectedMeshBuilder = nullptr;
    g_visualCycle = 0;
    g_partIndex = 0;
    return 1;
}

scene::SceneDocument CMainFrame::MakeSceneDocument() {
    scene::SceneDocument doc;
    doc.sceneFrame = g_sceneFrame;
    doc.store = g_libraries;
    doc.currentCharacter = g_currentCharacter;
    doc.currentModel = g_currentModel;
    doc.currentAnimation = g_currentAnimation;
    doc.onSceneCleared = [this] { OnSceneCleared(); };
    return doc;
}

void CMainFrame::TakeCurrentPointers(const scene::SceneDocument& doc) {
    g_currentCharacter = doc.currentCharacter;
    g_currentModel = doc.currentModel;
    g_currentAnimation = doc.currentAnimation;
}

int CMainFrame::ClearScene(int all) {
    ClearSelection();
    scene::SceneDocument doc = MakeSceneDocument();
    scene::ClearScene(doc, all);
    return 1;
}

void CMainFrame::OnSceneCleared() {
    g_selectedPart = nullptr;
    g_selectedMesh = nullptr;
    g_selectedMeshBuilder = nullptr;
    g_visualCycle = 0;
    g_partIndex = 0;
    g_selectionBox = nullptr;
    g_keyIndex = 0;
    g_keyTime = 0;
    g_currentAnimation = nullptr;
    g_currentTime = 0;
    g_currentModel = nullptr;
    g_currentCharacter = nullptr;
    m_pathNameAnimation = nullptr;
    m_pathNameEntry.clear();
    // What was shown is gone: the view must draw the empty scene, and the names of what
    // was loaded must not stay on the panel.
    g_redrawRequest = 1;
    if (m_controlPanel != nullptr) {
        AnimationSetChoice::ShowSets(m_controlPanel->Controls(), ctl::AnimationName, nullptr,
                                     nullptr);
        m_controlPanel->Controls().SetDlgItemText(ctl::ModelName, QStringLiteral("non"));
    }
    OfferTickRate(0);
    ResetAnimationBar();
}

int CMainFrame::CenterOnFrame(rm::Frame* frame) {
    IRenderView* view = GetRenderView();
    if (view == nullptr || view->GetCameraPivot() == nullptr || frame == nullptr)
        return 0;
    render::SceneSetup::CenterOnFrame(view->GetCameraPivot(), frame);
    g_redrawRequest = 1;
    return 1;
}

int CMainFrame::CreateSelectionBox(rm::Frame* frame, const rm::Box* box) {
    if (frame == nullptr || box == nullptr)
        return 0;
    rm::Ref<rm::Mesh> mesh;
    if (!render::SceneSetup::CreateSelectionBox(m_parentD3R.D3DRM(), frame, box, &mesh))
        return 0;
    g_selectionBox = mesh.Get();
    return 1;
}

int CMainFrame::SelectCameraView(int index) {
    IRenderView* view = GetRenderView();
    if (view == nullptr || view->GetCameraPivot() == nullptr || m_controlPanel == nullptr)
        return 0;
    framework::DialogControls& panel = m_controlPanel->Controls();
    if (panel.GetCurSel(ctl::CameraView) == index)
        return 1;
    return panel.SetCurSel(ctl::CameraView, index) == index && index >= 0 ? 1 : 0;
}

void CMainFrame::ApplyCameraView() {
    IRenderView* view = GetRenderView();
    if (view == nullptr || view->GetCameraPivot() == nullptr || m_controlPanel == nullptr)
        return;
    const int index = m_controlPanel->Controls().GetCurSel(ctl::CameraView);
    if (index >= 1 && index <= 6) {
        render::SceneSetup::ApplyCameraView(view->GetCameraPivot(), index);
        // The new view must be shown even when nothing else asks for a drawing.
        g_redrawRequest = 1;
    }
}

int CMainFrame::MarkDocumentModified() {
    framework::Document* document = GetActiveDocument();
    if (GetActiveView() == nullptr || document == nullptr)
        return 0;
    document->SetModifiedFlag(1);
    return 1;
}

// ---------------------------------------------------------------------------------------
// Commands and bar controls.

void CMainFrame::OnZBufferOn() {
    if (g_sceneRoot == nullptr)
        return;
    g_sceneRoot->SetZbufferMode(rm::D3DRMZBUFFER_ENABLE);
    g_redrawRequest = 1;
}

void CMainFrame::OnZBufferOff() {
    if (g_sceneRoot == nullptr)
        return;
    g_sceneRoot->SetZbufferMode(rm::D3DRMZBUFFER_DISABLE);
    g_redrawRequest = 1;
}

void CMainFrame::OnUpdateZBufferOn(CCmdUI& ui) {
    ui.SetCheck(g_sceneRoot != nullptr && g_sceneRoot->GetZbufferMode() != rm::D3DRMZBUFFER_DISABLE
                    ? 1
                    : 0);
}

void CMainFrame::OnUpdateZBufferOff(CCmdUI& ui) {
    ui.SetCheck(g_sceneRoot != nullptr && g_sceneRoot->GetZbufferMode() == rm::D3DRMZBUFFER_DISABLE
                    ? 1
                    : 0);
}

void CMainFrame::SetOperationMode(int mode) {
    if (g_operationMode == mode)
        return;
    g_operationMode = mode;
    const bool parentChild = mode == 0;
    ShowControlBar(m_animationToolBar, parentChild ? 0 : 1);
    ShowControlBar(m_partsToolBar, parentChild ? 1 : 0);
    m_controlPanel->Controls().SetDlgItemText(
        ctl::SecondGroupLabel, parentChild ? QStringLiteral("Model") : QStringLiteral("Animation"));
    // The "<Parent>" label is drawn in the parent-child mode only.
    g_redrawRequest = 1;
}

void CMainFrame::OnCenter() {
    rm::Frame* target = g_sceneFrame;
    if (g_selectedPart != nullptr && g_currentAnimation != nullptr &&
        g_currentAnimation->Model() != nullptr && g_currentAnimation->Model()->Root() != nullptr)
        target = g_currentAnimation->Model()->Root();
    CenterOnFrame(target);
}

void CMainFrame::OnAxisButton(int id) {
    const int checked = m_controlPanel->Controls().IsDlgButtonChecked(id);
    switch (id) {
    case ctl::AxisX:
        g_axisX = checked;
        break;
    case ctl::AxisY:
        g_axisY = checked;
        break;
    case ctl::AxisZ:
        g_axisZ = checked;
        break;
    case ctl::AxisNegative:
        g_axisPositive = checked ? 0 : 1;
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------
// Window events.

void CMainFrame::moveEvent(QMoveEvent* event) {
    FrameWindow::moveEvent(event);
    if (IRenderView* view = GetRenderView())
        if (render::Direct3R* device = view->GetDevice())
            device->UpdateScreenRect(nullptr);
}

void CMainFrame::OnActivateApp(bool active) {
    if (IRenderView* view = GetRenderView())
        if (render::Direct3R* device = view->GetDevice())
            device->ActivateHandle(active ? 1 : 0);
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    FrameWindow::resizeEvent(event);
    if (m_animationBar != nullptr && !isMinimized())
        StretchTimeSlider();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && m_animationBar != nullptr &&
        watched == m_animationBar->GetPanel() && !isMinimized())
        StretchTimeSlider();
    return FrameWindow::eventFilter(watched, event);
}

void CMainFrame::changeEvent(QEvent* event) {
    FrameWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    IRenderView* view = GetRenderView();
    if (view == nullptr)
        return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (isMinimized()) {
        view->OnSize(SizeMinimized, 0, 0);
    } else if ((change->oldState() & Qt::WindowMinimized) != 0) {
        if (QWidget* widget = centralWidget())
            view->OnSize(isMaximized() ? SizeMaximized : SizeRestored, widget->width(),
                         widget->height());
    }
}
