#include "platform/rm/GlDrawPrograms.h"

#include <vector>

#include <epoxy/gl.h>

namespace rm {

namespace {

constexpr const char* kHeader = "#version 330 core\n";

// Shared by the stages that light: the face colour is lit by the summed ambient light
// and by each light that falls on the front of the surface; specular highlights follow
// the material's power (none at power 0).
constexpr const char* kLighting = R"(
uniform vec3 uAmbient;
uniform int uLightCount;
uniform vec4 uLightVector[8];
uniform vec3 uLightColor[8];
uniform vec4 uEye;
uniform vec3 uEmissive;
uniform vec3 uSpecular;
uniform float uPower;

vec3 TowardsEye(vec3 p) {
    return uEye.w != 0.0 ? normalize(uEye.xyz - p) : uEye.xyz;
}

void LightSurface(vec3 p, vec3 n, vec3 base, out vec3 diffuse, out vec3 specular) {
    vec3 received = uAmbient;
    vec3 shine = vec3(0.0);
    vec3 e = TowardsEye(p);
    for (int i = 0; i < uLightCount; ++i) {
        vec3 l = uLightVector[i].w == 0.0 ? -uLightVector[i].xyz
                                          : normalize(uLightVector[i].xyz - p);
        float nl = dot(n, l);
        if (nl > 0.0) {
            received += uLightColor[i] * nl;
            if (uPower > 0.0) {
                vec3 h = normalize(l + e);
                shine += uLightColor[i] * pow(max(dot(n, h), 0.0), uPower);
            }
        }
    }
    diffuse = uEmissive + base * received;
    specular = uSpecular * shine;
}
)";

constexpr const char* kVertex = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexCoord;
layout(location = 3) in vec4 aColor;
uniform mat4 uModel;
uniform mat4 uViewClip;
uniform mat3 uNormalMatrix;
uniform int uLighting;
out vec3 VS_OUT_World;
out vec2 VS_OUT_TexCoord;
out vec4 VS_OUT_Color;
out vec3 VS_OUT_Specular;
void main() {
    vec4 world = uModel * vec4(aPosition, 1.0);
    gl_Position = uViewClip * world;
    VS_OUT_World = world.xyz;
    VS_OUT_TexCoord = aTexCoord;
    VS_OUT_Color = aColor;
    VS_OUT_Specular = vec3(0.0);
    if (uLighting == 1) {
        vec3 n = uNormalMatrix * aNormal;
        float len = length(n);
        if (len > 0.0) {
            vec3 d, s;
            LightSurface(world.xyz, n / len, aColor.rgb, d, s);
            VS_OUT_Color = vec4(d, aColor.a);
            VS_OUT_Specular = s;
        }
    }
}
)";

constexpr const char* kWireGeometry = R"(
layout(lines_adjacency) in;
layout(line_strip, max_vertices = 2) out;
uniform int uLighting;
uniform float uMirror;
in vec3 gWorld[];
in vec2 gTexCoord[];
in vec4 gColor[];
in vec3 gSpecular[];
out vec3 vWorld;
out vec2 vTexCoord;
out vec4 vColor;
out vec3 vSpecular;
void main() {
    vec3 a = gWorld[0], b = gWorld[1], c = gWorld[2];
    // Clockwise faces, as seen, are the front ones: their normal points at the eye. A
    // mirroring frame turns the winding over, and uMirror (-1) turns it back.
    vec3 n = cross(b - a, c - a) * uMirror;
    vec3 towards = uEye.w != 0.0 ? uEye.xyz - a : uEye.xyz;
    if (dot(n, towards) <= 0.0) {
        return;
    }
    float len = length(n);
    for (int i = 0; i < 2; ++i) {
        vColor = gColor[i];
        vSpecular = gSpecular[i];
        if (uLighting == 2 && len > 0.0) {
            vec3 d, s;
            LightSurface(gWorld[i], n / len, gColor[i].rgb, d, s);
            vColor = vec4(d, gColor[i].a);
            vSpecular = s;
        }
        vWorld = gWorld[i];
        vTexCoord = gTexCoord[i];
        gl_Position = gl_in[i].gl_Position;
        EmitVertex();
    }
    EndPrimitive();
}
)";

constexpr const char* kFragment = R"(
in vec3 vWorld;
in vec2 vTexCoord;
in vec4 vColor;
in vec3 vSpecular;
uniform int uLighting;
uniform int uTextured;
uniform int uFaceNormals;
uniform sampler2D uTexture;
out vec4 fragColor;
void main() {
    vec4 base = vColor;
    vec3 shine = vSpecular;
    if (uLighting == 2 && uFaceNormals != 0) {
        // Flat shading: the face normal from the screen-space slopes of the position.
        vec3 n = cross(dFdx(vWorld), dFdy(vWorld));
        float len = length(n);
        n = len > 0.0 ? n / len : TowardsEye(vWorld);
        if (dot(n, TowardsEye(vWorld)) < 0.0) {
            n = -n;
        }
        vec3 d;
        LightSurface(vWorld, n, vColor.rgb, d, shine);
        base = vec4(d, vColor.a);
    }
    if (uTextured != 0) {
        base.rgb *= texture(uTexture, vTexCoord).rgb;
    }
    fragColor = vec4(base.rgb + shine, base.a);
}
)";

unsigned Compile(GLenum stage, const std::vector<const char*>& parts, std::string* error) {
    const GLuint shader = glCreateShader(stage);
    glShaderSource(shader, GLsizei(parts.size()), parts.data(), nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        *error = log;
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

unsigned Link(const std::vector<unsigned>& shaders, std::string* error) {
    const GLuint program = glCreateProgram();
    for (unsigned s : shaders) {
        glAttachShader(program, s);
    }
    glBindAttribLocation(program, 0, "aPosition");
    glLinkProgram(program);
    for (unsigned s : shaders) {
        glDetachShader(program, s);
        glDeleteShader(s);
    }
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        *error = log;
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

GlDrawPrograms::Locations Find(unsigned program) {
    GlDrawPrograms::Locations l;
    l.model = glGetUniformLocation(program, "uModel");
    l.viewClip = glGetUniformLocation(program, "uViewClip");
    l.normalMatrix = glGetUniformLocation(program, "uNormalMatrix");
    l.lighting = glGetUniformLocation(program, "uLighting");
    l.ambient = glGetUniformLocation(program, "uAmbient");
    l.lightCount = glGetUniformLocation(program, "uLightCount");
    l.lightVector = glGetUniformLocation(program, "uLightVector");
    l.lightColor = glGetUniformLocation(program, "uLightColor");
    l.eye = glGetUniformLocation(program, "uEye");
    l.emissive = glGetUniformLocation(program, "uEmissive");
    l.specular = glGetUniformLocation(program, "uSpecular");
    l.power = glGetUniformLocation(program, "uPower");
    l.textured = glGetUniformLocation(program, "uTextured");
    l.texture = glGetUniformLocation(program, "uTexture");
    l.faceNormals = glGetUniformLocation(program, "uFaceNormals");
    l.mirror = glGetUniformLocation(program, "uMirror");
    return l;
}

} // namespace

bool GlDrawPrograms::Create(std::string* error) {
    std::string ignored;
    std::string& log = error ? *error : ignored;
    // The vertex stage feeds the fragment stage directly in the fill program and the
    // geometry stage in the wire program; only the output names differ.
    const std::string fillNames = "#define VS_OUT_World vWorld\n#define VS_OUT_TexCoord "
                                  "vTexCoord\n#define VS_OUT_Color vColor\n#define "
                                  "VS_OUT_Specular vSpecular\n";
    const std::string wireNames = "#define VS_OUT_World gWorld\n#define VS_OUT_TexCoord "
                                  "gTexCoord\n#define VS_OUT_Color gColor\n#define "
                                  "VS_OUT_Specular gSpecular\n";

    const unsigned fillVs =
        Compile(GL_VERTEX_SHADER, {kHeader, fillNames.c_str(), kLighting, kVertex}, &log);
    const unsigned fillFs =
        fillVs ? Compile(GL_FRAGMENT_SHADER, {kHeader, kLighting, kFragment}, &log) : 0;
    m_programs[kFill] = fillFs ? Link({fillVs, fillFs}, &log) : 0;
    if (!m_programs[kFill]) {
        if (fillVs && !fillFs) {
            glDeleteShader(fillVs);
        }
        Destroy();
        return false;
    }
    const unsigned wireVs =
        Compile(GL_VERTEX_SHADER, {kHeader, wireNames.c_str(), kLighting, kVertex}, &log);
    const unsigned wireGs =
        wireVs ? Compile(GL_GEOMETRY_SHADER, {kHeader, kLighting, kWireGeometry}, &log) : 0;
    const unsigned wireFs =
        wireGs ? Compile(GL_FRAGMENT_SHADER, {kHeader, kLighting, kFragment}, &log) : 0;
    m_programs[kWire] = wireFs ? Link({wireVs, wireGs, wireFs}, &log) : 0;
    if (!m_programs[kWire]) {
        if (wireVs && !wireFs) {
            glDeleteShader(wireVs);
            if (wireGs) {
                glDeleteShader(wireGs);
            }
        }
        Destroy();
        return false;
    }
    for (int k = 0; k < kKindCount; ++k) {
        m_locations[k] = Find(m_programs[k]);
        glUseProgram(m_programs[k]);
        glUniform1i(m_locations[k].texture, 0);
    }
    glUseProgram(0);
    return true;
}

void GlDrawPrograms::Destroy() {
    for (unsigned& p : m_programs) {
        if (p) {
            glDeleteProgram(p);
            p = 0;
        }
    }
}

} // namespace rm
