#include "platform/rm/Frame.h"

#include <numbers>

#include <gtest/gtest.h>

#include "platform/rm/Context.h"
#include "platform/rm/Math.h"
#include "support/RmMatchers.h"

using namespace rm;
using testing_rm::MatrixNear;
using testing_rm::RotationNear;
using testing_rm::VectorNear;

namespace {

constexpr float kHalfPi = std::numbers::pi_v<float> / 2;

class FrameTest : public ::testing::Test {
protected:
    FrameTest() {
        Direct3DRMCreate(&rm);
        rm->CreateFrame(nullptr, &scene);
        rm->CreateFrame(scene.Get(), &parent);
        rm->CreateFrame(parent.Get(), &child);
        // parent: turned a quarter about y, scaled by 2, moved to (10, 0, 0).
        parent->AddTransform(
            D3DRMCOMBINE_REPLACE,
            ComposeMatrix({2, 2, 2}, QuaternionFromRotation({0, 1, 0}, kHalfPi), {10, 0, 0}));
        child->SetPosition(parent.Get(), 1, 2, 3);
        rm->CreateFrame(scene.Get(), &other);
        other->SetPosition(nullptr, -4, 1, 0);
        other->AddRotation(D3DRMCOMBINE_BEFORE, 1, 0, 0, 0.7f);
    }

    Ref<Context> rm;
    Ref<Frame> scene, parent, child, other;
};

} // namespace

TEST_F(FrameTest, TransformAndInverseTransformRoundTrip) {
    // (1, 2, 3) in parent space: scaled to (2, 4, 6), turned (x -> z, z -> -x), moved by 10.
    Vector world;
    const Vector origin{0, 0, 0};
    child->Transform(&world, &origin);
    EXPECT_THAT(world, VectorNear(Vector{10 - 6, 4, 2}, 1e-5f));

    for (const Vector p : {Vector{0, 0, 0}, Vector{1, -2, 5}, Vector{100, 0.5f, -3}}) {
        Vector w, back;
        child->Transform(&w, &p);
        child->InverseTransform(&back, &w);
        EXPECT_THAT(back, VectorNear(p, 1e-4f));
    }
}

TEST_F(FrameTest, PositionsRelativeToAReferenceFrameAndTheWorld) {
    Vector p;
    child->GetPosition(parent.Get(), &p);
    EXPECT_THAT(p, VectorNear(Vector{1, 2, 3}, 1e-6f));
    child->GetPosition(nullptr, &p);
    EXPECT_THAT(p, VectorNear(Vector{4, 4, 2}, 1e-5f));

    // Relative to an unrelated frame, and back again.
    child->SetPosition(other.Get(), 3, -1, 2);
    child->GetPosition(other.Get(), &p);
    EXPECT_THAT(p, VectorNear(Vector{3, -1, 2}, 1e-4f));
    Vector world, expected;
    const Vector inOther{3, -1, 2};
    child->GetPosition(nullptr, &world);
    other->Transform(&expected, &inOther);
    EXPECT_THAT(world, VectorNear(expected, 1e-4f));

    Matrix4 self;
    child->GetTransform(child.Get(), &self);
    EXPECT_THAT(self, MatrixNear(Matrix4{}, 0));
}

TEST_F(FrameTest, OrientationRelativeToParentKeepsThePosition) {
    child->SetOrientation(parent.Get(), 1, 0, 0, 0, 1, 0);
    Vector d, u, p;
    child->GetOrientation(parent.Get(), &d, &u);
    EXPECT_THAT(d, VectorNear(Vector{1, 0, 0}, 1e-6f));
    EXPECT_THAT(u, VectorNear(Vector{0, 1, 0}, 1e-6f));
    child->GetPosition(parent.Get(), &p);
    EXPECT_THAT(p, VectorNear(Vector{1, 2, 3}, 1e-6f));

    // Seen from the world, the parent's quarter turn is added: +x turns to +z.
    child->GetOrientation(nullptr, &d, &u);
    EXPECT_THAT(d, VectorNear(Vector{0, 0, 1}, 1e-5f));

    // Resetting to the rest orientation leaves the identity rotation.
    child->SetOrientation(parent.Get(), 0, 0, 1, 0, 1, 0);
    Quaternion q;
    child->GetQuaternion(parent.Get(), &q);
    EXPECT_THAT(q, RotationNear(Quaternion{}, 1e-6f));
}

TEST_F(FrameTest, QuaternionRelativeToItselfTurnsFurther) {
    const Quaternion quarter = QuaternionFromRotation({0, 1, 0}, kHalfPi);
    child->SetQuaternion(child.Get(), quarter);
    child->SetQuaternion(child.Get(), quarter);
    Quaternion q;
    child->GetQuaternion(parent.Get(), &q);
    EXPECT_THAT(q, RotationNear(QuaternionFromRotation({0, 1, 0}, 2 * kHalfPi), 1e-5f));
    Vector p;
    child->GetPosition(parent.Get(), &p);
    EXPECT_THAT(p, VectorNear(Vector{1, 2, 3}, 1e-5f));
}

TEST_F(FrameTest, AddChildMovesTheFrameAndKeepsItsLocalTransform) {
    const Matrix4 local = child->LocalTransform();
    ASSERT_EQ(other->AddChild(child.Get()), D3DRM_OK);
    EXPECT_EQ(child->GetParent(), other.Get());
    EXPECT_TRUE(parent->Children().empty());
    ASSERT_EQ(other->Children().size(), 1u);
    EXPECT_THAT(child->LocalTransform(), MatrixNear(local, 0));

    EXPECT_NE(child->AddChild(other.Get()), D3DRM_OK) << "a frame cannot adopt its ancestor";
    EXPECT_NE(child->AddChild(child.Get()), D3DRM_OK);

    EXPECT_EQ(other->DeleteChild(child.Get()), D3DRM_OK);
    EXPECT_EQ(child->GetParent(), nullptr);
    EXPECT_EQ(other->DeleteChild(child.Get()), D3DRMERR_NOTFOUND);
}

TEST_F(FrameTest, HierarchyBoxIsInTheFramesOwnCoordinates) {
    Ref<MeshBuilder> cube;
    rm->CreateMeshBuilder(&cube);
    cube->AddVertex(-1, -1, -1);
    cube->AddVertex(1, 1, 1);
    child->AddVisual(cube.Get());
    Box box;
    ASSERT_EQ(parent->GetHierarchyBox(&box), D3DRM_OK);
    EXPECT_THAT(box.min, VectorNear(Vector{0, 1, 2}, 1e-6f));
    EXPECT_THAT(box.max, VectorNear(Vector{2, 3, 4}, 1e-6f));

    Ref<Frame> empty;
    rm->CreateFrame(nullptr, &empty);
    EXPECT_NE(empty->GetHierarchyBox(&box), D3DRM_OK);
}

TEST_F(FrameTest, MoveAppliesSpinAboutTheOwnOriginToTheWholeTree) {
    child->SetRotation(child.Get(), 0, 1, 0, kHalfPi / 2);
    scene->Move(2.0f);
    Quaternion q;
    child->GetQuaternion(parent.Get(), &q);
    EXPECT_THAT(q, RotationNear(QuaternionFromRotation({0, 1, 0}, kHalfPi), 1e-5f));
    Vector p;
    child->GetPosition(parent.Get(), &p);
    EXPECT_THAT(p, VectorNear(Vector{1, 2, 3}, 1e-5f));
}
