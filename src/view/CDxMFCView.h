#pragma once

#include <memory>

#include <QImage>
#include <QPoint>

#include "platform/framework/View.h"
#include "platform/rm/Ref.h"
#include "platform/surface/Window.h"
#include "render/SceneSetup.h"
#include "session/IRenderView.h"
#include "view/OnionSkin.h"
#include "view/ViewInteraction.h"
#include "view/ViewPanes.h"

namespace framework {
class CCmdUI;
} // namespace framework

namespace render {
class Direct3R;
class ParentD3R;
} // namespace render

class IViewFrame;
class FpsOverlay;

/// The 3D view. It takes one device wrapper from the main frame's ParentD3R, hangs a
/// camera rig (a pivot under the scene root, the camera 15 units behind it) into the
/// scene, and draws the grid and the scene when the program asks for it and
/// redrawRequest is set, with a small text overlay: "<Parent>" at the selected part's
/// parent in the parent-child mode and, while F has toggled it on, the frame rate and the
/// triangle count. It carries the View menu's driver, renderer and projection commands.
///
/// Mouse and keyboard go to its ViewInteraction, for which the view is the host: it
/// forwards the main frame's services and gives the camera and the viewport.
///
/// The device draws off screen; each finished picture is handed to the view (as the
/// window of the device layer, `Presented`) and painted from there. A repaint the window
/// system asks for draws a new picture at once.
class CDxMFCView : public framework::View,
                   public surface::Window,
                   public session::IRenderView,
                   public ViewInteraction::Host {
    Q_OBJECT

public:
    CDxMFCView();
    /// Releases the camera frames and gives the device wrapper back to the ParentD3R it
    /// came from, which must still exist (the main frame destroys its view first).
    ~CDxMFCView() override;

    /// Once: a device wrapper from the main frame, its surfaces and devices, the camera
    /// rig, a perspective viewport; saves the render state and enables the wrapper. A
    /// failing step shows "DirectDraw creation failed", "Direct3DRM creation failed" or
    /// "Direct3DRM viewport creation failed" and leaves the view blank for the run.
    void OnInitialUpdate() override;

    /// Draws one frame when the device is enabled and redrawRequest is set (clearing
    /// it). Returns the result of showing the picture (1), or 0 when nothing was drawn.
    int Render() override;
    /// Reads quality, dither, texture quality and projection from the device and the
    /// viewport into the saved state.
    void SaveRenderState();
    /// Applies the saved state to the device and the viewport and requests a redraw.
    void RestoreRenderState();
    /// Rebuilds the device with the wrapper's present software and video-memory choices,
    /// keeping the render state. 0 (nothing done) while suspended or without the
    /// scene-library object, or when the rebuild failed ("Change D3D Driver error\n").
    int ChangeDriver();
    /// The size handling: nothing until the device is up; minimised suspends the device;
    /// otherwise the device is rebuilt for the new size with the hardware driver tried
    /// first ("Resize error\n" when that fails).
    void OnSize(unsigned type, int cx, int cy) override;
    void SelectPreviousPart() override { m_interaction.SelectPreviousPart(); }
    void SelectNextPart() override { m_interaction.SelectNextPart(); }
    int SelectPart(rm::Frame* part) override;

    rm::Frame* GetCameraPivot() const override { return m_cameraPivot.Get(); }
    /// The camera and viewport of the pane the last left or right press fell in (the
    /// user's when the view is not split).
    rm::Frame* GetCamera() const override;
    rm::Viewport* GetViewport() const override;
    /// The onion skin and the panes (View menu), for the commands and tests.
    OnionSkin& Onion() { return m_onion; }
    ViewPanes& Panes() { return m_panes; }
    /// Splits the view into four panes or joins them (View menu "４分割表示"); its frame
    /// keeps the choice for the next run (IViewFrame::KeepPaneLayout), and gives the kept
    /// one back at the initial update.
    void SetPaneLayout(PaneLayout layout);
    /// The mouse and keyboard handling.
    ViewInteraction& Interaction() { return m_interaction; }
    render::Direct3R* GetDevice() const override { return m_device; }
    /// What the Renderer, Dithered, Texture Filtering and Projection commands show.
    const render::RenderState& GetSavedRenderState() const { return m_saved; }
    /// The last picture shown (null before the first).
    const QImage& GetPicture() const { return m_picture; }

    /// The overlay state shared by the program.
    static FpsOverlay& Overlay();

    // surface::Window: the view is the window the device shows its pictures in.
    surface::Rect ClientRectOnScreen() const override;
    int BitsPerPixel() const override;
    void Presented(const surface::Image& picture) override;

    // ViewInteraction::Host: the main frame's services (nothing without the frame).
    void ShowMessage(const QString& text) override { MessageBox(text); }
    int SelectCameraView(int index) override;
    void ApplyCameraView() override;
    void PreviousKey() override;
    void NextKey() override;
    int AddKeyFrame(Prompting prompting) override;
    int RefreshKeyRange(session::KeyTimeList keyTimes) override;
    void RefreshTimeDisplay() override;
    int MarkDocumentModified() override;
    UndoHistory* History() override;
    /// The frame's edit context; without a frame an empty one of the view's own.
    session::EditContext& Context() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    /// Set Parent and Set Child: the next click in the view links the selected part.
    void MapLinkCommands();
    /// The cross cursor while a click is awaited for Set Parent or Set Child.
    void FollowPendingLink();
    void OnDriverHal();
    void OnDriverEmulation();
    void OnUseVideoMemory();
    void SetQualityBits(unsigned clear, unsigned set);
    void OnLighting();
    void OnDithered();
    void OnTextureFiltering();
    void SetProjection(rm::D3DRMPROJECTIONTYPE projection);
    void OnUpdateDriver(framework::CCmdUI& ui);
    void OnUpdateRenderer(framework::CCmdUI& ui);
    void DrawOverlay(surface::Image& picture, const render::FrameStats& stats);
    void ResetPalette();
    /// The frame window's services; null without one.
    IViewFrame* MainFrame() const;
    ViewInteraction::Mouse MouseOf(const QMouseEvent* event) const;

    render::Direct3R* m_device = nullptr; // owned by m_parentD3R
    /// What the view works on while it has no frame (nothing loaded).
    std::unique_ptr<session::EditContext> m_frameless;
    ViewInteraction m_interaction{*this};
    rm::Ref<rm::Frame> m_camera;
    rm::Ref<rm::Frame> m_cameraPivot;
    /// Quality, dither, texture quality (0 nearest, 1 linear) and projection as the
    /// commands show them; put back after every
    /// rebuild of the device, which starts from its defaults.
    render::RenderState m_saved;

    OnionSkin m_onion;
    ViewPanes m_panes;
    /// The pane of the last press; null: the user's. Borrowed from m_panes, and used only
    /// while m_panes still holds it (a resize makes the panes again).
    rm::Viewport* m_pressedPane = nullptr;

    render::ParentD3R* m_parentD3R = nullptr; // borrowed from the main frame
    QImage m_picture;
    bool m_presentPending = false;
    bool m_painting = false;
};
