// Drawing a 100,000-triangle model at 640 x 480 through the device layer (viewport clear,
// render of the scene tree, device update) against "the limit": one bare draw call of the
// same triangles, already in world coordinates, with a pass-through shader, in the same
// context and target. A second peer, "the lit limit", is the same single draw with the
// per-vertex lighting the device does (ambient plus one parallel light), so the layer's
// own cost shows apart from the cost of lighting. Everything waits for the drawing to
// finish (glFinish), so the times are frame times. At the end the program prints each
// model's median time as a ratio to both limits.
//
// Models: one mesh of 100,000 triangles; the same count split over 16 parts (frames); the
// single mesh with every vertex moved each frame (what the skin does), which also uploads
// the vertices; and a skinned mesh of 100,000 vertices (199,000 triangles) on a chain of
// 60 bones, four weights a vertex, every bone turning each frame, against the limits of
// its own triangles. They are drawn with the device's default quality (Gouraud, lit,
// solid); PAVRIX_BENCH_QUALITY=<number> (e.g. 0x88 for flat) draws them with another.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include "BenchMain.h"
#include "BenchView.h"
#include "platform/rm/Context.h"
#include "platform/rm/Math.h"

namespace {

using bench::kHeight;
using bench::kWidth;

enum class Model { OneMesh, SixteenParts, Skinned };

constexpr int kBones = 60;

// A skinned sphere of 100,000 vertices on a chain of bones from its bottom to its top:
// each vertex is weighted to the four bones nearest its height.
rm::Ref<rm::MeshBuilder> MakeSkinnedSphere(bench::BenchView* view, rm::Frame* part,
                                           std::vector<rm::Ref<rm::Frame>>* bones) {
    auto sphere = bench::MakeSphere(view->D3DRM(), 5, 500, 199);
    rm::MeshSkin skin;
    rm::Frame* parent = part;
    const float step = 10.0f / float(kBones - 1);
    for (int b = 0; b < kBones; ++b) {
        rm::Ref<rm::Frame> bone;
        view->D3DRM()->CreateFrame(parent, &bone);
        const std::string name = "bone" + std::to_string(b);
        bone->SetName(name.c_str());
        bone->SetPosition(parent, 0, b == 0 ? -5 : step, 0);
        bones->push_back(bone);
        parent = bone.Get();
        skin.bones.push_back({name, {}, {}, rm::MatrixTranslation({0, 5 - step * float(b), 0})});
    }
    for (std::uint32_t v = 0; v < sphere->GetVertexCount(); ++v) {
        rm::Vector p;
        std::uint32_t one = 1;
        sphere->GetVertices(v, &one, &p);
        const float t = (p.y + 5) / step;
        const int first = std::clamp(int(t) - 1, 0, kBones - 4);
        float weights[4], total = 0;
        for (int k = 0; k < 4; ++k) {
            weights[k] = std::max(0.05f, 1 - std::abs(t - float(first + k)) / 2);
            total += weights[k];
        }
        for (int k = 0; k < 4; ++k) {
            skin.bones[std::size_t(first + k)].vertices.push_back(v);
            skin.bones[std::size_t(first + k)].weights.push_back(weights[k] / total);
        }
    }
    skin.maxWeightsPerVertex = 4;
    sphere->SetSkin(std::move(skin));
    return sphere;
}

// The editor's scene with a model, the device layer on the software rasteriser, and the
// bare peer's GL objects in the same context.
class Bench {
public:
    explicit Bench(Model model) {
        if (!m_view.Ok()) {
            return;
        }
        rm::Context* d3drm = m_view.D3DRM();
        if (model == Model::OneMesh) {
            AddPart(bench::ToMesh(bench::MakeSphere(d3drm, 5, 250, 200)), {0, 0, 0});
        } else if (model == Model::SixteenParts) {
            // 4 x 4 spheres of 6,250 triangles each.
            for (int i = 0; i < 16; ++i) {
                AddPart(bench::ToMesh(bench::MakeSphere(d3drm, 1.5f, 125, 25)),
                        {-5.4f + 3.6f * float(i % 4), -4.2f + 2.8f * float(i / 4), 0});
            }
        } else {
            rm::Frame* part = m_view.AddPart(nullptr, {0, 0, 0});
            auto sphere = MakeSkinnedSphere(&m_view, part, &m_bones);
            part->AddVisual(sphere.Get());
            m_meshes.push_back(bench::ToMesh(sphere)); // the rest pose, for the peers
        }
        BuildPeer();
    }
    ~Bench() {
        if (m_view.Ok() && m_view.Device()->D3DDevice() &&
            m_view.Device()->D3DDevice()->MakeCurrent()) {
            glDeleteProgram(m_program);
            glDeleteProgram(m_litProgram);
            glDeleteVertexArrays(1, &m_vao);
            glDeleteBuffers(2, m_buffers);
        }
    }

    bool Ok() const { return m_view.Ok(); }
    void SetQuality(std::uint32_t q) { m_view.Device()->D3DRMDevice()->SetQuality(q); }
    std::uint32_t Triangles() const { return m_indexCount / 3; }
    rm::Mesh* FirstMesh() const { return m_meshes.front().Get(); }

    /// Turns every bone of the skinned model a little, differently each call.
    void Pose() {
        ++m_poses;
        for (std::size_t b = 0; b < m_bones.size(); ++b) {
            rm::Vector at;
            m_bones[b]->GetPosition(m_bones[b]->GetParent(), &at);
            const float angle = 0.01f * std::sin(float(m_poses) * 0.7f + float(b));
            m_bones[b]->AddTransform(
                rm::D3DRMCOMBINE_REPLACE,
                rm::MatrixMultiply(
                    rm::MatrixFromQuaternion(rm::QuaternionFromRotation({0, 0, 1}, angle)),
                    rm::MatrixTranslation(at)));
        }
    }

    void DrawModel() {
        rm::Viewport* viewport = m_view.Viewport();
        viewport->Clear(rm::D3DRMCLEAR_ALL);
        viewport->Render(m_view.SceneRoot());
        m_view.Device()->D3DRMDevice()->Update();
        glFinish();
    }

    void DrawPeer(bool lit) {
        m_view.Device()->D3DDevice()->MakeCurrent();
        glViewport(0, 0, kWidth, kHeight);
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0.5f, 0.5f, 0.5f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CW);
        const GLuint program = lit ? m_litProgram : m_program;
        glUseProgram(program);
        glUniformMatrix4fv(glGetUniformLocation(program, "c"), 1, GL_FALSE, &m_worldToClip.m[0][0]);
        glBindVertexArray(m_vao);
        glDrawElements(GL_TRIANGLES, GLsizei(m_indexCount), GL_UNSIGNED_INT, nullptr);
        glBindVertexArray(0);
        glUseProgram(0);
        glFinish();
    }

private:
    void AddPart(rm::Ref<rm::Mesh> mesh, const rm::Vector& at) {
        m_view.AddPart(mesh.Get(), at);
        m_meshes.push_back(mesh);
    }

    void BuildPeer() {
        // The same triangles, moved to world coordinates once: position, normal, colour.
        std::vector<rm::MeshVertex> positions;
        std::vector<std::uint32_t> indices;
        for (std::size_t p = 0; p < m_meshes.size(); ++p) {
            const rm::Matrix4 world = m_view.Parts()[p]->WorldTransform();
            const rm::Mesh& mesh = *m_meshes[p];
            for (std::uint32_t g = 0; g < mesh.GetGroupCount(); ++g) {
                const auto base = std::uint32_t(positions.size());
                for (rm::MeshVertex v : mesh.GroupVertices(rm::Mesh::D3DRMGROUPINDEX(g))) {
                    v.position = rm::TransformPoint(v.position, world);
                    v.normal = rm::TransformDirection(v.normal, world);
                    positions.push_back(v);
                }
                const auto& faces = mesh.GroupFaces(rm::Mesh::D3DRMGROUPINDEX(g));
                for (std::size_t w = 0; w < faces.size();) {
                    const std::uint32_t n = faces[w++];
                    for (std::uint32_t i = 1; i + 1 < n; ++i) {
                        indices.insert(indices.end(), {base + faces[w], base + faces[w + i],
                                                       base + faces[w + i + 1]});
                    }
                    w += n;
                }
            }
        }
        m_indexCount = std::uint32_t(indices.size());
        rm::Matrix4 view;
        rm::MatrixInvert(m_view.Camera()->WorldTransform(), &view);
        m_worldToClip = rm::MatrixMultiply(view, m_view.Viewport()->Projection().ClipMatrix());

        m_view.Device()->D3DDevice()->MakeCurrent();
        m_program = Program(
            "#version 330 core\nlayout(location = 0) in vec3 p;\nuniform mat4 c;\n"
            "void main() { gl_Position = c * vec4(p, 1.0); }\n",
            "#version 330 core\nout vec4 o;\nvoid main() { o = vec4(0.8, 0.6, 0.4, 1.0); }\n");
        m_litProgram = Program(
            "#version 330 core\nlayout(location = 0) in vec3 p;\nlayout(location = 1) in vec3 n;\n"
            "layout(location = 3) in vec4 k;\nuniform mat4 c;\nout vec4 v;\n"
            "void main() {\n"
            "  gl_Position = c * vec4(p, 1.0);\n"
            "  vec3 l = normalize(vec3(50.0, 100.0, -50.0));\n"
            "  v = vec4(k.rgb * (vec3(0.4) + vec3(0.8) * max(dot(normalize(n), l), 0.0)), k.a);\n"
            "}\n",
            "#version 330 core\nin vec4 v;\nout vec4 o;\nvoid main() { o = v; }\n");
        glGenVertexArrays(1, &m_vao);
        glGenBuffers(2, m_buffers);
        glBindVertexArray(m_vao);
        glBindBuffer(GL_ARRAY_BUFFER, m_buffers[0]);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(positions.size() * sizeof(rm::MeshVertex)),
                     positions.data(), GL_STATIC_DRAW);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_buffers[1]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(std::uint32_t)),
                     indices.data(), GL_STATIC_DRAW);
        const auto stride = GLsizei(sizeof(rm::MeshVertex));
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void*>(offsetof(rm::MeshVertex, normal)));
        glEnableVertexAttribArray(3);
        glVertexAttribPointer(3, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              reinterpret_cast<void*>(offsetof(rm::MeshVertex, color)));
        glBindVertexArray(0);
    }

    static GLuint Program(const char* vs, const char* fs) {
        const GLuint v = glCreateShader(GL_VERTEX_SHADER);
        glShaderSource(v, 1, &vs, nullptr);
        glCompileShader(v);
        const GLuint f = glCreateShader(GL_FRAGMENT_SHADER);
        glShaderSource(f, 1, &fs, nullptr);
        glCompileShader(f);
        const GLuint program = glCreateProgram();
        glAttachShader(program, v);
        glAttachShader(program, f);
        glLinkProgram(program);
        glDeleteShader(v);
        glDeleteShader(f);
        return program;
    }

    bench::BenchView m_view;
    std::vector<rm::Ref<rm::Mesh>> m_meshes;
    std::vector<rm::Ref<rm::Frame>> m_bones;
    int m_poses = 0;
    rm::Matrix4 m_worldToClip;
    GLuint m_program = 0, m_litProgram = 0, m_vao = 0, m_buffers[2] = {0, 0};
    std::uint32_t m_indexCount = 0;
};

enum class Draw { Model, Limit, LitLimit };

void Run(benchmark::State& state, Model model, Draw draw, bool moving) {
    Bench bench(model);
    if (!bench.Ok()) {
        state.SkipWithError("no OpenGL 3.3 context on the software rasteriser");
        return;
    }
    const bool movingVertices = moving && model != Model::Skinned;
    std::vector<rm::MeshVertex> vertices;
    if (movingVertices) {
        vertices = bench.FirstMesh()->GroupVertices(0);
    }
    if (const char* q = std::getenv("PAVRIX_BENCH_QUALITY")) {
        bench.SetQuality(std::uint32_t(std::strtoul(q, nullptr, 0)));
    }
    auto frame = [&] {
        if (draw == Draw::Model) {
            bench.DrawModel();
        } else {
            bench.DrawPeer(draw == Draw::LitLimit);
        }
    };
    // The first frame builds the buffers; frames are timed from the second on.
    frame();
    float wobble = 0;
    for (auto _ : state) {
        if (movingVertices) {
            wobble = wobble > 0 ? -0.001f : 0.001f;
            for (auto& v : vertices) {
                v.position.y += wobble;
            }
            bench.FirstMesh()->SetVertices(0, 0, std::uint32_t(vertices.size()), vertices.data());
        } else if (moving) {
            bench.Pose();
        }
        frame();
    }
    state.counters["triangles"] = double(bench.Triangles());
}

// Prints the usual table, then each model's time as a ratio to the limit of its model.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            // Keep the registered name (the library appends the run options); with
            // repetitions the median stands for the benchmark.
            const std::string name = run.run_name.function_name;
            if (run.run_type == Run::RT_Iteration && !m_times.count(name + "#median")) {
                m_times[name] = run.GetAdjustedRealTime();
            } else if (run.aggregate_name == "median") {
                m_times[name] = run.GetAdjustedRealTime();
                m_times[name + "#median"] = 1;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        struct Pair {
            const char* model;
            const char* suffix; // which model's limits
        };
        const Pair pairs[] = {{"DrawModel/OneMesh", "OneMesh"},
                              {"DrawModel/SixteenParts", "SixteenParts"},
                              {"DrawModel/OneMeshVerticesMoving", "OneMesh"},
                              {"DrawModel/SkinnedBonesMoving", "Skinned"}};
        std::printf("\nRatio to the limit (target: within 1.5) and to the lit limit:\n");
        for (const Pair& p : pairs) {
            const auto m = m_times.find(p.model);
            const auto l = m_times.find(std::string("TheLimit/") + p.suffix);
            const auto lit = m_times.find(std::string("TheLitLimit/") + p.suffix);
            if (m == m_times.end() || l == m_times.end() || lit == m_times.end()) {
                continue;
            }
            std::printf("  %-32s %7.2f ms   limit %6.2f ms = %.2f   lit limit %6.2f ms = %.2f\n",
                        p.model, m->second, l->second, m->second / l->second, lit->second,
                        m->second / lit->second);
        }
    }

private:
    std::map<std::string, double> m_times;
};

} // namespace

int main(int argc, char** argv) {
    struct Case {
        const char* name;
        Model model;
        Draw draw;
        bool moving;
    };
    const Case cases[] = {{"TheLimit/OneMesh", Model::OneMesh, Draw::Limit, false},
                          {"TheLitLimit/OneMesh", Model::OneMesh, Draw::LitLimit, false},
                          {"DrawModel/OneMesh", Model::OneMesh, Draw::Model, false},
                          {"TheLimit/SixteenParts", Model::SixteenParts, Draw::Limit, false},
                          {"TheLitLimit/SixteenParts", Model::SixteenParts, Draw::LitLimit, false},
                          {"DrawModel/SixteenParts", Model::SixteenParts, Draw::Model, false},
                          {"DrawModel/OneMeshVerticesMoving", Model::OneMesh, Draw::Model, true},
                          {"TheLimit/Skinned", Model::Skinned, Draw::Limit, false},
                          {"TheLitLimit/Skinned", Model::Skinned, Draw::LitLimit, false},
                          {"DrawModel/SkinnedBonesMoving", Model::Skinned, Draw::Model, true}};
    for (const Case& c : cases) {
        benchmark::RegisterBenchmark(c.name, Run, c.model, c.draw, c.moving)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MinTime(1.0);
    }
    RatioReporter reporter;
    return RunBenchmarks(argc, argv, BenchRun(&reporter));
}
