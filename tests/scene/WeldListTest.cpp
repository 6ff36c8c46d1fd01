#include "scene/WeldList.h"

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rm/Context.h"
#include "platform/rm/Math.h"
#include "support/RmMatchers.h"

using namespace rm;
using scene::WeldList;
using testing_rm::VectorNear;

namespace {

// The weld walk written the direct way: every vertex against every vertex of every later
// frame, one frame transform per comparison. Slow, and kept only to check the fast build.
class ReferenceWelds {
public:
    ReferenceWelds(Frame* root, float tolerance) : m_root(root), m_tolerance(tolerance) {
        Walk(root);
    }
    std::vector<WeldList::FrameRecord> records;

private:
    void Walk(Frame* frame) {
        for (const auto& visual : frame->Visuals()) {
            auto* mesh = dynamic_cast<Mesh*>(visual.Get());
            if (!mesh) {
                continue;
            }
            for (std::uint32_t g = 0; g < mesh->GetGroupCount(); ++g) {
                long anchorFrame = -1, anchorMesh = -1;
                const auto count = mesh->GroupVertices(int(g)).size();
                for (std::uint32_t v = 0; v < count; ++v) {
                    if (anchorFrame < 0) {
                        records.push_back({frame, {}});
                        anchorFrame = long(records.size()) - 1;
                    }
                    if (anchorMesh < 0) {
                        records[std::size_t(anchorFrame)].meshes.push_back({mesh, {}});
                        anchorMesh = long(records[std::size_t(anchorFrame)].meshes.size()) - 1;
                    }
                    MeshVertex data;
                    mesh->GetVertices(int(g), v, 1, &data);
                    Vector world;
                    frame->Transform(&world, &data.position);
                    m_found = false;
                    m_passedAnchor = false;
                    Search(m_root, frame, world);
                    if (m_found) {
                        records.back().meshes.back().vertexEntries.push_back({-1, 0, {}});
                        records[std::size_t(anchorFrame)]
                            .meshes[std::size_t(anchorMesh)]
                            .vertexEntries.push_back({int(g), int(v), data});
                        anchorFrame = anchorMesh = -1;
                    }
                }
                if (anchorMesh >= 0 && records[std::size_t(anchorFrame)]
                                           .meshes[std::size_t(anchorMesh)]
                                           .vertexEntries.empty()) {
                    records[std::size_t(anchorFrame)].meshes.erase(
                        records[std::size_t(anchorFrame)].meshes.begin() + anchorMesh);
                }
                if (anchorFrame >= 0 && records[std::size_t(anchorFrame)].meshes.empty()) {
                    records.erase(records.begin() + anchorFrame);
                }
            }
        }
        for (const auto& child : frame->Children()) {
            Walk(child.Get());
        }
    }

    void Search(Frame* frame, Frame* anchorFrame, const Vector& anchor) {
        if (m_passedAnchor) {
            bool frameOpened = false;
            for (const auto& visual : frame->Visuals()) {
                auto* mesh = dynamic_cast<Mesh*>(visual.Get());
                if (!mesh) {
                    continue;
                }
                bool meshOpened = false;
                for (std::uint32_t g = 0; g < mesh->GetGroupCount(); ++g) {
                    const auto count = mesh->GroupVertices(int(g)).size();
                    for (std::uint32_t v = 0; v < count; ++v) {
                        MeshVertex data;
                        mesh->GetVertices(int(g), v, 1, &data);
                        Vector world;
                        frame->Transform(&world, &data.position);
                        if (std::fabs(world.x - anchor.x) < m_tolerance &&
                            std::fabs(world.y - anchor.y) < m_tolerance &&
                            std::fabs(world.z - anchor.z) < m_tolerance) {
                            if (!frameOpened) {
                                records.push_back({frame, {}});
                                frameOpened = true;
                            }
                            if (!meshOpened) {
                                records.back().meshes.push_back({mesh, {}});
                                meshOpened = true;
                            }
                            records.back().meshes.back().vertexEntries.push_back(
                                {int(g), int(v), data});
                            m_found = true;
                        }
                    }
                }
            }
        }
        if (frame == anchorFrame) {
            m_passedAnchor = true;
        }
        for (const auto& child : frame->Children()) {
            Search(child.Get(), anchorFrame, anchor);
        }
    }

    Frame* m_root;
    float m_tolerance;
    bool m_found = false;
    bool m_passedAnchor = false;
};

void ExpectSameLists(const std::vector<WeldList::FrameRecord>& a,
                     const std::vector<WeldList::FrameRecord>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t f = 0; f < a.size(); ++f) {
        ASSERT_EQ(a[f].frame, b[f].frame) << "frame record " << f;
        ASSERT_EQ(a[f].meshes.size(), b[f].meshes.size()) << "frame record " << f;
        for (std::size_t m = 0; m < a[f].meshes.size(); ++m) {
            const auto& ea = a[f].meshes[m].vertexEntries;
            const auto& eb = b[f].meshes[m].vertexEntries;
            ASSERT_EQ(a[f].meshes[m].mesh, b[f].meshes[m].mesh);
            ASSERT_EQ(ea.size(), eb.size()) << "frame record " << f << " mesh " << m;
            for (std::size_t e = 0; e < ea.size(); ++e) {
                ASSERT_EQ(ea[e].group, eb[e].group) << f << "/" << m << "/" << e;
                ASSERT_EQ(ea[e].vertex, eb[e].vertex) << f << "/" << m << "/" << e;
                if (ea[e].group >= 0) {
                    ASSERT_EQ(std::memcmp(&ea[e].data, &eb[e].data, sizeof(MeshVertex)), 0);
                }
            }
        }
    }
}

class WeldListTest : public ::testing::Test {
protected:
    WeldListTest() {
        Direct3DRMCreate(&rm);
        rm->CreateFrame(nullptr, &root);
    }

    // A mesh of one quad per entry of `points` (each point one vertex of a 1-face group).
    Ref<Mesh> AddMesh(Frame* frame, const std::vector<Vector>& points) {
        Ref<MeshBuilder> builder;
        rm->CreateMeshBuilder(&builder);
        std::vector<std::uint32_t> face{std::uint32_t(points.size())};
        for (std::uint32_t i = 0; i < points.size(); ++i) {
            face.push_back(i);
        }
        face.push_back(0);
        builder->AddFaces(std::uint32_t(points.size()), points.data(), 0, nullptr, face.data());
        Ref<Mesh> mesh;
        builder->CreateMesh(&mesh);
        frame->AddVisual(mesh.Get());
        return mesh;
    }

    Vector WorldOf(Frame* frame, Mesh* mesh, int vertex) {
        MeshVertex v;
        mesh->GetVertices(0, std::uint32_t(vertex), 1, &v);
        Vector w;
        frame->Transform(&w, &v.position);
        return w;
    }

    Ref<Context> rm;
    Ref<Frame> root;
};

} // namespace

TEST_F(WeldListTest, SeamFollowsTheParentAfterTheChildTurns) {
    Ref<Frame> upper, lower;
    rm->CreateFrame(root.Get(), &upper);
    rm->CreateFrame(upper.Get(), &lower);
    lower->SetPosition(upper.Get(), 0, -1, 0);
    // The seam ring at world y = -1: the upper part's bottom, the lower part's top.
    const std::vector<Vector> ringUpper{{-0.5f, -1, 0}, {0.5f, -1, 0}, {0, 0, 0}};
    const std::vector<Vector> ringLower{{-0.5f, 0, 0}, {0.5f, 0, 0}, {0, -1, 0}};
    auto upperMesh = AddMesh(upper.Get(), ringUpper);
    auto lowerMesh = AddMesh(lower.Get(), ringLower);

    WeldList welds;
    welds.Build(root.Get(), 0.005f);
    // Each weld: the anchor's record, then the match's record ending in the marker.
    const auto& r = welds.Records();
    ASSERT_EQ(r.size(), 4u);
    const struct {
        Frame* frame;
        std::vector<int> groupVertex; // pairs; -1 marks the end of a weld
    } expected[] = {{upper.Get(), {0, 0}},
                    {lower.Get(), {0, 0, -1, 0}},
                    {upper.Get(), {0, 1}},
                    {lower.Get(), {0, 1, -1, 0}}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(r[i].frame, expected[i].frame) << i;
        ASSERT_EQ(r[i].meshes.size(), 1u);
        std::vector<int> got;
        for (const auto& e : r[i].meshes[0].vertexEntries) {
            got.push_back(e.group);
            got.push_back(e.group < 0 ? 0 : e.vertex);
        }
        EXPECT_EQ(got, expected[i].groupVertex) << i;
    }

    // Turn the child; its seam vertices move away, then the update brings them back.
    lower->AddRotation(D3DRMCOMBINE_BEFORE, 0, 0, 1, 0.6f);
    const Vector parentBefore = WorldOf(upper.Get(), upperMesh.Get(), 0);
    EXPECT_EQ(welds.Update(), 2u);
    EXPECT_THAT(WorldOf(lower.Get(), lowerMesh.Get(), 0), VectorNear(parentBefore, 1e-5f));
    EXPECT_THAT(WorldOf(lower.Get(), lowerMesh.Get(), 1),
                VectorNear(WorldOf(upper.Get(), upperMesh.Get(), 1), 1e-5f));
    EXPECT_THAT(WorldOf(upper.Get(), upperMesh.Get(), 0), VectorNear(parentBefore, 0))
        << "the parent's mesh is not changed";
    // The unwelded vertex turned with its part.
    EXPECT_GT(std::fabs(WorldOf(lower.Get(), lowerMesh.Get(), 2).x), 0.3f);
}

TEST_F(WeldListTest, ToleranceIsStrictOnEveryAxis) {
    const struct {
        Vector offset;
        bool welded;
    } cases[] = {{{0.004f, 0.004f, 0.004f}, true},
                 {{0.005f, 0, 0}, false},
                 {{0, 0, 0.005f}, false},
                 {{-0.0049f, 0.0049f, 0}, true},
                 {{0, 0.006f, 0}, false}};
    for (const auto& c : cases) {
        Ref<Frame> scene, a, b;
        rm->CreateFrame(nullptr, &scene);
        rm->CreateFrame(scene.Get(), &a);
        rm->CreateFrame(scene.Get(), &b);
        // At the origin the offsets are exact in float arithmetic.
        AddMesh(a.Get(), {{0, 0, 0}, {5, 5, 5}, {9, 9, 9}});
        AddMesh(b.Get(), {c.offset, {-5, 0, 0}, {-9, 0, 0}});
        WeldList welds;
        welds.Build(scene.Get(), 0.005f);
        EXPECT_EQ(!welds.Empty(), c.welded) << c.offset.x << " " << c.offset.y << " " << c.offset.z;
    }
}

TEST_F(WeldListTest, OneVertexMatchedInTwoLaterParts) {
    Ref<Frame> a, b, c;
    rm->CreateFrame(root.Get(), &a);
    rm->CreateFrame(root.Get(), &b);
    rm->CreateFrame(root.Get(), &c);
    auto ma = AddMesh(a.Get(), {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    auto mb = AddMesh(b.Get(), {{0, 0, 0}, {-1, 0, 0}, {0, -1, 0}});
    auto mc = AddMesh(c.Get(), {{0, 0, 0}, {0, 0, 3}, {0, 3, 3}});
    WeldList welds;
    welds.Build(root.Get(), 0.005f);
    // a's vertex 0 anchors b's and c's vertex 0. b's vertex 0 then anchors c's again.
    const auto& r = welds.Records();
    ASSERT_GE(r.size(), 3u);
    EXPECT_EQ(r[0].frame, a.Get());
    EXPECT_EQ(r[1].frame, b.Get());
    EXPECT_EQ(r[2].frame, c.Get());
    ASSERT_EQ(r[2].meshes[0].vertexEntries.size(), 2u);
    EXPECT_EQ(r[2].meshes[0].vertexEntries[1].group, -1) << "end marker after the last match";

    b->SetPosition(nullptr, 0, 2, 0);
    c->SetPosition(nullptr, 0, -2, 0);
    welds.Update();
    const Vector anchor = WorldOf(a.Get(), ma.Get(), 0);
    EXPECT_THAT(WorldOf(b.Get(), mb.Get(), 0), VectorNear(anchor, 1e-6f));
    EXPECT_THAT(WorldOf(c.Get(), mc.Get(), 0), VectorNear(anchor, 1e-6f));
}

TEST_F(WeldListTest, NoSharedPositionsGiveAnEmptyListAndAnUpdateThatChangesNothing) {
    Ref<Frame> a, b;
    rm->CreateFrame(root.Get(), &a);
    rm->CreateFrame(root.Get(), &b);
    AddMesh(a.Get(), {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    auto mb = AddMesh(b.Get(), {{5, 0, 0}, {6, 0, 0}, {5, 1, 0}});
    WeldList welds;
    welds.Build(root.Get(), 0.005f);
    EXPECT_TRUE(welds.Empty());
    const auto generation = mb->Generation();
    EXPECT_EQ(welds.Update(), 0u);
    EXPECT_EQ(mb->Generation(), generation);
}

TEST_F(WeldListTest, FastBuildMatchesTheDirectWalkOnRandomSeams) {
    std::mt19937 random(20261207);
    std::uniform_real_distribution<float> coordinate(-1, 1);
    std::uniform_int_distribution<int> pick(0, 99);
    for (int trial = 0; trial < 12; ++trial) {
        Ref<Frame> scene;
        rm->CreateFrame(nullptr, &scene);
        std::vector<Ref<Frame>> parts{scene};
        std::vector<Vector> shared; // positions reused across parts to make seams
        for (int p = 0; p < 8; ++p) {
            Ref<Frame> part;
            rm->CreateFrame(parts[std::size_t(pick(random)) % parts.size()].Get(), &part);
            part->SetPosition(nullptr, coordinate(random), coordinate(random), 0);
            part->AddRotation(D3DRMCOMBINE_BEFORE, 0, 1, 0, coordinate(random));
            parts.push_back(part);
            const int meshes = 1 + pick(random) % 2;
            for (int m = 0; m < meshes; ++m) {
                std::vector<Vector> points;
                for (int v = 0; v < 30; ++v) {
                    Vector world{coordinate(random), coordinate(random), coordinate(random)};
                    const int roll = pick(random);
                    if (roll < 30 && !shared.empty()) {
                        world = shared[std::size_t(pick(random)) % shared.size()];
                        if (roll < 10) { // a near miss or a near hit around the tolerance
                            world.x += (roll % 2 ? 0.0049f : 0.0051f);
                        }
                    } else if (roll > 90) {
                        shared.push_back(world);
                    }
                    Vector local;
                    part->InverseTransform(&local, &world);
                    points.push_back(local);
                }
                AddMesh(part.Get(), points);
            }
        }
        WeldList fast;
        fast.Build(scene.Get(), 0.005f);
        ReferenceWelds slow(scene.Get(), 0.005f);
        ExpectSameLists(fast.Records(), slow.records);
        if (HasFatalFailure()) {
            FAIL() << "trial " << trial;
        }
    }
}
