#pragma once

// What the scene library reads from a .x file, flattened into plain values that two reads
// can be compared by: the frame tree (depth first), each frame's matrix and meshes, and
// the first animation set with its keys.

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rm/Context.h"

namespace testing_xfile {

struct FaceLookView {
    rm::D3DCOLOR color = 0;
    bool hasMaterial = false;
    float power = 0;
    rm::Vector specular;
    rm::Vector emissive;
    std::string texture;
};

struct MeshView {
    std::string name;
    std::vector<rm::Vector> positions;
    std::vector<std::vector<std::uint32_t>> faces;
    std::vector<rm::Vector> normals;
    std::vector<std::vector<std::uint32_t>> faceNormals;
    std::vector<float> uv;
    std::vector<FaceLookView> looks;
};

struct FrameView {
    std::string name;
    int depth = 0;
    rm::Matrix4 local;
    std::vector<MeshView> meshes;
};

struct AnimationView {
    std::string name;
    std::string frame;
    std::vector<rm::AnimationKey> keys;
};

struct SceneView {
    bool hasFrames = false;
    std::vector<FrameView> frames;
    bool hasSet = false;
    std::string setName;
    std::vector<AnimationView> animations;
};

inline MeshView ViewOf(rm::MeshBuilder& builder) {
    MeshView mesh;
    mesh.name = builder.Name();
    std::uint32_t n = builder.GetVertexCount();
    mesh.positions.resize(n);
    builder.GetVertices(0, &n, mesh.positions.data());
    for (std::uint32_t i = 0; i < n; ++i) {
        float u = 0, v = 0;
        builder.GetTextureCoordinates(i, &u, &v);
        mesh.uv.push_back(u);
        mesh.uv.push_back(v);
    }
    n = builder.GetNormalCount();
    mesh.normals.resize(n);
    builder.GetNormals(0, &n, mesh.normals.data());
    for (std::uint32_t f = 0; f < builder.GetFaceCount(); ++f) {
        std::vector<std::uint32_t> vertices, normals;
        for (std::uint32_t c = 0; c < builder.FaceCornerCount(f); ++c) {
            vertices.push_back(builder.FaceVertexIndex(f, c));
            normals.push_back(builder.FaceNormalIndex(f, c));
        }
        mesh.faces.push_back(vertices);
        mesh.faceNormals.push_back(normals);
        FaceLookView look;
        look.color = builder.FaceColor(f);
        if (rm::Material* material = builder.FaceMaterial(f)) {
            look.hasMaterial = true;
            look.power = material->GetPower();
            material->GetSpecular(&look.specular.x, &look.specular.y, &look.specular.z);
            material->GetEmissive(&look.emissive.x, &look.emissive.y, &look.emissive.z);
        }
        if (rm::Texture* texture = builder.FaceTexture(f)) {
            look.texture = texture->Name();
        }
        mesh.looks.push_back(look);
    }
    return mesh;
}

inline void AddFrames(rm::Frame* frame, int depth, std::vector<FrameView>* out) {
    FrameView view;
    view.name = frame->Name();
    view.depth = depth;
    view.local = frame->LocalTransform();
    for (const auto& visual : frame->Visuals()) {
        if (auto* builder = dynamic_cast<rm::MeshBuilder*>(visual.Get())) {
            view.meshes.push_back(ViewOf(*builder));
        }
    }
    out->push_back(std::move(view));
    for (const auto& child : frame->Children()) {
        AddFrames(child.Get(), depth + 1, out);
    }
}

/// Reads path with the scene library's three loads as the editor's loads see it (from the
/// file's own folder). Keys at negative times are left out: nothing in the editor sees them.
inline SceneView ReadScene(rm::Context& d3drm, const std::string& path) {
    SceneView scene;
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path file(path);
    std::filesystem::current_path(file.parent_path());
    const std::string name = file.filename().string();

    rm::Ref<rm::Frame> root;
    d3drm.CreateFrame(nullptr, &root);
    if (rm::Succeeded(root->Load(name.c_str())) && !root->Children().empty()) {
        scene.hasFrames = true;
        for (const auto& child : root->Children()) {
            AddFrames(child.Get(), 0, &scene.frames);
        }
    }
    rm::Ref<rm::Frame> parent;
    rm::Ref<rm::AnimationSet> set;
    d3drm.CreateFrame(nullptr, &parent);
    d3drm.CreateAnimationSet(&set);
    if (rm::Succeeded(set->Load(name.c_str(), parent.Get()))) {
        scene.hasSet = true;
        scene.setName = set->Name();
        for (const auto& animation : set->Animations()) {
            AnimationView view;
            view.name = animation->Name();
            if (const auto frame = animation->GetFrame()) {
                view.frame = frame->Name();
            }
            for (const rm::AnimationKey& key : animation->Keys()) {
                if (key.dvTime >= 0) {
                    view.keys.push_back(key);
                }
            }
            scene.animations.push_back(std::move(view));
        }
    }
    std::filesystem::current_path(previous);
    return scene;
}

/// Equal within what "%f" keeps of a 32-bit value: half a unit of the sixth decimal, plus
/// the rounding of the value read back to 32 bits.
/// compare(a[i], b[i], i) for every i, once the two lists are found to be the same size.
template <typename T, typename Compare>
void ForEachPair(const std::vector<T>& a, const std::vector<T>& b, Compare compare) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        compare(a[i], b[i], i);
    }
}

inline bool NearAsWritten(float written, float read) {
    return std::fabs(double(written) - double(read)) <=
           5e-7 + std::fabs(double(written)) * 1.2e-7 + 1e-9;
}

} // namespace testing_xfile
