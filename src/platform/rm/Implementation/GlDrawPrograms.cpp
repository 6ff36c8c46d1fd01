#include "platform/rm/Implementation/GlDrawPrograms.h"

#include <vector>

#include <epoxy/gl.h>

namespace rm {

namespace {

constexpr const char* kHeader = "#version 330 core\n";

// Shared by the stages that light: the face colour is lit by the summed ambient light
// and by each light that falls on the front of the surface (PARALLEL_COUNT parallel
// lights along their direction, POINT_COUNT point lights from their position); with
// SPECULAR, highlights of the material's power are added.
constexpr const char* kLighting = R"(
uniform vec3 uAmbient;
#if PARALLEL_COUNT > 0
uniform vec3 uParallel[PARALLEL_COUNT];
uniform vec3 uParallelColor[PARALLEL_COUNT];
#endif
#if POINT_COUNT > 0
uniform vec3 uPoint[POINT_COUNT];
uniform vec3 uPointColor[POINT_COUNT];
#endif
uniform vec4 uEye;
uniform vec3 uEmissive;
#if SPECULAR
uniform vec3 uSpecular;
uniform float uPower;
#endif

vec3 TowardsEye(vec3 p) {
    return uEye.w != 0.0 ? normalize(uEye.xyz - p) : uEye.xyz;
}

vec3 Shine(vec3 n, vec3 l, vec3 e, vec3 colour, float nl) {
#if SPECULAR
    return nl > 0.0 ? colour * pow(max(dot(n, normalize(l + e)), 0.0), uPower) : vec3(0.0);
#else
    return vec3(0.0);
#endif
}

void LightSurface(vec3 p, vec3 n, vec3 base, out vec3 diffuse, out vec3 specular) {
    vec3 received = uAmbient;
    specular = vec3(0.0);
#if SPECULAR
    vec3 e = TowardsEye(p);
#else
    vec3 e = vec3(0.0);
#endif
#if PARALLEL_COUNT > 0
    for (int i = 0; i < PARALLEL_COUNT; ++i) {
        vec3 l = -uParallel[i];
        float nl = max(dot(n, l), 0.0);
        received += uParallelColor[i] * nl;
        specular += Shine(n, l, e, uParallelColor[i], nl);
    }
#endif
#if POINT_COUNT > 0
    for (int i = 0; i < POINT_COUNT; ++i) {
        vec3 l = normalize(uPoint[i] - p);
        float nl = max(dot(n, l), 0.0);
        received += uPointColor[i] * nl;
        specular += Shine(n, l, e, uPointColor[i], nl);
    }
#endif
    diffuse = uEmissive + base * received;
#if SPECULAR
    specular *= uSpecular;
#endif
}

// Lights `colour` (its rgb the surface's own) at p with the normal n of any length, and
// sets `shine` to the highlights; a zero normal leaves both as they are. Both outcomes are
// computed and one is picked, without a branch: a software rasteriser shades several
// vertices or pixels at once and would pay for both sides of a branch anyway, and more.
void LightWithNormal(vec3 p, vec3 n, inout vec4 colour, inout vec3 shine) {
    float lengthSquared = dot(n, n);
    vec3 d, s;
    LightSurface(p, n * inversesqrt(max(lengthSquared, 1.17549435e-38)), colour.rgb, d, s);
    bool lit = lengthSquared > 0.0;
    colour = lit ? vec4(d, colour.a) : colour;
    shine = lit ? s : shine;
}
)";

// VS_OUT_* name the vertex stage's outputs: the fragment stage's inputs, or the geometry
// stage's where there is one (wire, and flat fill). World positions are computed only where
// something reads them (NEEDS_WORLD).
constexpr const char* kVertex = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexCoord;
layout(location = 3) in vec4 aColor;
#if SKIN_BONES > 0
layout(location = 4) in uvec4 aBones;
layout(location = 5) in vec4 aWeights;
uniform vec4 uBones[3 * SKIN_BONES];
uniform int uRigid; // the palette's last matrix: that of vertices without placed weight
#endif
uniform mat4 uModelClip;
uniform mat4 uModel;
uniform mat3 uNormalMatrix;
#if NEEDS_WORLD
out vec3 VS_OUT_World;
#endif
#if TEXTURED
out vec2 VS_OUT_TexCoord;
#endif
out vec4 VS_OUT_Color;
#if SPECULAR
out vec3 VS_OUT_Specular;
#endif
#if LIGHTING == 3
out vec3 VS_OUT_Normal;
#endif
void main() {
#if SKIN_BONES > 0
    // The weighted sum of the bones' matrices, each three columns; a bone left out weighs
    // 0, and a vertex without placed weight follows its own frame.
    vec4 c0 = aWeights.x * uBones[3u * aBones.x] + aWeights.y * uBones[3u * aBones.y] +
              aWeights.z * uBones[3u * aBones.z] + aWeights.w * uBones[3u * aBones.w];
    vec4 c1 = aWeights.x * uBones[3u * aBones.x + 1u] + aWeights.y * uBones[3u * aBones.y + 1u] +
              aWeights.z * uBones[3u * aBones.z + 1u] + aWeights.w * uBones[3u * aBones.w + 1u];
    vec4 c2 = aWeights.x * uBones[3u * aBones.x + 2u] + aWeights.y * uBones[3u * aBones.y + 2u] +
              aWeights.z * uBones[3u * aBones.z + 2u] + aWeights.w * uBones[3u * aBones.w + 2u];
    if (aWeights.x + aWeights.y + aWeights.z + aWeights.w == 0.0) {
        c0 = uBones[3 * uRigid];
        c1 = uBones[3 * uRigid + 1];
        c2 = uBones[3 * uRigid + 2];
    }
    vec4 p4 = vec4(aPosition, 1.0);
    vec3 position = vec3(dot(p4, c0), dot(p4, c1), dot(p4, c2));
    vec3 normal = vec3(dot(aNormal, c0.xyz), dot(aNormal, c1.xyz), dot(aNormal, c2.xyz));
    float normalLength = length(normal);
    normal = normalLength > 0.0 ? normal / normalLength : vec3(0.0);
#else
    vec3 position = aPosition;
    vec3 normal = aNormal;
#endif
    gl_Position = uModelClip * vec4(position, 1.0);
#if NEEDS_WORLD
    vec3 world = (uModel * vec4(position, 1.0)).xyz;
    VS_OUT_World = world;
#else
    vec3 world = vec3(0.0);
#endif
#if TEXTURED
    VS_OUT_TexCoord = aTexCoord;
#endif
    VS_OUT_Color = aColor;
#if SPECULAR
    VS_OUT_Specular = vec3(0.0);
#endif
#if LIGHTING == 3
    VS_OUT_Normal = uNormalMatrix * normal;
#endif
#if LIGHTING == 1
    vec4 colour = aColor;
    vec3 shine = vec3(0.0);
    LightWithNormal(world, uNormalMatrix * normal, colour, shine);
    VS_OUT_Color = colour;
#if SPECULAR
    VS_OUT_Specular = shine;
#endif
#endif
}
)";

// What the geometry stages take from the vertex stage and hand the fragment stage.
constexpr const char* kGeometryInterface = R"(
uniform float uMirror;
in vec3 gWorld[];
in vec4 gColor[];
out vec4 vColor;
#if TEXTURED
in vec2 gTexCoord[];
out vec2 vTexCoord;
#endif
#if SPECULAR
in vec3 gSpecular[];
out vec3 vSpecular;
#endif
// Emits corner i of the incoming primitive with the given colour and highlight.
void EmitCorner(int i, vec4 colour, vec3 shine) {
    vColor = colour;
#if SPECULAR
    vSpecular = shine;
#endif
#if TEXTURED
    vTexCoord = gTexCoord[i];
#endif
    gl_Position = gl_in[i].gl_Position;
    EmitVertex();
}
)";

// Each geometry stage's primitives come first: gl_in takes its size from them.
constexpr const char* kWirePrimitives = R"(
layout(lines_adjacency) in;
layout(line_strip, max_vertices = 2) out;
)";
constexpr const char* kFlatPrimitives = R"(
layout(triangles) in;
layout(triangle_strip, max_vertices = 3) out;
)";

constexpr const char* kWireGeometry = R"(
void main() {
    vec3 a = gWorld[0], b = gWorld[1], c = gWorld[2];
    // Clockwise faces, as seen, are the front ones: their normal points at the eye. A
    // mirroring frame turns the winding over, and uMirror (-1) turns it back.
    vec3 n = cross(b - a, c - a) * uMirror;
    vec3 towards = uEye.w != 0.0 ? uEye.xyz - a : uEye.xyz;
    if (dot(n, towards) <= 0.0) {
        return;
    }
    for (int i = 0; i < 2; ++i) {
        vec4 colour = gColor[i];
#if SPECULAR
        vec3 shine = gSpecular[i];
#else
        vec3 shine = vec3(0.0);
#endif
#if LIGHTING == 2
        LightWithNormal(gWorld[i], n, colour, shine);
#endif
        EmitCorner(i, colour, shine);
    }
    EndPrimitive();
}
)";

// Flat shading: one colour per face, lit with the face's normal at its centre (and the
// colour of its first corner).
constexpr const char* kFlatGeometry = R"(
void main() {
    // The face's front normal; a mirroring frame turns the winding over (uMirror -1).
    vec3 n = cross(gWorld[1] - gWorld[0], gWorld[2] - gWorld[0]) * uMirror;
    vec4 colour = gColor[0];
    vec3 shine = vec3(0.0);
    LightWithNormal((gWorld[0] + gWorld[1] + gWorld[2]) / 3.0, n, colour, shine);
    for (int i = 0; i < 3; ++i) {
        EmitCorner(i, colour, shine);
    }
    EndPrimitive();
}
)";

constexpr const char* kFragment = R"(
#if TEXTURED
in vec2 vTexCoord;
uniform sampler2D uTexture;
#endif
in vec4 vColor;
#if SPECULAR
in vec3 vSpecular;
#endif
#if LIGHTING == 3
#if NEEDS_WORLD
in vec3 vWorld;
#endif
in vec3 vNormal;
#endif
uniform vec4 uTint;
out vec4 fragColor;
void main() {
    vec4 base = vColor;
#if SPECULAR
    vec3 shine = vSpecular;
#else
    vec3 shine = vec3(0.0);
#endif
#if LIGHTING == 3
    // Phong: the colour is unlit so far; light it here with the interpolated normal.
    // Parallel lights without highlights need no position: nothing interpolates one then.
#if NEEDS_WORLD
    vec3 world = vWorld;
#else
    vec3 world = vec3(0.0);
#endif
    LightWithNormal(world, vNormal, base, shine);
#endif
#if TEXTURED
    base.rgb *= texture(uTexture, vTexCoord).rgb;
#endif
    fragColor = vec4(base.rgb + shine, base.a);
    if (uTint.a > 0.0) {
        fragColor = vec4(mix(fragColor.rgb, uTint.rgb, 0.5), uTint.a);
    }
}
)";

// A shader or program whose status says it built; otherwise null, with its log in *error
// and the object deleted.
template <typename GetStatus, typename GetLog, typename Delete>
unsigned Built(unsigned object, GLenum status, GetStatus getStatus, GetLog getLog,
               Delete deleteObject, std::string* error) {
    GLint ok = 0;
    getStatus(object, status, &ok);
    if (ok) {
        return object;
    }
    char log[2048] = {};
    getLog(object, sizeof log, nullptr, log);
    *error = log;
    deleteObject(object);
    return 0;
}

unsigned Compile(GLenum stage, const std::vector<const char*>& parts, std::string* error) {
    const GLuint shader = glCreateShader(stage);
    glShaderSource(shader, GLsizei(parts.size()), parts.data(), nullptr);
    glCompileShader(shader);
    return Built(shader, GL_COMPILE_STATUS, glGetShaderiv, glGetShaderInfoLog, glDeleteShader,
                 error);
}

unsigned Link(const std::vector<unsigned>& shaders, std::string* error) {
    const GLuint program = glCreateProgram();
    for (unsigned s : shaders) {
        glAttachShader(program, s);
    }
    glLinkProgram(program);
    for (unsigned s : shaders) {
        glDetachShader(program, s);
    }
    return Built(program, GL_LINK_STATUS, glGetProgramiv, glGetProgramInfoLog, glDeleteProgram,
                 error);
}

GlDrawPrograms::Locations Find(unsigned program) {
    GlDrawPrograms::Locations l;
    l.modelClip = glGetUniformLocation(program, "uModelClip");
    l.model = glGetUniformLocation(program, "uModel");
    l.normalMatrix = glGetUniformLocation(program, "uNormalMatrix");
    l.ambient = glGetUniformLocation(program, "uAmbient");
    l.parallel = glGetUniformLocation(program, "uParallel");
    l.parallelColor = glGetUniformLocation(program, "uParallelColor");
    l.point = glGetUniformLocation(program, "uPoint");
    l.pointColor = glGetUniformLocation(program, "uPointColor");
    l.eye = glGetUniformLocation(program, "uEye");
    l.emissive = glGetUniformLocation(program, "uEmissive");
    l.specular = glGetUniformLocation(program, "uSpecular");
    l.power = glGetUniformLocation(program, "uPower");
    l.texture = glGetUniformLocation(program, "uTexture");
    l.mirror = glGetUniformLocation(program, "uMirror");
    l.bones = glGetUniformLocation(program, "uBones");
    l.rigid = glGetUniformLocation(program, "uRigid");
    l.tint = glGetUniformLocation(program, "uTint");
    return l;
}

unsigned Build(const GlDrawPrograms::Variant& v, std::string* error) {
    const bool wire = v.kind == GlDrawPrograms::kWire;
    const bool flatFill = !wire && v.lighting == GlDrawPrograms::kPerFace;
    const bool geometry = wire || flatFill;
    const bool needsWorld =
        geometry || v.specular || (v.lighting != GlDrawPrograms::kUnlit && v.pointLights > 0);
    std::string defines;
    auto define = [&](const char* name, int value) {
        defines += std::string("#define ") + name + " " + std::to_string(value) + "\n";
    };
    define("LIGHTING", v.lighting);
    define("TEXTURED", v.textured);
    define("SPECULAR", v.specular);
    define("FILL", !wire);
    define("NEEDS_WORLD", needsWorld);
    define("PARALLEL_COUNT", v.parallelLights);
    define("POINT_COUNT", v.pointLights);
    define("SKIN_BONES", v.bones);
    const char* prefix = geometry ? "g" : "v";
    std::string vertexNames;
    for (const char* name : {"World", "TexCoord", "Color", "Specular", "Normal"}) {
        vertexNames += std::string("#define VS_OUT_") + name + " " + prefix + name + "\n";
    }
    std::vector<unsigned> shaders;
    auto stage = [&](GLenum type, const char* body, const std::string& extra) {
        const unsigned s =
            Compile(type, {kHeader, defines.c_str(), extra.c_str(), kLighting, body}, error);
        if (s) {
            shaders.push_back(s);
        }
        return s != 0;
    };
    const bool built = stage(GL_VERTEX_SHADER, kVertex, vertexNames) &&
                       (!wire || stage(GL_GEOMETRY_SHADER, kWireGeometry,
                                       std::string(kWirePrimitives) + kGeometryInterface)) &&
                       (!flatFill || stage(GL_GEOMETRY_SHADER, kFlatGeometry,
                                           std::string(kFlatPrimitives) + kGeometryInterface)) &&
                       stage(GL_FRAGMENT_SHADER, kFragment, "");
    const unsigned program = built ? Link(shaders, error) : 0;
    for (unsigned s : shaders) {
        glDeleteShader(s);
    }
    return program;
}

} // namespace

bool GlDrawPrograms::Create(std::string* error) {
    std::string ignored;
    std::string& log = error ? *error : ignored;
    Variant gouraud;
    gouraud.lighting = kPerVertex;
    gouraud.parallelLights = 1;
    Variant wire;
    wire.kind = kWire;
    if (!Get(gouraud, &log) || !Get(wire, &log)) {
        Destroy();
        return false;
    }
    return true;
}

GlDrawPrograms::Program* GlDrawPrograms::Get(Variant v, std::string* error) {
    auto clamp = [](int n) { return n < 0 ? 0 : n > kMaxLights ? kMaxLights : n; };
    v.parallelLights = clamp(v.parallelLights);
    v.pointLights = clamp(v.pointLights);
    if (v.lighting == kUnlit) {
        // Nothing lit: lights and highlights make no difference.
        v.specular = false;
        v.parallelLights = v.pointLights = 0;
    }
    const std::uint32_t key = std::uint32_t(v.kind) | (std::uint32_t(v.lighting) << 1) |
                              (std::uint32_t(v.textured) << 3) | (std::uint32_t(v.specular) << 4) |
                              (std::uint32_t(v.parallelLights) << 5) |
                              (std::uint32_t(v.pointLights) << 9) |
                              (std::uint32_t(v.bones / 32) << 13);
    Program& p = m_programs[key];
    if (p.name || p.failed) {
        return p.name ? &p : nullptr;
    }
    std::string log;
    p.name = Build(v, &log);
    if (!p.name) {
        p.failed = true;
        if (error) {
            *error = log;
        }
        return nullptr;
    }
    p.uniforms = Find(p.name);
    glUseProgram(p.name);
    glUniform1i(p.uniforms.texture, 0);
    glUseProgram(0);
    return &p;
}

void GlDrawPrograms::Destroy() {
    for (auto& [key, p] : m_programs) {
        if (p.name) {
            glDeleteProgram(p.name);
        }
    }
    m_programs.clear();
}

} // namespace rm
