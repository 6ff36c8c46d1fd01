#include "platform/rm/Device.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include "platform/rm/DebugOutput.h"
#include "platform/rm/Implementation/FrameWalk.h"
#include "platform/rm/Implementation/GlDrawPrograms.h"
#include "platform/rm/Implementation/GlDrawTextures.h"
#include "platform/rm/Implementation/HeapReserve.h"
#include "platform/rm/Implementation/MeshCache.h"
#include "platform/rm/Math.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/MeshBuilder.h"

namespace rm {

namespace {

// Lights found in the tree being drawn.
struct LightSet {
    float ambient[3] = {0, 0, 0};
    int parallelCount = 0;
    float parallel[GlDrawPrograms::kMaxLights * 3] = {};
    float parallelColours[GlDrawPrograms::kMaxLights * 3] = {};
    int pointCount = 0;
    float points[GlDrawPrograms::kMaxLights * 3] = {};
    float pointColours[GlDrawPrograms::kMaxLights * 3] = {};
};

// The device's quality `a` lowered to a builder group's `b`. Shading is lowered to flat
// only: a group that shades smoothly takes the device's smooth mode, per vertex or per pixel.
D3DRMRENDERQUALITY LowerOf(D3DRMRENDERQUALITY a, D3DRMRENDERQUALITY b) {
    const std::uint32_t shade =
        (b & D3DRMSHADE_MASK) == D3DRMSHADE_FLAT ? D3DRMSHADE_FLAT : (a & D3DRMSHADE_MASK);
    return shade | std::min(a & D3DRMLIGHT_MASK, b & D3DRMLIGHT_MASK) |
           std::min(a & D3DRMFILL_MASK, b & D3DRMFILL_MASK);
}

std::uint32_t EnableFlags(const Visual* visual) {
    if (const auto* m = dynamic_cast<const Mesh*>(visual)) {
        return m->GetEnable();
    }
    if (const auto* b = dynamic_cast<const MeshBuilder*>(visual)) {
        return b->GetEnable();
    }
    return D3DRMMESHBUILDER_RENDERENABLE;
}

// Normals go through the inverse transpose of the frame's linear part; with row vectors
// that is n (W^-1)^T. Uploaded as stored, the shader's matrix * n computes exactly that.
void NormalMatrix(const Matrix4& world, float out[9]) {
    Matrix4 inverse;
    MatrixInvert(world, &inverse);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            out[r * 3 + c] = inverse.m[c][r];
        }
    }
}

float Determinant3(const Matrix4& m) {
    return m.m[0][0] * (m.m[1][1] * m.m[2][2] - m.m[1][2] * m.m[2][1]) -
           m.m[0][1] * (m.m[1][0] * m.m[2][2] - m.m[1][2] * m.m[2][0]) +
           m.m[0][2] * (m.m[1][0] * m.m[2][1] - m.m[1][1] * m.m[2][0]);
}

void GatherLights(const std::vector<FrameWalk::Entry>& walk, LightSet* lights) {
    *lights = LightSet{};
    for (const auto& [frame, world] : walk) {
        for (const auto& light : frame->GetLights()) {
            const float r = light->Red(), g = light->Green(), b = light->Blue();
            if (light->GetType() == D3DRMLIGHT_AMBIENT) {
                lights->ambient[0] += r;
                lights->ambient[1] += g;
                lights->ambient[2] += b;
                continue;
            }
            const bool parallel = light->GetType() == D3DRMLIGHT_DIRECTIONAL ||
                                  light->GetType() == D3DRMLIGHT_PARALLELPOINT;
            int& count = parallel ? lights->parallelCount : lights->pointCount;
            if (count == GlDrawPrograms::kMaxLights) {
                continue;
            }
            float* v = (parallel ? lights->parallel : lights->points) + 3 * count;
            if (parallel) {
                // A parallel light shines along its frame's +z axis.
                Vector d{world.m[2][0], world.m[2][1], world.m[2][2]};
                if (!VectorNormalize(&d)) {
                    continue;
                }
                v[0] = d.x, v[1] = d.y, v[2] = d.z;
            } else {
                v[0] = world.m[3][0], v[1] = world.m[3][1], v[2] = world.m[3][2];
            }
            float* c = (parallel ? lights->parallelColours : lights->pointColours) + 3 * count;
            c[0] = r, c[1] = g, c[2] = b;
            ++count;
        }
    }
}

} // namespace

std::size_t Device::GpuSkinBones() {
    // PAVRIX_CPU_SKINNING=1 deforms on the CPU, =0 in the vertex stage. Unset, a software
    // rasteriser deforms on the CPU: it runs vertex stages on one thread, shading a vertex
    // again for each batch of triangles it is in, where the CPU deforms each vertex once
    // (bench_render measures both).
    const char* cpu = std::getenv("PAVRIX_CPU_SKINNING");
    bool onCpu = false;
    if (cpu != nullptr && *cpu != '\0') {
        onCpu = std::string(cpu) != "0";
    } else {
        onCpu = SoftwareRenderer();
    }
    if (onCpu) {
        return 0;
    }
    GLint components = 0;
    glGetIntegerv(GL_MAX_VERTEX_UNIFORM_COMPONENTS, &components);
    // Room kept for the other uniforms of the vertex stage; 12 floats a bone, one matrix
    // for the rigid vertices, and a palette rounded up to a multiple of 32.
    const int matrices = (components - 256) / 12 / 32 * 32;
    return matrices > 1 ? std::size_t(matrices - 1) : 0;
}

bool Device::SoftwareRenderer() {
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const std::string name = renderer ? renderer : "";
    return name.find("llvmpipe") != std::string::npos ||
           name.find("softpipe") != std::string::npos || name.find("swrast") != std::string::npos;
}

// What every program of one RenderTree call shares.
struct Device::SharedUniforms {
    Matrix4 worldToClip;
    Vector4 eye;
    LightSet lights;
};

Device::Device(DeviceTarget target)
    : m_target(std::move(target)), m_programs(std::make_unique<GlDrawPrograms>()),
      m_cache(std::make_unique<MeshCache>()), m_textures(std::make_unique<GlDrawTextures>()),
      m_walk(std::make_unique<FrameWalk>()), m_shared(std::make_unique<SharedUniforms>()) {}

HRESULT Device::Create(const DeviceTarget& target, Ref<Device>* device) {
    if (!device) {
        return D3DRMERR_BADVALUE;
    }
    *device = nullptr;
    if (target.width < 1 || target.height < 1) {
        return D3DRMERR_BADVALUE;
    }
    Ref<Device> created = Ref<Device>::Adopt(new Device(target));
    if (!created->MakeCurrent() || epoxy_gl_version() < 33) {
        return D3DRMERR_BADDEVICE;
    }
    std::string error;
    if (!created->m_programs->Create(&error)) {
        OutputDebugStringA(("Device: shaders do not build: " + error + "\n").c_str());
        return D3DRMERR_BADDEVICE;
    }
    created->m_textures->Create();
    created->m_cache->SetGpuSkinning(GpuSkinBones());
    if (SoftwareRenderer()) {
        created->m_cache->SetRewriteInPlace(true);
        KeepFreedMemoryForReuse();
    }
    created->m_ready = true;
    *device = created;
    return D3DRM_OK;
}

Device::~Device() {
    if (m_ready && MakeCurrent()) {
        m_cache->Clear();
        m_textures->Clear();
        m_programs->Destroy();
    }
}

bool Device::MakeCurrent() {
    if (m_target.makeCurrent) {
        if (!m_target.makeCurrent()) {
            return false;
        }
    } else if (eglGetCurrentContext() == EGL_NO_CONTEXT) {
        return false;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_target.framebuffer);
    return true;
}

HRESULT Device::SetQuality(D3DRMRENDERQUALITY quality) {
    m_quality = quality;
    return D3DRM_OK;
}

HRESULT Device::SetDither(int dither) {
    m_dither = dither ? 1 : 0;
    return D3DRM_OK;
}

HRESULT Device::SetTextureQuality(D3DRMTEXTUREQUALITY quality) {
    if (quality > D3DRMTEXTURE_LINEARMIPLINEAR) {
        return D3DRMERR_BADVALUE;
    }
    m_textureQuality = quality;
    return D3DRM_OK;
}

HRESULT Device::SetBufferCount(std::uint32_t count) {
    if (count == 0) {
        return D3DRMERR_BADVALUE;
    }
    m_bufferCount = count;
    return D3DRM_OK;
}

HRESULT Device::SetShades(std::uint32_t shades) {
    if (shades == 0 || (shades & (shades - 1)) != 0) {
        return D3DRMERR_BADVALUE;
    }
    m_shades = shades;
    return D3DRM_OK;
}

HRESULT Device::Update() {
    if (!m_ready || !MakeCurrent()) {
        return D3DRMERR_BADDEVICE;
    }
    glFlush();
    m_cache->Sweep();
    m_textures->Sweep();
    ++m_updates;
    return D3DRM_OK;
}

HRESULT Device::ClearRect(int x, int y, int width, int height, std::uint32_t flags,
                          D3DCOLOR background) {
    if (!m_ready || !MakeCurrent()) {
        return D3DRMERR_BADDEVICE;
    }
    GLbitfield mask = 0;
    if (flags & 1) {
        mask |= GL_COLOR_BUFFER_BIT;
        glClearColor(ColorGetRed(background), ColorGetGreen(background), ColorGetBlue(background),
                     1.0f);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    }
    if (flags & 2) {
        mask |= GL_DEPTH_BUFFER_BIT;
        glClearDepth(1.0);
        glDepthMask(GL_TRUE);
    }
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, m_target.height - y - height, width, height);
    if (mask) {
        glClear(mask);
    }
    return D3DRM_OK;
}

HRESULT Device::RenderTree(const Frame* root, const ViewState& view) {
    if (!root) {
        return D3DRMERR_BADOBJECT;
    }
    if (!m_ready || !MakeCurrent()) {
        return D3DRMERR_BADDEVICE;
    }
    const int glY = m_target.height - view.y - view.height;
    glViewport(view.x, glY, view.width, view.height);
    glEnable(GL_SCISSOR_TEST);
    glScissor(view.x, glY, view.width, view.height);

    // Depth-first, parents before children, the order the tree is drawn in when the
    // z-buffer is off.
    m_walk->Walk(root);
    const bool ghost = m_tint[3] > 0;
    if (!ghost) {
        GatherLights(m_walk->Entries(), &m_shared->lights);
    }
    m_shared->worldToClip = view.worldToClip;
    m_shared->eye = view.eye;
    ++m_frameSerial;

    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK); // clockwise as seen is the front (set per visual)
    if (root->GetZbufferMode() == D3DRMZBUFFER_DISABLE) {
        glDisable(GL_DEPTH_TEST);
    } else {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glDepthMask(ghost ? GL_FALSE : GL_TRUE);
    }
    if (m_dither) {
        glEnable(GL_DITHER);
    } else {
        glDisable(GL_DITHER);
    }
    glDisable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glActiveTexture(GL_TEXTURE0);
    const bool linear = m_textureQuality == D3DRMTEXTURE_LINEAR ||
                        m_textureQuality == D3DRMTEXTURE_LINEARMIPNEAREST ||
                        m_textureQuality == D3DRMTEXTURE_LINEARMIPLINEAR;
    glBindSampler(0, m_textures->Sampler(linear));
    m_currentProgram = 0;

    for (const auto& [frame, world] : m_walk->Entries()) {
        for (const auto& visual : frame->Visuals()) {
            if (EnableFlags(visual.Get()) & D3DRMMESHBUILDER_RENDERENABLE) {
                DrawVisual(visual.Get(), world);
            }
        }
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glBindVertexArray(0);
    glUseProgram(0);
    m_currentProgram = 0;
    return D3DRM_OK;
}

void Device::DrawVisual(Visual* visual, const Matrix4& frameWorld) {
    const MeshCache::Entry* entry = m_cache->Get(visual, m_walk.get(), frameWorld);
    if (!entry || entry->groups.empty()) {
        return;
    }
    const bool gpuSkin = entry->skin && entry->skin->onGpu;
    const int skinMatrices = gpuSkin ? int(entry->skin->palette.size() / 12) : 0;
    // A skinned mesh's vertices are deformed into world coordinates already.
    const Matrix4 world = entry->skin ? Matrix4{} : frameWorld;
    float normalMatrix[9];
    NormalMatrix(world, normalMatrix);
    const Matrix4 modelClip = MatrixMultiply(world, m_shared->worldToClip);
    // Faces are culled by their winding in their own frame: a frame that mirrors (as
    // exporters converting between handednesses write) turns the winding on screen over.
    const bool mirrored =
        entry->skin ? entry->skin->deformer.Mirrored() : Determinant3(frameWorld) < 0;
    glFrontFace(mirrored ? GL_CCW : GL_CW);
    glBindVertexArray(entry->vertexArray);
    // Programs already given this visual's matrices.
    unsigned matricesFor[4] = {0, 0, 0, 0};
    int matricesCount = 0;
    for (const auto& group : entry->groups) {
        D3DRMRENDERQUALITY quality = m_quality;
        if (group.hasQuality) {
            quality = entry->fromBuilder ? LowerOf(m_quality, group.quality) : group.quality;
        }
        const std::uint32_t fill = quality & D3DRMFILL_MASK;
        const bool lit = (quality & D3DRMLIGHT_MASK) != D3DRMLIGHT_OFF;
        const bool flat = (quality & D3DRMSHADE_MASK) == D3DRMSHADE_FLAT;
        const bool phong = (quality & D3DRMSHADE_MASK) == D3DRMSHADE_PHONG;
        const auto kind =
            fill == D3DRMFILL_WIREFRAME ? GlDrawPrograms::kWire : GlDrawPrograms::kFill;
        // Points have no face to take a normal from: they are lit per vertex, as are the
        // edges of the wireframe in Phong shading (a pixel of a line has no surface).
        const auto lighting = !lit                                 ? GlDrawPrograms::kUnlit
                              : (flat && fill != D3DRMFILL_POINTS) ? GlDrawPrograms::kPerFace
                              : (phong && fill == D3DRMFILL_SOLID) ? GlDrawPrograms::kPerPixel
                                                                   : GlDrawPrograms::kPerVertex;
        const unsigned texture = m_textures->Get(group.texture.Get());
        float emissive[3] = {0, 0, 0}, specular[3] = {0, 0, 0}, power = 0;
        if (const Material* m = group.material.Get()) {
            m->GetEmissive(&emissive[0], &emissive[1], &emissive[2]);
            m->GetSpecular(&specular[0], &specular[1], &specular[2]);
            power = m->GetPower();
        }
        const bool shines = power > 0 && (specular[0] > 0 || specular[1] > 0 || specular[2] > 0);
        GlDrawPrograms::Variant variant;
        variant.kind = kind;
        variant.lighting = lighting;
        variant.textured = texture != 0;
        variant.specular = shines;
        variant.parallelLights = m_shared->lights.parallelCount;
        variant.pointLights = m_shared->lights.pointCount;
        variant.bones = gpuSkin ? GlDrawPrograms::SkinCapacity(std::size_t(skinMatrices)) : 0;
        if (kind == GlDrawPrograms::kWire && !entry->edgesBuilt && !m_cache->Edges(visual)) {
            continue;
        }
        std::string error;
        GlDrawPrograms::Program* program = m_programs->Get(variant, &error);
        if (!program) {
            if (!error.empty()) {
                OutputDebugStringA(("Device: shaders do not build: " + error + "\n").c_str());
            }
            continue;
        }
        const auto& u = program->uniforms;
        if (program->name != m_currentProgram) {
            glUseProgram(program->name);
            m_currentProgram = program->name;
        }
        if (program->frame != m_frameSerial) {
            const LightSet& lights = m_shared->lights;
            glUniform3fv(u.ambient, 1, lights.ambient);
            if (lights.parallelCount) {
                glUniform3fv(u.parallel, lights.parallelCount, lights.parallel);
                glUniform3fv(u.parallelColor, lights.parallelCount, lights.parallelColours);
            }
            if (lights.pointCount) {
                glUniform3fv(u.point, lights.pointCount, lights.points);
                glUniform3fv(u.pointColor, lights.pointCount, lights.pointColours);
            }
            const Vector4& eye = m_shared->eye;
            glUniform4f(u.eye, eye.x, eye.y, eye.z, eye.w);
            glUniform4fv(u.tint, 1, m_tint);
            program->frame = m_frameSerial;
        }
        if (std::find(matricesFor, matricesFor + matricesCount, program->name) ==
            matricesFor + matricesCount) {
            glUniformMatrix4fv(u.modelClip, 1, GL_FALSE, &modelClip.m[0][0]);
            glUniformMatrix4fv(u.model, 1, GL_FALSE, &world.m[0][0]);
            glUniformMatrix3fv(u.normalMatrix, 1, GL_FALSE, normalMatrix);
            glUniform1f(u.mirror, mirrored ? -1.0f : 1.0f);
            if (gpuSkin) {
                glUniform4fv(u.bones, 3 * skinMatrices, entry->skin->palette.data());
                glUniform1i(u.rigid, skinMatrices - 1);
            }
            if (matricesCount < 4) {
                matricesFor[matricesCount++] = program->name;
            }
        }
        glUniform3fv(u.emissive, 1, emissive);
        glUniform3fv(u.specular, 1, specular);
        glUniform1f(u.power, power);
        if (texture) {
            glBindTexture(GL_TEXTURE_2D, texture);
        }
        if (group.translucent || m_tint[3] > 0) {
            glEnable(GL_BLEND);
        } else {
            glDisable(GL_BLEND);
        }
        if (kind == GlDrawPrograms::kWire) {
            // The edges have their own buffer; the vertex array keeps the triangles'.
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, entry->edgeBuffer);
            glDrawElements(GL_LINES_ADJACENCY, GLsizei(group.edgeIndexCount), GL_UNSIGNED_INT,
                           reinterpret_cast<const void*>(group.edgeOffset));
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, entry->indexBuffer);
        } else {
            glPolygonMode(GL_FRONT_AND_BACK, fill == D3DRMFILL_POINTS ? GL_POINT : GL_FILL);
            glDrawElements(GL_TRIANGLES, GLsizei(group.triangleIndexCount), GL_UNSIGNED_INT,
                           reinterpret_cast<const void*>(group.triangleOffset));
        }
        m_trianglesDrawn += group.triangles;
    }
}

} // namespace rm
