// The View menu's drawing modes on the walker, in the editor as a user has it: the onion
// skin (ghosts drawn, never picked, the pose put back), the four panes (each picks the same
// scene, the choice kept for the next run) and Phong shading (per pixel, not per vertex).

#include <QCoreApplication>
#include <QImage>

#include "app/AppSettings.h"
#include "platform/rm/Context.h"
#include "platform/rm/Device.h"
#include "platform/rm/MeshBuilder.h"
#include "view/InteractionFixture.h"
#include "view/OnionSkin.h"

namespace {

namespace ids = resources::ids;

class ViewModesTest : public InteractionFixture {
protected:
    void SetUp() override {
        InteractionFixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(OpenWalkerAtTen());
    }

    QImage Picture() {
        Context().redrawRequest = true;
        view->Render();
        return view->GetPicture().convertToFormat(QImage::Format_RGB32);
    }

    /// Every part's posed local matrix.
    static std::vector<rm::Matrix4> Poses(rm::Frame* frame) {
        std::vector<rm::Matrix4> poses;
        for (const auto& child : frame->Children()) {
            poses.push_back(child->LocalTransform());
            const auto below = Poses(child.Get());
            poses.insert(poses.end(), below.begin(), below.end());
        }
        return poses;
    }
};

TEST_F(ViewModesTest, GhostTimesAreTheNearestKeyTimesEachSideButNotTheCurrentOne) {
    const std::vector<float>& times = Context().currentAnimation->KeyTimeList();
    ASSERT_GE(times.size(), 8u);
    const struct {
        float time;
        int perSide;
        std::vector<float> earlier, later;
    } rows[] = {
        {times[3], 2, {times[2], times[1]}, {times[4], times[5]}},
        {times[3] + 0.5f, 3, {times[3], times[2], times[1]}, {times[4], times[5], times[6]}},
        {times[0], 2, {}, {times[1], times[2]}},
        {times.back(), 1, {times[times.size() - 2]}, {}},
    };
    for (const auto& row : rows) {
        std::vector<float> earlier, later;
        OnionSkin::GhostTimes(*Context().currentAnimation, row.time, row.perSide, &earlier, &later);
        EXPECT_EQ(earlier, row.earlier) << row.time;
        EXPECT_EQ(later, row.later) << row.time;
    }
}

TEST_F(ViewModesTest, OnionSkinDrawsTintedGhostsThatAreNeverPickedAndPutsThePoseBack) {
    EXPECT_FALSE(view->Onion().IsShown()) << "off by default";
    const QImage plain = Picture();
    const std::vector<rm::Matrix4> before = Poses(Context().currentModel->Root());
    ASSERT_EQ(Menu(ids::ViewOnionSkin), 1);
    ASSERT_TRUE(view->Onion().IsShown());
    const QImage ghosts = Picture();

    // Pixels where only a ghost shows: warm ones (earlier) and cool ones (later).
    int warm = 0, cool = 0;
    QPoint ghostOnly(-1, -1);
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            const QRgb a = plain.pixel(x, y), b = ghosts.pixel(x, y);
            if (a == b) {
                continue;
            }
            warm += qRed(b) > qBlue(b) + 20 ? 1 : 0;
            cool += qBlue(b) > qRed(b) + 20 ? 1 : 0;
            // Background grey before (no part there): only a ghost shows.
            if (qRed(a) == qGreen(a) && qGreen(a) == qBlue(a) && qRed(b) != qBlue(b)) {
                ghostOnly = QPoint(x, y);
            }
        }
    }
    EXPECT_GT(warm, 20);
    EXPECT_GT(cool, 20);
    for (std::size_t i = 0; i < before.size(); ++i) {
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c) {
                EXPECT_FLOAT_EQ(Poses(Context().currentModel->Root())[i].m[r][c],
                                before[i].m[r][c]);
            }
        }
    }
    ASSERT_GE(ghostOnly.x(), 0);
    const double ratio = view->devicePixelRatioF();
    Click(QPoint(static_cast<int>(ghostOnly.x() / ratio), static_cast<int>(ghostOnly.y() / ratio)));
    EXPECT_EQ(Context().selection.Part(), nullptr) << "a ghost is never picked";

    ASSERT_EQ(Menu(ids::ViewOnionSkin), 1);
    EXPECT_EQ(Picture(), plain);
}

TEST_F(ViewModesTest, FourPanesEachPickTheSameSceneAndTheChoiceIsKept) {
    EXPECT_FALSE(view->Panes().IsSplit());
    ASSERT_EQ(Menu(ids::FourPaneView), 1);
    ASSERT_TRUE(view->Panes().IsSplit());
    EXPECT_EQ(AppSettings().ViewLayout(), PaneLayout::FourPanes) << "remembered for the next run";
    Picture();
    const int w = view->GetDevice()->Width(), h = view->GetDevice()->Height();
    rm::Frame* head = Part("Head");
    const rm::Vector world = CentreOf(head);
    // One pane in each quarter; a click on the head (on top, seen from every side) selects it.
    const QPoint quarters[4] = {
        {w / 4, h / 4}, {3 * w / 4, h / 4}, {w / 4, 3 * h / 4}, {3 * w / 4, 3 * h / 4}};
    std::vector<rm::Viewport*> seen;
    for (const QPoint& quarter : quarters) {
        rm::Viewport* pane = view->Panes().PaneAt(quarter.x(), quarter.y());
        ASSERT_NE(pane, nullptr);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), pane), 0);
        seen.push_back(pane);
        Click(QPoint(2, 2)); // the corner: nothing there
        ASSERT_EQ(Context().selection.Part(), nullptr);
        Click(PointIn(pane, world));
        EXPECT_EQ(Context().selection.Part(), head)
            << "pane at " << quarter.x() << "," << quarter.y();
    }
    // A drag that outlives its pane (the view is resized under it) goes on in the user's.
    const QPoint centre(view->width() * 3 / 4, view->height() * 3 / 4);
    QTest::mousePress(view, Qt::RightButton, {}, centre);
    frame->resize(frame->width() - 40, frame->height() - 30);
    QCoreApplication::processEvents();
    Picture();
    for (int i = 1; i <= 3; ++i) {
        QTest::mouseMove(view, centre + QPoint(5 * i, 0));
    }
    QTest::mouseRelease(view, Qt::RightButton, {}, centre + QPoint(15, 0));
    EXPECT_EQ(view->GetViewport(), view->GetDevice()->Viewport());

    ASSERT_EQ(Menu(ids::FourPaneView), 1);
    EXPECT_EQ(AppSettings().ViewLayout(), PaneLayout::Single);
    EXPECT_EQ(view->Panes().PaneAt(w / 4, h / 4), nullptr);
}

TEST_F(ViewModesTest, PhongLightsPerPixelWhereGouraudLightsPerVertex) {
    // A coarse sphere, where lighting per vertex and per pixel part most.
    rm::Ref<rm::MeshBuilder> sphere;
    g_d3drm->CreateMeshBuilder(&sphere);
    std::vector<rm::Vector> points, normals;
    std::vector<std::uint32_t> faces;
    const int slices = 6, stacks = 4;
    for (int s = 0; s <= stacks; ++s) {
        for (int i = 0; i < slices; ++i) {
            const float phi = 3.14159265f * float(s) / stacks;
            const float theta = 6.2831853f * float(i) / slices;
            const rm::Vector n{std::sin(phi) * std::cos(theta), std::cos(phi),
                               std::sin(phi) * std::sin(theta)};
            normals.push_back(n);
            points.push_back({n.x * 4, n.y * 4 + 4, n.z * 4});
        }
    }
    for (int s = 0; s < stacks; ++s) {
        for (int i = 0; i < slices; ++i) {
            const auto a = std::uint32_t(s * slices + i);
            const auto b = std::uint32_t(s * slices + (i + 1) % slices);
            faces.insert(faces.end(),
                         {4, a, a, b, b, b + slices, b + slices, a + slices, a + slices});
        }
    }
    faces.push_back(0);
    sphere->AddFaces(std::uint32_t(points.size()), points.data(), std::uint32_t(normals.size()),
                     normals.data(), faces.data());
    Context().currentModel->Root()->AddVisual(sphere.Get());

    ASSERT_EQ(Menu(ids::RenderGouraud), 1);
    const QImage gouraud = Picture();
    ASSERT_EQ(Menu(ids::RenderPhong), 1);
    EXPECT_EQ(view->GetDevice()->D3DRMDevice()->GetQuality() & rm::D3DRMSHADE_MASK,
              rm::D3DRMSHADE_PHONG);
    frame->UpdateAllMenuItems();
    EXPECT_TRUE(frame->GetMenuAction(ids::RenderPhong)->isChecked());
    EXPECT_FALSE(frame->GetMenuAction(ids::RenderGouraud)->isChecked());
    const QImage phong = Picture();
    int differ = 0;
    for (int y = 0; y < phong.height(); ++y) {
        for (int x = 0; x < phong.width(); ++x) {
            const QRgb a = gouraud.pixel(x, y), b = phong.pixel(x, y);
            differ += std::abs(qGreen(a) - qGreen(b)) > 6 ? 1 : 0;
        }
    }
    EXPECT_GT(differ, 200);
    ASSERT_EQ(Menu(ids::RenderGouraud), 1);
    EXPECT_EQ(Picture(), gouraud);
    Context().currentModel->Root()->DeleteVisual(sphere.Get());
}

} // namespace
