#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "platform/NonCopyable.h"

namespace rm {

/// The shader programs the device draws with, compiled in the device's GL context.
///
/// Fill programs draw triangles (solid, or points through the polygon mode; flat ones
/// light each triangle once, with its face normal, in a geometry stage); wire
/// programs draw polygon edges given as line-adjacency quadruples (a, b, c, a): the edge
/// a-b of a face whose third corner c fixes the face's winding, so a geometry shader can
/// drop the edges of faces turned away and light them with the face normal. All take the
/// vertex layout of MeshVertex (position, normal, texture coordinates, BGRA colour at
/// locations 0-3).
///
/// Each variant (kind, lighting, texturing, highlights, number of parallel and of point
/// lights) is its own program, built the first time it is asked for: software rasterisers
/// run both sides of every branch and loop to the longest lane, so a shader that decided
/// these at run time would pay for all of them on every vertex and pixel.
///
/// Matrices follow the scene library (row vectors): they are uploaded as stored and the
/// shaders multiply matrix * vector, which is p M.
///
/// A skinned variant (bones > 0) deforms in the vertex stage as SkinDeformer::Deform does:
/// bone indices and weights come as attributes 4 (four unsigned integers) and 5 (four
/// floats; a bone left out weighs 0), the matrices as the uniform array uBones, three vec4
/// columns each (SkinDeformer::CopyPalette: the bones, then the matrix of vertices without
/// placed weight, whose index is uRigid). The result is in world
/// coordinates, so such draws give identity model matrices.
class GlDrawPrograms : private platform::NonCopyable {
public:
    enum Kind { kFill = 0, kWire = 1 };
    /// Lighting: none, per vertex (Gouraud, and points), per face (flat), per pixel from
    /// the normals interpolated across the triangle (Phong; fill programs only).
    enum Lighting { kUnlit = 0, kPerVertex = 1, kPerFace = 2, kPerPixel = 3 };

    /// The most parallel lights, and the most point lights, a draw takes into account
    /// (ambient lights are summed apart).
    static constexpr int kMaxLights = 8;

    struct Variant {
        Kind kind = kFill;
        Lighting lighting = kUnlit;
        bool textured = false;
        bool specular = false;
        int parallelLights = 0;
        int pointLights = 0;
        /// Room in uBones (bones plus one); 0: not skinned. See SkinCapacity.
        int bones = 0;
    };

    /// The uBones room of a variant for a palette of `matrices` matrices: rounded up to a
    /// multiple of 32, so skins of similar size share a program.
    static int SkinCapacity(std::size_t matrices) { return int((matrices + 31) / 32 * 32); }

    /// Uniform locations of one program (-1 where the program does not use it).
    struct Locations {
        int modelClip = -1; // model to clip space
        int model = -1;     // model to world space
        int normalMatrix = -1;
        int ambient = -1;
        int parallel = -1; // travel directions of the parallel lights
        int parallelColor = -1;
        int point = -1; // positions of the point lights
        int pointColor = -1;
        int eye = -1; // xyz: eye position (w 1) or direction towards the eye (w 0)
        int emissive = -1;
        int specular = -1;
        int power = -1;
        int texture = -1;
        int mirror = -1; // -1 when the frame mirrors (geometry stages)
        int bones = -1;
        int rigid = -1; // index of the rigid matrix in uBones
        int tint = -1;  // ghost colour and alpha (Device::SetTint); alpha 0: none
    };

    /// One built program.
    struct Program {
        unsigned name = 0;
        Locations uniforms;
        /// The RenderTree call whose shared uniforms (lights, eye) it holds; see Device.
        std::uint64_t frame = 0;
        bool failed = false;
    };

    GlDrawPrograms() = default;

    /// Builds the programs the editor draws with first (Gouraud fill with one parallel
    /// light, unlit wire) in the current context, proving the shaders build; on failure
    /// returns false with the compiler's log in *error.
    bool Create(std::string* error);
    /// The program of the variant, built on first use (current context); null when it
    /// does not build (the log goes to *error once). Light counts are clamped to
    /// kMaxLights; an unlit variant ignores lights and highlights.
    Program* Get(Variant variant, std::string* error);
    /// Deletes the programs (current context).
    void Destroy();
    std::size_t Size() const { return m_programs.size(); }

private:
    std::unordered_map<std::uint32_t, Program> m_programs;
};

} // namespace rm
