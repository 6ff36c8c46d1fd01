#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "platform/rm/DeviceTarget.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Object.h"
#include "platform/rm/ViewportProjection.h"

namespace rm {

// Texture filtering.
using D3DRMTEXTUREQUALITY = std::uint32_t;
inline constexpr D3DRMTEXTUREQUALITY D3DRMTEXTURE_NEAREST = 0;
inline constexpr D3DRMTEXTUREQUALITY D3DRMTEXTURE_LINEAR = 1;
inline constexpr D3DRMTEXTUREQUALITY D3DRMTEXTURE_MIPNEAREST = 2;
inline constexpr D3DRMTEXTUREQUALITY D3DRMTEXTURE_MIPLINEAR = 3;
inline constexpr D3DRMTEXTUREQUALITY D3DRMTEXTURE_LINEARMIPNEAREST = 4;
inline constexpr D3DRMTEXTUREQUALITY D3DRMTEXTURE_LINEARMIPLINEAR = 5;

// Colour models.
using D3DCOLORMODEL = std::uint32_t;
inline constexpr D3DCOLORMODEL D3DCOLOR_MONO = 1;
inline constexpr D3DCOLORMODEL D3DCOLOR_RGB = 2;

class FrameWalk;
class GlDrawPrograms;
class GlDrawTextures;
class MeshCache;

/// A drawing device: OpenGL 3.3 core drawing into one framebuffer, with the platform's
/// render settings. Viewports on the device draw frame trees with it.
///
/// Quality: shade (flat: one colour per face, lit with its face normal at its centre;
/// Gouraud: lit per vertex; Phong draws as Gouraud), lights on or off and fill
/// (points, wireframe, solid). A mesh builder with a quality of its own is drawn at the
/// lower of its and the device's setting in each of the three parts; a mesh group with a
/// quality of its own is drawn with exactly that quality; anything else with the device's.
/// Wireframes show polygon edges (no diagonals inside polygons); faces turned away from
/// the camera (counter-clockwise as seen) are not drawn in any fill.
///
/// A mesh builder with skin weights is drawn deformed by its bones, each bone being the
/// first frame of its name in the tree drawn, at that tree's pose (see SkinDeformer). On a
/// hardware rasteriser the vertex stage deforms it (four weights a vertex, the largest where
/// a vertex has more) unless it has more bones than the context's uniforms hold or some rest
/// normal is missing; on a software rasteriser, and in those cases, the CPU deforms it again
/// whenever one of its bones has moved. The environment variable PAVRIX_CPU_SKINNING
/// chooses: 1 the CPU, 0 the vertex stage (where it can).
class Device : public Object {
public:
    /// A device drawing into target. D3DRMERR_BADVALUE for a size below 1;
    /// D3DRMERR_BADDEVICE when no OpenGL 3.3 context can be made current or the shaders
    /// do not build (the reason goes to the debug output).
    static HRESULT Create(const DeviceTarget& target, Ref<Device>* device);
    ~Device() override;

    int GetWidth() const { return m_target.width; }
    int GetHeight() const { return m_target.height; }
    D3DCOLORMODEL GetColorModel() const { return D3DCOLOR_RGB; }

    // The render settings: each Get answers what its Set last took.
    /// Default D3DRMRENDER_FLAT.
    HRESULT SetQuality(D3DRMRENDERQUALITY quality);
    /// Default on.
    HRESULT SetDither(int dither);
    /// Default D3DRMTEXTURE_NEAREST; D3DRMERR_BADVALUE above D3DRMTEXTURE_LINEARMIPLINEAR.
    /// Filtering is linear for LINEAR, LINEARMIPNEAREST and LINEARMIPLINEAR.
    HRESULT SetTextureQuality(D3DRMTEXTUREQUALITY quality);
    /// Default 1; D3DRMERR_BADVALUE for 0.
    HRESULT SetBufferCount(std::uint32_t count);
    /// Shades per colour of the ramp model: a power of two (else D3DRMERR_BADVALUE);
    /// default 32. Drawing in RGB does not use it.
    HRESULT SetShades(std::uint32_t shades);
    D3DRMRENDERQUALITY GetQuality() const { return m_quality; }
    int GetDither() const { return m_dither; }
    D3DRMTEXTUREQUALITY GetTextureQuality() const { return m_textureQuality; }
    std::uint32_t GetBufferCount() const { return m_bufferCount; }
    std::uint32_t GetShades() const { return m_shades; }

    /// Triangles drawn since the device was made (a polygon of n corners counts n - 2,
    /// whatever the fill, including faces then culled as turned away).
    std::uint32_t GetTrianglesDrawn() const { return m_trianglesDrawn; }
    /// Ends a frame: sends the drawing on its way and lets go of the GPU copies of
    /// visuals and textures nobody holds any more. D3DRMERR_BADDEVICE without a context.
    HRESULT Update();
    /// Count of Update calls.
    std::uint64_t GetUpdateCount() const { return m_updates; }

    /// Window-device notifications; drawing off screen needs nothing on them.
    HRESULT HandleActivate(int active) {
        m_active = active != 0;
        return D3DRM_OK;
    }
    HRESULT HandlePaint() { return D3DRM_OK; }

    // Services of the viewports on this device.

    /// What a viewport hands the device to draw one tree.
    struct ViewState {
        /// World to clip space (view times projection), row vectors.
        Matrix4 worldToClip;
        /// Eye position (w 1) or, for parallel projection, the unit direction towards
        /// the eye (w 0), in world coordinates.
        Vector4 eye;
        /// The viewport rectangle in device pixels, y down.
        int x = 0, y = 0, width = 0, height = 0;
    };
    /// Draws root and its subtree (lights found in the tree light it; the root's
    /// z-buffer mode switches depth testing).
    HRESULT RenderTree(const Frame* root, const ViewState& view);
    /// Ghost drawing (onion skin): with `alpha` above 0 the trees drawn next are ghosts,
    /// every colour mixed half and half with (r, g, b) and laid over the picture with
    /// `alpha`, tested against the depth but never writing it, and lit by the lights of
    /// the last tree drawn without a tint (a ghost of a model is a subtree without the
    /// scene's lights). `alpha` 0 ends it. Components 0 to 1.
    void SetTint(float r, float g, float b, float alpha) {
        m_tint[0] = r;
        m_tint[1] = g;
        m_tint[2] = b;
        m_tint[3] = alpha;
    }
    /// Clears the rectangle: the colour to background with D3DRMCLEAR_TARGET (1), the
    /// depth with D3DRMCLEAR_ZBUFFER (2).
    HRESULT ClearRect(int x, int y, int width, int height, std::uint32_t flags,
                      D3DCOLOR background);
    /// The cached GPU copies (for tests).
    const MeshCache& Cache() const { return *m_cache; }

protected:
    const char* ClassName() const override { return "Device"; }

private:
    explicit Device(DeviceTarget target);
    bool MakeCurrent();
    void DrawVisual(Visual* visual, const Matrix4& world);
    /// The most bones a skin deformed in the vertex stage may have in the current context;
    /// 0 for the CPU (see the class comment).
    static std::size_t GpuSkinBones();
    /// Whether the current context rasterises in software (on this machine's cores).
    static bool SoftwareRenderer();

    DeviceTarget m_target;
    D3DRMRENDERQUALITY m_quality = D3DRMRENDER_FLAT;
    int m_dither = 1;
    float m_tint[4] = {0, 0, 0, 0};
    D3DRMTEXTUREQUALITY m_textureQuality = D3DRMTEXTURE_NEAREST;
    std::uint32_t m_bufferCount = 1;
    std::uint32_t m_shades = 32;
    std::uint32_t m_trianglesDrawn = 0;
    std::uint64_t m_updates = 0;
    bool m_active = true;
    bool m_ready = false;

    std::unique_ptr<GlDrawPrograms> m_programs;
    std::unique_ptr<MeshCache> m_cache;
    std::unique_ptr<GlDrawTextures> m_textures;
    // The tree of the draw under way, reused between frames.
    std::unique_ptr<FrameWalk> m_walk;
    unsigned m_currentProgram = 0;
    /// Counts RenderTree calls; a program holds the shared uniforms of the call it last
    /// served and gets them again when it is first used in a later one.
    std::uint64_t m_frameSerial = 0;
    struct SharedUniforms;
    std::unique_ptr<SharedUniforms> m_shared;
};

} // namespace rm
