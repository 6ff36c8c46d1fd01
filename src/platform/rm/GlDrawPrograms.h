#pragma once

#include <string>

namespace rm {

/// The two shader programs the device draws with, compiled in the device's GL context.
///
/// Fill draws triangles (solid, or points through the polygon mode); Wire draws polygon
/// edges given as line-adjacency quadruples (a, b, c, a): the edge a-b of a face whose
/// third corner c fixes the face's winding, so a geometry shader can drop the edges of
/// faces turned away and light them with the face normal. Both take the vertex layout of
/// MeshVertex (position, normal, texture coordinates, BGRA colour at location 0-3).
///
/// Matrices follow the scene library (row vectors): they are uploaded as stored and the
/// shaders multiply matrix * vector, which is p M.
class GlDrawPrograms {
public:
    enum Kind { kFill = 0, kWire = 1, kKindCount = 2 };

    /// Uniform locations of one program.
    struct Locations {
        int model = -1;
        int viewClip = -1;
        int normalMatrix = -1;
        int lighting = -1; // 0 unlit, 1 per vertex, 2 per face
        int ambient = -1;
        int lightCount = -1;
        int lightVector = -1; // xyz: travel direction (w 0) or position (w 1)
        int lightColor = -1;
        int eye = -1; // xyz: eye position (w 1) or direction towards the eye (w 0)
        int emissive = -1;
        int specular = -1;
        int power = -1;
        int textured = -1;
        int texture = -1;
        int faceNormals = -1; // fragment stage lights with the face normal
        int mirror = -1;      // -1 when the frame mirrors (wire program only)
    };

    /// The most lights one draw takes into account (ambient lights are summed apart).
    static constexpr int kMaxLights = 8;

    GlDrawPrograms() = default;
    GlDrawPrograms(const GlDrawPrograms&) = delete;
    GlDrawPrograms& operator=(const GlDrawPrograms&) = delete;

    /// Compiles and links both programs in the current context; on failure returns false
    /// with the compiler's log in *error and leaves nothing behind.
    bool Create(std::string* error);
    /// Deletes the programs (current context).
    void Destroy();

    unsigned Program(Kind kind) const { return m_programs[kind]; }
    const Locations& Uniforms(Kind kind) const { return m_locations[kind]; }

private:
    unsigned m_programs[kKindCount] = {0, 0};
    Locations m_locations[kKindCount];
};

} // namespace rm
