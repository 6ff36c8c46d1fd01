#include "platform/rm/Object.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "platform/rm/Context.h"

using namespace rm;

namespace {

class Probe : public Object {
public:
    explicit Probe(int* deaths) : m_deaths(deaths) {}
    ~Probe() override { ++*m_deaths; }
    const char* ClassName() const override { return "Probe"; }

private:
    int* m_deaths;
};

} // namespace

TEST(ObjectTest, NameSizeQueryAndRead) {
    auto frame = MakeRef<Frame>();
    std::uint32_t size = 99;
    ASSERT_EQ(frame->GetName(&size, nullptr), D3DRM_OK);
    EXPECT_EQ(size, 0u) << "an unnamed object reports size 0";

    frame->SetName("Arm@1f");
    ASSERT_EQ(frame->GetName(&size, nullptr), D3DRM_OK);
    EXPECT_EQ(size, 7u) << "length + terminator";

    char small[4] = {'x', 'x', 'x', 'x'};
    size = sizeof small;
    EXPECT_EQ(frame->GetName(&size, small), D3DRMERR_BADVALUE);
    EXPECT_EQ(small[0], 'x') << "nothing written into a buffer that is too small";

    char buffer[16];
    size = sizeof buffer;
    ASSERT_EQ(frame->GetName(&size, buffer), D3DRM_OK);
    EXPECT_STREQ(buffer, "Arm@1f");
    EXPECT_EQ(size, 7u);

    for (const char* none : {static_cast<const char*>(nullptr), ""}) {
        frame->SetName(none);
        ASSERT_EQ(frame->GetName(&size, nullptr), D3DRM_OK);
        EXPECT_EQ(size, 0u);
        EXPECT_FALSE(frame->HasName());
    }
}

TEST(ObjectTest, NamesKeepTheirBytes) {
    auto frame = MakeRef<Frame>();
    const std::string shiftJis = "\x83\x65\x83\x58\x83\x67"; // bytes read from a Japanese file
    frame->SetName(shiftJis.c_str());
    EXPECT_EQ(frame->Name(), shiftJis);
}

TEST(ObjectTest, ReferenceCountingDeletesAtZero) {
    int deaths = 0;
    {
        Ref<Probe> a = MakeRef<Probe>(&deaths);
        EXPECT_EQ(a->RefCount(), 1u);
        {
            Ref<Probe> b = a;
            EXPECT_EQ(a->RefCount(), 2u);
        }
        EXPECT_EQ(a->RefCount(), 1u);
        EXPECT_EQ(deaths, 0);
    }
    EXPECT_EQ(deaths, 1);
}

TEST(ObjectTest, ClassNamesAndAppData) {
    Ref<Context> rm;
    ASSERT_EQ(Direct3DRMCreate(&rm), D3DRM_OK);
    Ref<MeshBuilder> builder;
    rm->CreateMeshBuilder(&builder);
    Ref<Mesh> mesh;
    builder->CreateMesh(&mesh);
    Ref<Frame> frame;
    rm->CreateFrame(nullptr, &frame);
    EXPECT_STREQ(builder->GetClassName(), "Builder");
    EXPECT_STREQ(mesh->GetClassName(), "Mesh");
    EXPECT_STREQ(frame->GetClassName(), "Frame");
    std::uint32_t size = 0;
    builder->GetClassName(&size, nullptr);
    EXPECT_EQ(size, 8u);

    EXPECT_EQ(frame->GetAppData(), 0u);
    frame->SetAppData(0x1234);
    EXPECT_EQ(frame->GetAppData(), 0x1234u);
}
