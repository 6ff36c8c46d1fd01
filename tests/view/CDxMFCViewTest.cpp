#include "view/CDxMFCView.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include <QAction>
#include <QColor>
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "app/BarControlIds.h"
#include "app/ShellFixture.h"
#include "platform/rm/DebugOutput.h"
#include "platform/rm/Device.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Viewport.h"
#include "render/Direct3R.h"
#include "resources/CommandIds.h"
#include "session/EditContext.h"
#include "view/AsyncKeyState.h"
#include "view/FpsOverlay.h"

namespace {

using shell_test::ShellFixture;
namespace ids = resources::ids;
using framework::CommandId;

class ViewTest : public ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start());
        ASSERT_NE(view->GetDevice(), nullptr);
        ASSERT_EQ(view->GetDevice()->IsEnabled(), 1);
        AsyncKeyState::Instance().SetKeyDown(Qt::Key_F, false);
        CDxMFCView::Overlay() = FpsOverlay();
    }
    void TearDown() override {
        AsyncKeyState::Instance().SetKeyDown(Qt::Key_F, false);
        CDxMFCView::Overlay() = FpsOverlay();
        ShellFixture::TearDown();
    }

    std::uint64_t Updates() { return view->GetDevice()->D3DRMDevice()->GetUpdateCount(); }

    int RenderNow() {
        Context().redrawRequest = true;
        return view->Render();
    }

    /// The View menu commands whose items carry a check mark now.
    std::set<CommandId> Checked() {
        frame->UpdateAllMenuItems();
        std::set<CommandId> checked;
        for (CommandId id : kRendererCommands) {
            if (QAction* action = frame->GetMenuAction(id);
                action != nullptr && action->isChecked()) {
                checked.insert(id);
            }
        }
        return checked;
    }

    void Command(CommandId id) {
        ASSERT_EQ(frame->OnCommand(id, framework::CommandSource::Menu), 1) << id;
    }

    /// Pixels of the picture in `area` with a red cast: the label's colour over the grey
    /// scene (the text is smoothed, so few pixels take its exact colour).
    int CountReddish(const QRect& area) {
        const QImage picture = view->GetPicture().convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (picture.valid(x, y) &&
                    qRed(picture.pixel(x, y)) > qGreen(picture.pixel(x, y)) + 8) {
                    ++count;
                }
            }
        }
        return count;
    }

    /// Pixels of the picture in `area` whose colour is `colour`.
    int CountPixels(const QRect& area, QRgb colour) {
        const QImage picture = view->GetPicture().convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (picture.valid(x, y) &&
                    (picture.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) {
                    ++count;
                }
            }
        }
        return count;
    }

    static constexpr CommandId kRendererCommands[] = {ids::RenderLighting,
                                                      ids::RenderPoints,
                                                      ids::RenderWireframe,
                                                      ids::RenderSolid,
                                                      ids::RenderFlat,
                                                      ids::RenderGouraud,
                                                      ids::RenderDithered,
                                                      ids::RenderTextureFiltering,
                                                      ids::ProjectionPerspective,
                                                      ids::ProjectionOrthographic};
};

TEST_F(ViewTest, InitialUpdateHangsTheCameraRigUnderTheSceneRoot) {
    rm::Frame* pivot = view->GetCameraPivot();
    rm::Frame* camera = view->GetCamera();
    ASSERT_NE(pivot, nullptr);
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(pivot->GetParent(), Context().sceneRoot);
    EXPECT_EQ(camera->GetParent(), pivot);
    rm::Vector position;
    camera->GetPosition(pivot, &position);
    EXPECT_NEAR(position.z, -15.0f, 1e-4f);
    EXPECT_NEAR(position.x, 0.0f, 1e-4f);
    rm::Viewport* viewport = view->GetDevice()->Viewport();
    ASSERT_NE(viewport, nullptr);
    EXPECT_EQ(viewport->GetCamera(), camera);
    EXPECT_EQ(viewport->GetProjection(), rm::D3DRMPROJECT_PERSPECTIVE);
    EXPECT_EQ(view->GetSavedRenderState().quality, view->GetDevice()->D3DRMDevice()->GetQuality());
    // The view's device works on the scene's own scene-library object.
    EXPECT_EQ(view->GetDevice()->D3DRM(), frame->GetParentD3R().D3DRM());
    EXPECT_EQ(frame->GetParentD3R().Child(0), view->GetDevice());
}

TEST_F(ViewTest, RendersOnlyWhileARedrawIsRequested) {
    Context().redrawRequest = false;
    const std::uint64_t before = Updates();
    EXPECT_EQ(view->Render(), 0);
    EXPECT_EQ(Updates(), before);

    Context().redrawRequest = true;
    EXPECT_EQ(view->Render(), 1);
    EXPECT_FALSE(Context().redrawRequest);
    EXPECT_EQ(Updates(), before + 1);
    EXPECT_EQ(view->Render(), 0);
    EXPECT_EQ(Updates(), before + 1);

    // The picture: the background, and the grid's lines.
    const QImage& picture = view->GetPicture();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(view->width(), view->height()));
    EXPECT_EQ(QColor(picture.pixel(1, 1)).rgb() & 0xFFFFFF, 0x808080u);
    EXPECT_GT(CountPixels(picture.rect(), 0xC0C0C0), 100);
}

TEST_F(ViewTest, TheTickRendersOnRequest) {
    frame->SetTickServices([] { return 0.0; }, [](int) {});
    Context().redrawRequest = true;
    const std::uint64_t before = Updates();
    frame->Tick();
    EXPECT_EQ(Updates(), before + 1);
    frame->Tick();
    EXPECT_EQ(Updates(), before + 1);
}

TEST_F(ViewTest, ARepaintOfTheWindowDrawsANewPicture) {
    QCoreApplication::processEvents();
    Context().redrawRequest = false;
    const std::uint64_t before = Updates();
    view->repaint();
    EXPECT_EQ(Updates(), before + 1);
    EXPECT_FALSE(Context().redrawRequest);
}

TEST_F(ViewTest, RendererCommandsMoveTheirCheckMarks) {
    // The marks: lighting, the fill (points, wireframe or solid), the shading (flat or
    // Gouraud), dithering, texture filtering and the projection.
    struct Marks {
        bool lit;
        CommandId fill, shading;
        bool dithered, filtered;
        CommandId projection;
        std::set<CommandId> Checked() const {
            std::set<CommandId> set{fill, shading, projection};
            for (const auto& [on, id] : {std::pair{lit, ids::RenderLighting},
                                         {dithered, ids::RenderDithered},
                                         {filtered, ids::RenderTextureFiltering}}) {
                if (on) {
                    set.insert(id);
                }
            }
            return set;
        }
    };
    constexpr CommandId kPoints = ids::RenderPoints, kWire = ids::RenderWireframe,
                        kSolid = ids::RenderSolid, kFlat = ids::RenderFlat,
                        kGouraud = ids::RenderGouraud, kPersp = ids::ProjectionPerspective,
                        kOrtho = ids::ProjectionOrthographic;
    // The device starts with lit Gouraud shading, solid fill, dithering and linear
    // texture filtering, seen in perspective.
    EXPECT_EQ(Checked(), (Marks{true, kSolid, kGouraud, true, true, kPersp}.Checked()));
    const struct {
        CommandId command;
        Marks marks;
    } steps[] = {
        {kPoints, {true, kPoints, kGouraud, true, true, kPersp}},
        // Gouraud after Points keeps the point fill.
        {kGouraud, {true, kPoints, kGouraud, true, true, kPersp}},
        {kFlat, {true, kPoints, kFlat, true, true, kPersp}},
        {kWire, {true, kWire, kFlat, true, true, kPersp}},
        {ids::RenderLighting, {false, kWire, kFlat, true, true, kPersp}},
        {ids::RenderDithered, {false, kWire, kFlat, false, true, kPersp}},
        {ids::RenderTextureFiltering, {false, kWire, kFlat, false, false, kPersp}},
        {kOrtho, {false, kWire, kFlat, false, false, kOrtho}},
        {kSolid, {false, kSolid, kFlat, false, false, kOrtho}},
        {ids::RenderLighting, {true, kSolid, kFlat, false, false, kOrtho}},
        {kPersp, {true, kSolid, kFlat, false, false, kPersp}},
    };
    for (const auto& step : steps) {
        Context().redrawRequest = false;
        Command(step.command);
        EXPECT_EQ(Checked(), step.marks.Checked()) << "after " << step.command;
        EXPECT_TRUE(Context().redrawRequest) << step.command;
    }
    // What the marks show is what the device and the viewport do.
    rm::Device* device = view->GetDevice()->D3DRMDevice();
    EXPECT_EQ(device->GetQuality() & 0xFFu, 0x80u | 0x08u);
    EXPECT_EQ(device->GetDither(), 0);
    EXPECT_EQ(device->GetTextureQuality(), rm::D3DRMTEXTURE_NEAREST);
    EXPECT_EQ(view->GetDevice()->Viewport()->GetProjection(), rm::D3DRMPROJECT_PERSPECTIVE);
}

TEST_F(ViewTest, DriverChangesKeepTheRenderOptions) {
    render::Direct3R* device = view->GetDevice();
    Command(ids::RenderWireframe);
    Command(ids::ProjectionOrthographic);

    Command(ids::DriverRgbEmulation);
    EXPECT_EQ(device->IsSoftware(), 1);
    frame->UpdateAllMenuItems();
    EXPECT_TRUE(frame->GetMenuAction(ids::DriverRgbEmulation)->isChecked());
    EXPECT_FALSE(frame->GetMenuAction(ids::DriverDirect3DHal)->isChecked());
    EXPECT_FALSE(frame->GetMenuAction(ids::DriverUseVideoMemory)->isChecked());
    ASSERT_NE(device->D3DRMDevice(), nullptr);
    EXPECT_EQ(device->D3DRMDevice()->GetQuality() & 0xC0u, 0x40u);
    EXPECT_EQ(device->Viewport()->GetProjection(), rm::D3DRMPROJECT_ORTHOGRAPHIC);
    EXPECT_EQ(device->Viewport()->GetCamera(), view->GetCamera());
    EXPECT_EQ(RenderNow(), 1);

    // With the software driver, "Use VideoMemory" toggles.
    Command(ids::DriverUseVideoMemory);
    EXPECT_EQ(device->IsVideoMemory(), 1);
    frame->UpdateAllMenuItems();
    EXPECT_TRUE(frame->GetMenuAction(ids::DriverUseVideoMemory)->isChecked());
    Command(ids::DriverUseVideoMemory);
    EXPECT_EQ(device->IsVideoMemory(), 0);

    // The hardware driver is tried again; without one the device falls back by itself,
    // and the marks follow what it got.
    Command(ids::DriverDirect3DHal);
    frame->UpdateAllMenuItems();
    EXPECT_EQ(frame->GetMenuAction(ids::DriverRgbEmulation)->isChecked(),
              device->IsSoftware() == 1);
    EXPECT_EQ(frame->GetMenuAction(ids::DriverDirect3DHal)->isChecked(), device->IsSoftware() == 0);
    EXPECT_EQ(device->D3DRMDevice()->GetQuality() & 0xC0u, 0x40u);
    EXPECT_EQ(RenderNow(), 1);
}

TEST_F(ViewTest, MinimisingSuspendsAndRestoringRebuildsWithTheHardwareDriverFirst) {
    render::Direct3R* device = view->GetDevice();
    Command(ids::RenderWireframe);
    std::string log;
    rm::DebugOutput::Capture previous =
        rm::DebugOutput::SetCapture([&log](std::string_view text) { log += text; });

    view->OnSize(session::SizeMinimized, 0, 0);
    EXPECT_EQ(log, "D3R:SizeHandle\n");
    EXPECT_EQ(device->IsSuspended(), 1);
    EXPECT_EQ(RenderNow(), 0);

    log.clear();
    device->SetHEL(1);
    view->OnSize(session::SizeRestored, view->width(), view->height());
    rm::DebugOutput::SetCapture(std::move(previous));
    EXPECT_EQ(log.rfind("D3R:SizeHandle\nD3R:SizeHandle   restored\n", 0), 0u) << log;
    // The rebuild enumerated the devices looking for the hardware one again.
    EXPECT_NE(log.find("D3R:Resize Window"), std::string::npos);
    EXPECT_EQ(device->IsSuspended(), 0);
    EXPECT_EQ(device->D3DRMDevice()->GetQuality() & 0xC0u, 0x40u);
    EXPECT_EQ(RenderNow(), 1);
}

TEST_F(ViewTest, ResizingTheWindowRebuildsThePictureAtTheNewSize) {
    frame->resize(700, 560);
    QCoreApplication::processEvents();
    EXPECT_EQ(RenderNow(), 1);
    EXPECT_EQ(view->GetPicture().size(), view->size());
    EXPECT_EQ(view->GetDevice()->Width(), view->width());
}

TEST_F(ViewTest, HoldingFTogglesTheFrameRateLinesOnEveryFrame) {
    const QRect lines(16, 16, 120, 32);
    RenderNow();
    const int greyBefore = CountPixels(lines, 0x080808);
    EXPECT_FALSE(CDxMFCView::Overlay().IsShown());

    AsyncKeyState::Instance().SetKeyDown(Qt::Key_F, true);
    RenderNow();
    EXPECT_TRUE(CDxMFCView::Overlay().IsShown());
    EXPECT_EQ(CDxMFCView::Overlay().Grey(), 8);
    // The lines are written in the pulse's grey (8 on the first frame).
    EXPECT_GT(CountPixels(lines, 0x080808), greyBefore);
    RenderNow();
    EXPECT_FALSE(CDxMFCView::Overlay().IsShown());
    RenderNow();
    EXPECT_TRUE(CDxMFCView::Overlay().IsShown());

    AsyncKeyState::Instance().SetKeyDown(Qt::Key_F, false);
    RenderNow();
    RenderNow();
    EXPECT_TRUE(CDxMFCView::Overlay().IsShown());
}

TEST_F(ViewTest, WithOnlyTheGridDrawnTheTriangleLineShowsZero) {
    RenderNow();
    const std::uint32_t first = view->GetDevice()->D3DRMDevice()->GetTrianglesDrawn();
    RenderNow();
    const std::uint32_t second = view->GetDevice()->D3DRMDevice()->GetTrianglesDrawn();
    FpsOverlay overlay;
    overlay.SetPreviousTotal(first);
    EXPECT_EQ(overlay.TrianglesThisFrame(second), 0);
}

TEST_F(ViewTest, ParentLabelIsWrittenInTheParentChildModeOnly) {
    rm::Ref<rm::Frame> parent, part;
    ASSERT_EQ(g_d3drm->CreateFrame(Context().sceneFrame, &parent), rm::D3DRM_OK);
    ASSERT_EQ(g_d3drm->CreateFrame(parent.Get(), &part), rm::D3DRM_OK);
    parent->SetPosition(nullptr, 0, 0, 0);
    Context().SetSelectedPart(part.Get());
    const QRect around(view->width() / 2 - 10, view->height() / 2 - 30, 120, 80);

    RenderNow();
    EXPECT_EQ(CountReddish(around), 0);
    Panel().ClickButton(ctl::ParentChild);
    RenderNow();
    EXPECT_GT(CountReddish(around), 20);

    // A parent behind the camera gets no label.
    parent->SetPosition(nullptr, 0, 0, -40);
    RenderNow();
    EXPECT_EQ(CountReddish(view->GetPicture().rect()), 0);
    Context().SetSelectedPart(nullptr);
}

TEST_F(ViewTest, RestoreRenderStatePutsTheSavedStateBackOnTheDevice) {
    rm::Device* device = view->GetDevice()->D3DRMDevice();
    const render::RenderState saved = view->GetSavedRenderState();
    device->SetQuality(rm::D3DRMRENDER_WIREFRAME);
    device->SetDither(saved.dither ? 0 : 1);
    Context().redrawRequest = false;
    view->RestoreRenderState();
    EXPECT_EQ(device->GetQuality(), saved.quality);
    EXPECT_EQ(device->GetDither(), saved.dither);
    EXPECT_TRUE(Context().redrawRequest);
    device->SetQuality(rm::D3DRMRENDER_FLAT);
    view->SaveRenderState();
    EXPECT_EQ(view->GetSavedRenderState().quality, rm::D3DRMRENDER_FLAT);
}

} // namespace
