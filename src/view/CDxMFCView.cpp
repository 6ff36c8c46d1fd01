#include "view/CDxMFCView.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>

#include "platform/framework/CCmdUI.h"
#include "platform/framework/FrameWindow.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/OpenTiming.h"
#include "platform/framework/Translate.h"
#include "platform/framework/UiServices.h"
#include "platform/rm/DebugOutput.h"
#include "platform/rm/Device.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Viewport.h"
#include "platform/surface/Image.h"
#include "render/Direct3R.h"
#include "render/ParentD3R.h"
#include "resources/CommandIds.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"
#include "view/AsyncKeyState.h"
#include "view/FpsOverlay.h"
#include "view/IViewFrame.h"

namespace {

namespace ids = resources::ids;

// The bits of a render quality the Renderer commands change.
constexpr unsigned kShadeBits = 0x03; // D3DRMSHADE_FLAT 0, _GOURAUD 1, _PHONG 2
constexpr unsigned kLightBit = 0x08;  // D3DRMLIGHT_ON
constexpr unsigned kFillBits = 0xC0;  // D3DRMFILL_POINTS 0, _WIREFRAME 0x40, _SOLID 0x80
constexpr unsigned kGouraud = 0x01;
constexpr unsigned kPhong = 0x02;
constexpr unsigned kWireframe = 0x40;
constexpr unsigned kSolid = 0x80;

// The overlay writes in the colour and places of the device context it stands for.
const QColor kLabelColour(64, 0, 0);

void ShowAppMessage(const char* text) {
    framework::UiServices::AppMessageBox(framework::Tr(text), framework::MbOk);
}

// Text placed like the platform's text output: (x, y) is the top left corner.
void WriteText(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(QRect(x, y, 4096, 256), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

} // namespace

CDxMFCView::CDxMFCView() {
    // The view paints every pixel itself from the last picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    AsyncKeyState::Instance();

    MapCommand(ids::DriverDirect3DHal, &CDxMFCView::OnDriverHal);
    MapCommand(ids::DriverRgbEmulation, &CDxMFCView::OnDriverEmulation);
    MapCommand(ids::DriverUseVideoMemory, &CDxMFCView::OnUseVideoMemory);
    MapCommand(ids::RenderLighting, &CDxMFCView::OnLighting);
    MapCommand(ids::RenderPoints, [this] { SetQualityBits(kFillBits, 0); });
    MapCommand(ids::RenderWireframe, [this] { SetQualityBits(kFillBits, kWireframe); });
    MapCommand(ids::RenderSolid, [this] { SetQualityBits(kFillBits, kSolid); });
    MapCommand(ids::RenderFlat, [this] { SetQualityBits(kShadeBits, 0); });
    MapCommand(ids::RenderGouraud, [this] { SetQualityBits(kShadeBits, kGouraud); });
    MapCommand(ids::RenderPhong, [this] { SetQualityBits(kShadeBits, kPhong); });
    MapCommand(ids::RenderDithered, &CDxMFCView::OnDithered);
    MapCommand(ids::RenderTextureFiltering, &CDxMFCView::OnTextureFiltering);
    MapCommand(ids::ProjectionPerspective, [this] { SetProjection(rm::D3DRMPROJECT_PERSPECTIVE); });
    MapCommand(ids::ProjectionOrthographic,
               [this] { SetProjection(rm::D3DRMPROJECT_ORTHOGRAPHIC); });
    MapLinkCommands();
    MapCommand(ids::FourPaneView, [this] {
        SetPaneLayout(m_panes.IsSplit() ? PaneLayout::Single : PaneLayout::FourPanes);
    });
    MapUpdate(ids::FourPaneView,
              [this](framework::CCmdUI& ui) { ui.SetCheck(m_panes.IsSplit() ? 1 : 0); });
    MapCommand(ids::ViewOnionSkin, [this] {
        m_onion.SetShown(!m_onion.IsShown());
        Context().redrawRequest = true;
    });
    MapUpdate(ids::ViewOnionSkin,
              [this](framework::CCmdUI& ui) { ui.SetCheck(m_onion.IsShown() ? 1 : 0); });

    for (framework::CommandId id :
         {ids::DriverDirect3DHal, ids::DriverRgbEmulation, ids::DriverUseVideoMemory}) {
        MapUpdate(id, &CDxMFCView::OnUpdateDriver);
    }
    for (framework::CommandId id :
         {ids::RenderLighting, ids::RenderPoints, ids::RenderWireframe, ids::RenderSolid,
          ids::RenderFlat, ids::RenderGouraud, ids::RenderPhong, ids::RenderDithered,
          ids::RenderTextureFiltering, ids::ProjectionPerspective, ids::ProjectionOrthographic}) {
        MapUpdate(id, &CDxMFCView::OnUpdateRenderer);
    }
}

void CDxMFCView::FollowPendingLink() {
    if (m_interaction.PendingLink() == ViewInteraction::Link::None) {
        unsetCursor();
    } else {
        setCursor(Qt::CrossCursor);
    }
}

void CDxMFCView::MapLinkCommands() {
    using Link = ViewInteraction::Link;
    for (const auto& [id, link] :
         {std::pair(ids::SetParent, Link::Parent), std::pair(ids::SetChild, Link::Child)}) {
        MapCommand(id, [this, link = link] {
            // A second press of the same button takes the request back.
            m_interaction.RequestLink(m_interaction.PendingLink() == link ? Link::None : link);
            FollowPendingLink();
            setFocus();
        });
        MapUpdate(id, [this, link = link](framework::CCmdUI& ui) {
            // The Shift+Ctrl click's conditions: the parent-child mode, a part selected.
            ui.Enable(Context().operationMode == session::OperationMode::ParentChild &&
                      Context().SelectedPartInScene() != nullptr);
            ui.SetCheck(m_interaction.PendingLink() == link ? 1 : 0);
        });
    }
}

void CDxMFCView::SetPaneLayout(PaneLayout layout) {
    m_panes.SetLayout(layout);
    m_pressedPane = nullptr;
    if (IViewFrame* frame = MainFrame()) {
        frame->KeepPaneLayout(layout);
    }
    Context().redrawRequest = true;
}

CDxMFCView::~CDxMFCView() {
    m_pressedPane = nullptr;
    m_panes.Release();
    m_cameraPivot = nullptr;
    m_camera = nullptr;
    if (m_parentD3R != nullptr && m_device != nullptr) {
        m_parentD3R->ReleaseChild(&m_device);
    }
}

FpsOverlay& CDxMFCView::Overlay() {
    static FpsOverlay overlay;
    return overlay;
}

// ---------------------------------------------------------------------------------------
// Set-up and drawing.

void CDxMFCView::OnInitialUpdate() {
    View::OnInitialUpdate();
    if (m_device != nullptr) {
        return;
    }
    IViewFrame* frame = MainFrame();
    if (frame == nullptr) {
        return;
    }
    m_panes.SetLayout(frame->KeptPaneLayout());
    m_onion.SetGhostsPerSide(frame->KeptOnionSkinGhosts());
    m_parentD3R = &frame->GetParentD3R();
    m_parentD3R->CreateChild(&m_device);
    if (m_device == nullptr) {
        return;
    }

    render::CameraRig rig;
    const render::ViewSetupResult result =
        render::SceneSetup::SetUpView(m_device, this, Context().sceneRoot, &rig, &m_saved);
    m_cameraPivot = rig.pivot;
    m_camera = rig.camera;
    switch (result) {
    case render::ViewSetupResult::Ok:
        // A file opened from the command line was loaded before the camera existed; it is
        // framed now, as a file opened later is at once.
        if (Context().currentAnimation != nullptr &&
            Context().currentAnimation->Model() != nullptr) {
            frame->CenterOnFrame(Context().currentAnimation->Model()->Root());
        }
        break;
    case render::ViewSetupResult::DirectDrawFailed:
        ShowAppMessage("DirectDraw creation failed");
        break;
    case render::ViewSetupResult::Direct3DRMFailed:
        ShowAppMessage("Direct3DRM creation failed");
        break;
    case render::ViewSetupResult::ViewportFailed:
        ShowAppMessage("Direct3DRM viewport creation failed");
        break;
    }
}

int CDxMFCView::Render() {
    if (m_device == nullptr || !m_device->IsEnabled()) {
        return 0;
    }
    if (!Context().redrawRequest) {
        return 0;
    }
    Context().redrawRequest = false;

    rm::Frame* labelParent = nullptr;
    rm::Frame* part = Context().SelectedPartInScene();
    if (Context().operationMode == session::OperationMode::ParentChild && part != nullptr) {
        labelParent = part->GetParent();
    }
    // Held down, F toggles on every frame drawn; a short tap shows or hides the lines.
    if (AsyncKeyState::Instance().IsKeyDown(Qt::Key_F)) {
        Overlay().Toggle();
    }
    const std::span<rm::Viewport* const> panes =
        m_panes.Update(*m_device, Context().sceneRoot, m_cameraPivot.Get());
    if (panes.empty()) {
        m_pressedPane = nullptr;
    }
    return render::SceneSetup::RenderFrame(
        *m_device, Context().gridFrame, Context().sceneRoot, Context().selection.PlacedBox(g_d3drm),
        labelParent,
        [this](surface::Image& picture, const render::FrameStats& stats) {
            DrawOverlay(picture, stats);
        },
        nullptr, panes,
        [this](std::span<rm::Viewport* const> viewports) {
            if (rm::Device* device = m_device->D3DRMDevice()) {
                m_onion.Draw(Context(), viewports, *device);
            }
        });
}

void CDxMFCView::DrawOverlay(surface::Image& picture, const render::FrameStats& stats) {
    FpsOverlay& overlay = Overlay();
    if ((stats.hasParentLabel || overlay.IsShown()) && !picture.IsEmpty()) {
        QImage image(picture.Pixels().data(), picture.Width(), picture.Height(),
                     static_cast<qsizetype>(picture.RowBytes()), QImage::Format_RGBA8888);
        QPainter painter(&image);
        painter.setFont(font());
        painter.setPen(kLabelColour);
        if (stats.hasParentLabel) {
            WriteText(painter, stats.parentLabelX, stats.parentLabelY, QStringLiteral("<Parent>"));
        }
        if (overlay.IsShown()) {
            const int grey = overlay.StepGrey();
            painter.setPen(QColor(grey, grey, grey));
            WriteText(painter, 16, 16, QString::asprintf("FPS %d ", Context().fps));
            WriteText(painter, 16, 32,
                      QString::asprintf("Triangles %d(+576) ",
                                        overlay.TrianglesThisFrame(stats.trianglesDrawn)));
        }
    }
    // Remembered on every frame, shown or not, so the first line after F counts one frame.
    overlay.SetPreviousTotal(stats.trianglesDrawn);
}

void CDxMFCView::Presented(const surface::Image& picture) {
    if (m_picture.width() != picture.Width() || m_picture.height() != picture.Height()) {
        m_picture = QImage(picture.Width(), picture.Height(), QImage::Format_RGBA8888);
    }
    for (int y = 0; y < picture.Height(); ++y) {
        std::memcpy(m_picture.scanLine(y), picture.Row(y), picture.RowBytes());
    }
    m_picture.setDevicePixelRatio(devicePixelRatioF());
    framework::OpenTiming::FrameRendered();
    if (!m_painting) {
        m_presentPending = true;
        update();
    }
}

void CDxMFCView::paintEvent(QPaintEvent* event) {
    m_painting = true;
    // A repaint the window system asked for (not one for a picture just shown) draws a
    // new picture at once, as the device layer's paint handling expects.
    if (!m_presentPending && m_device != nullptr && m_device->IsWindowReady()) {
        m_device->PaintHandle(this);
        Context().redrawRequest = true;
        Render();
    }
    m_presentPending = false;
    QPainter painter(this);
    if (m_picture.isNull()) {
        painter.fillRect(event->rect(), palette().color(QPalette::Dark));
    } else {
        painter.drawImage(QPoint(0, 0), m_picture);
    }
    m_painting = false;
    if (!m_picture.isNull()) {
        framework::OpenTiming::FrameDrawn();
    }
}

// ---------------------------------------------------------------------------------------
// The device layer's window.

surface::Rect CDxMFCView::ClientRectOnScreen() const {
    const qreal ratio = devicePixelRatioF();
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    const int left = qRound(origin.x() * ratio);
    const int top = qRound(origin.y() * ratio);
    return {left, top, left + qRound(width() * ratio), top + qRound(height() * ratio)};
}

int CDxMFCView::BitsPerPixel() const {
    const QScreen* display = screen();
    return display != nullptr && display->depth() > 0 ? display->depth() : 32;
}

// ---------------------------------------------------------------------------------------
// Render state, driver and size.

void CDxMFCView::SaveRenderState() {
    if (m_device != nullptr) {
        render::SceneSetup::SaveRenderState(*m_device, &m_saved);
    }
}

void CDxMFCView::RestoreRenderState() {
    if (m_device != nullptr) {
        render::SceneSetup::RestoreRenderState(*m_device, m_saved);
    }
    Context().redrawRequest = true;
}

void CDxMFCView::ResetPalette() {
    if (m_device->Palette() != nullptr && m_device->PrimarySurface() != nullptr) {
        m_device->PrimarySurface()->SetPalette(
            m_device->BackBuffer() != nullptr ? m_device->BackBuffer()->GetPalette() : nullptr);
    }
}

int CDxMFCView::ChangeDriver() {
    if (m_device == nullptr || m_device->IsSuspended() || m_device->D3DRM() == nullptr) {
        return 0;
    }
    SaveRenderState();
    ResetPalette();
    if (!m_device->ResizeWindow(this)) {
        ShowAppMessage("Change D3D Driver error\n");
        return 0;
    }
    if (m_camera != nullptr) {
        m_device->D3RViewport(m_camera.Get());
    }
    RestoreRenderState();
    return 1;
}

void CDxMFCView::OnSize(unsigned type, int /*cx*/, int /*cy*/) {
    if (m_device == nullptr || !m_device->IsEnabled() || !m_device->IsWindowReady()) {
        return;
    }
    rm::OutputDebugStringA("D3R:SizeHandle\n");
    if (type <= session::SizeMaxHide) {
        m_device->SetSuspended(type == session::SizeMinimized || type == session::SizeMaxHide ? 1
                                                                                              : 0);
    }
    if (m_device->IsSuspended()) {
        return;
    }
    rm::OutputDebugStringA("D3R:SizeHandle   restored\n");
    // A new size always tries the hardware driver again; the device falls back by itself.
    m_device->SetHEL(0);
    ResetPalette();
    SaveRenderState();
    if (!m_device->ResizeWindow(nullptr)) {
        ShowAppMessage("Resize error\n");
        return;
    }
    if (m_camera != nullptr) {
        m_device->D3RViewport(m_camera.Get());
    }
    RestoreRenderState();
}

void CDxMFCView::resizeEvent(QResizeEvent* event) {
    View::resizeEvent(event);
    const QWidget* top = window();
    OnSize(top != nullptr && top->isMaximized() ? session::SizeMaximized : session::SizeRestored,
           event->size().width(), event->size().height());
}

// ---------------------------------------------------------------------------------------
// View menu commands.

void CDxMFCView::OnDriverHal() {
    if (m_device == nullptr) {
        return;
    }
    m_device->SetHEL(0);
    ChangeDriver();
}

void CDxMFCView::OnDriverEmulation() {
    if (m_device == nullptr) {
        return;
    }
    m_device->SetHEL(1);
    ChangeDriver();
}

void CDxMFCView::OnUseVideoMemory() {
    if (m_device == nullptr || !m_device->IsSoftware()) {
        return;
    }
    m_device->SetVideoMemory(m_device->IsVideoMemory() ? 0 : 1);
    ChangeDriver();
}

void CDxMFCView::SetQualityBits(unsigned clear, unsigned set) {
    rm::Device* device = m_device != nullptr ? m_device->D3DRMDevice() : nullptr;
    if (device == nullptr) {
        return;
    }
    m_saved.quality = (m_saved.quality & ~clear) | set;
    device->SetQuality(m_saved.quality);
    Context().redrawRequest = true;
}

void CDxMFCView::OnLighting() {
    SetQualityBits(kLightBit, (m_saved.quality & kLightBit) ^ kLightBit);
}

void CDxMFCView::OnDithered() {
    rm::Device* device = m_device != nullptr ? m_device->D3DRMDevice() : nullptr;
    if (device == nullptr) {
        return;
    }
    m_saved.dither = device->GetDither() ? 0 : 1;
    device->SetDither(m_saved.dither);
    Context().redrawRequest = true;
}

void CDxMFCView::OnTextureFiltering() {
    rm::Device* device = m_device != nullptr ? m_device->D3DRMDevice() : nullptr;
    if (device == nullptr) {
        return;
    }
    m_saved.textureQuality = 1 - (m_saved.textureQuality & 1);
    device->SetTextureQuality(m_saved.textureQuality);
    Context().redrawRequest = true;
}

void CDxMFCView::SetProjection(rm::D3DRMPROJECTIONTYPE projection) {
    rm::Viewport* viewport = m_device != nullptr ? m_device->Viewport() : nullptr;
    if (viewport == nullptr) {
        return;
    }
    m_saved.projection = projection;
    viewport->SetProjection(m_saved.projection);
    Context().redrawRequest = true;
}

void CDxMFCView::OnUpdateDriver(framework::CCmdUI& ui) {
    const int software = m_device != nullptr && m_device->IsSoftware();
    const int videoMemory = m_device != nullptr && m_device->IsVideoMemory();
    switch (ui.GetId()) {
    case ids::DriverDirect3DHal:
        ui.SetCheck(software ? 0 : 1);
        break;
    case ids::DriverRgbEmulation:
        ui.SetCheck(software ? 1 : 0);
        break;
    case ids::DriverUseVideoMemory:
        ui.SetCheck(!software || videoMemory ? 1 : 0);
        break;
    default:
        break;
    }
}

void CDxMFCView::OnUpdateRenderer(framework::CCmdUI& ui) {
    const unsigned quality = m_saved.quality;
    bool check = false;
    switch (ui.GetId()) {
    case ids::RenderLighting:
        check = (quality & kLightBit) != 0;
        break;
    case ids::RenderPoints:
        check = (quality & kFillBits) == 0;
        break;
    case ids::RenderWireframe:
        check = (quality & kWireframe) != 0;
        break;
    case ids::RenderSolid:
        check = (quality & kSolid) != 0;
        break;
    case ids::RenderFlat:
        check = (quality & kShadeBits) == 0;
        break;
    case ids::RenderGouraud:
        check = (quality & kShadeBits) == kGouraud;
        break;
    case ids::RenderPhong:
        check = (quality & kShadeBits) == kPhong;
        break;
    case ids::RenderDithered:
        check = m_saved.dither != 0;
        break;
    case ids::RenderTextureFiltering:
        check = (m_saved.textureQuality & 1) != 0;
        break;
    case ids::ProjectionPerspective:
        check = m_saved.projection == rm::D3DRMPROJECT_PERSPECTIVE;
        break;
    case ids::ProjectionOrthographic:
        check = m_saved.projection == rm::D3DRMPROJECT_ORTHOGRAPHIC;
        break;
    default:
        break;
    }
    ui.SetCheck(check ? 1 : 0);
}

// ---------------------------------------------------------------------------------------
// Mouse and keyboard.

IViewFrame* CDxMFCView::MainFrame() const {
    return dynamic_cast<IViewFrame*>(GetParentFrame());
}

session::EditContext& CDxMFCView::Context() {
    if (IViewFrame* frame = MainFrame()) {
        return frame->Context();
    }
    if (m_frameless == nullptr) {
        m_frameless = std::make_unique<session::EditContext>();
    }
    return *m_frameless;
}

rm::Viewport* CDxMFCView::GetViewport() const {
    if (m_panes.IsSplit() && m_panes.Holds(m_pressedPane)) {
        return m_pressedPane;
    }
    return m_device != nullptr ? m_device->Viewport() : nullptr;
}

rm::Frame* CDxMFCView::GetCamera() const {
    if (m_panes.IsSplit() && m_panes.Holds(m_pressedPane)) {
        return m_pressedPane->GetCamera();
    }
    return m_camera.Get();
}

ViewInteraction::Mouse CDxMFCView::MouseOf(const QMouseEvent* event) const {
    ViewInteraction::Mouse mouse;
    mouse.point = event->position().toPoint();
    mouse.left = (event->buttons() & Qt::LeftButton) != 0;
    mouse.right = (event->buttons() & Qt::RightButton) != 0;
    mouse.shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    mouse.control = (event->modifiers() & Qt::ControlModifier) != 0;
    return mouse;
}

void CDxMFCView::mousePressEvent(QMouseEvent* event) {
    m_interaction.SetPixelRatio(devicePixelRatioF());
    // In the split view a press works in the pane it falls in, until the next press.
    if (m_panes.IsSplit() && !(event->buttons() & ~event->button())) {
        const QPointF at = event->position() * devicePixelRatioF();
        m_pressedPane = m_panes.PaneAt(static_cast<int>(at.x()), static_cast<int>(at.y()));
    }
    if (event->button() == Qt::LeftButton) {
        m_interaction.LeftButtonDown(MouseOf(event));
        FollowPendingLink();
    } else if (event->button() == Qt::RightButton) {
        m_interaction.RightButtonDown();
    }
    View::mousePressEvent(event);
}

void CDxMFCView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        m_interaction.RightButtonUp();
    } else if (event->button() == Qt::LeftButton) {
        m_interaction.LeftButtonUp();
    }
    View::mouseReleaseEvent(event);
}

void CDxMFCView::mouseMoveEvent(QMouseEvent* event) {
    m_interaction.MouseMove(MouseOf(event));
    View::mouseMoveEvent(event);
}

void CDxMFCView::keyPressEvent(QKeyEvent* event) {
    using Key = ViewInteraction::Key;
    const bool keypad = (event->modifiers() & Qt::KeypadModifier) != 0;
    // Arrows from anywhere; digits only from the keypad (the camera presets).
    static constexpr std::pair<int, Key> kArrows[] = {{Qt::Key_Left, Key::Left},
                                                      {Qt::Key_Right, Key::Right},
                                                      {Qt::Key_Up, Key::Up},
                                                      {Qt::Key_Down, Key::Down}};
    static constexpr std::pair<int, Key> kPad[] = {{Qt::Key_0, Key::Pad0}, {Qt::Key_2, Key::Pad2},
                                                   {Qt::Key_4, Key::Pad4}, {Qt::Key_5, Key::Pad5},
                                                   {Qt::Key_6, Key::Pad6}, {Qt::Key_8, Key::Pad8}};
    Key key = event->key() == Qt::Key_Escape ? Key::Escape : Key::Other;
    for (const auto& [code, mapped] : kArrows) {
        if (event->key() == code) {
            key = mapped;
        }
    }
    for (const auto& [code, mapped] : kPad) {
        if (keypad && event->key() == code) {
            key = mapped;
        }
    }
    if (!m_interaction.KeyDown(key, (event->modifiers() & Qt::AltModifier) != 0)) {
        View::keyPressEvent(event);
    }
    FollowPendingLink();
}

int CDxMFCView::SelectPart(rm::Frame* part) {
    if (part == nullptr) {
        return 0;
    }
    if (!m_interaction.SelectPart(part, nullptr)) {
        // A bone of a skin shows no mesh of its own: it is selected all the same, without
        // a box, so its keys can be worked on.
        Context().SetSelectedPart(part);
        Context().selection.SetPartIndex(std::max(
            0, ViewInteraction::IndexOf(
                   Context().currentModel != nullptr ? Context().currentModel->Root() : nullptr,
                   part)));
        Context().redrawRequest = true;
    }
    return Context().selection.Part() == part ? 1 : 0;
}

int CDxMFCView::SelectCameraView(int index) {
    IViewFrame* frame = MainFrame();
    return frame != nullptr ? frame->SelectCameraView(index) : 0;
}

void CDxMFCView::ApplyCameraView() {
    if (IViewFrame* frame = MainFrame()) {
        frame->ApplyCameraView();
    }
}

void CDxMFCView::PreviousKey() {
    if (IViewFrame* frame = MainFrame()) {
        frame->PreviousKey();
    }
}

void CDxMFCView::NextKey() {
    if (IViewFrame* frame = MainFrame()) {
        frame->NextKey();
    }
}

int CDxMFCView::AddKeyFrame(Prompting prompting) {
    IViewFrame* frame = MainFrame();
    return frame != nullptr ? frame->AddKeyFrame(prompting) : 0;
}

int CDxMFCView::RefreshKeyRange(session::KeyTimeList keyTimes) {
    IViewFrame* frame = MainFrame();
    return frame != nullptr ? frame->RefreshKeyRange(keyTimes) : 0;
}

void CDxMFCView::RefreshTimeDisplay() {
    if (IViewFrame* frame = MainFrame()) {
        frame->RefreshTimeDisplay();
    }
}

int CDxMFCView::MarkDocumentModified() {
    IViewFrame* frame = MainFrame();
    return frame != nullptr ? frame->MarkDocumentModified() : 0;
}

UndoHistory* CDxMFCView::History() {
    IViewFrame* frame = MainFrame();
    return frame != nullptr ? frame->History() : nullptr;
}
