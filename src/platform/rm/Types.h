#pragma once

// Value types, result codes and constants of the retained-mode scene services.
// Conventions: row vectors, row-major 4x4 matrices with the translation in row 3,
// left-handed, y up, the camera looks along +z.

#include <cstdint>

#include "platform/Result.h"

namespace rm {

using platform::Failed;
using platform::HRESULT;
using platform::MakeDDHResult;
using platform::Succeeded;

inline constexpr HRESULT D3DRM_OK = 0;
inline constexpr HRESULT D3DRMERR_BADOBJECT = MakeDDHResult(781);
inline constexpr HRESULT D3DRMERR_BADTYPE = MakeDDHResult(782);
inline constexpr HRESULT D3DRMERR_BADALLOC = MakeDDHResult(783);
inline constexpr HRESULT D3DRMERR_FACEUSED = MakeDDHResult(784);
inline constexpr HRESULT D3DRMERR_NOTFOUND = MakeDDHResult(785);
inline constexpr HRESULT D3DRMERR_NOTDONEYET = MakeDDHResult(786);
inline constexpr HRESULT D3DRMERR_FILENOTFOUND = MakeDDHResult(787);
inline constexpr HRESULT D3DRMERR_BADFILE = MakeDDHResult(788);
inline constexpr HRESULT D3DRMERR_BADDEVICE = MakeDDHResult(789);
inline constexpr HRESULT D3DRMERR_BADVALUE = MakeDDHResult(790);
inline constexpr HRESULT D3DRMERR_BADMAJORVERSION = MakeDDHResult(791);
inline constexpr HRESULT D3DRMERR_BADMINORVERSION = MakeDDHResult(792);
inline constexpr HRESULT D3DRMERR_UNABLETOEXECUTE = MakeDDHResult(793);

using D3DVALUE = float;
/// Packed colour, 0xAARRGGBB.
using D3DCOLOR = std::uint32_t;

struct Vector {
    float x = 0, y = 0, z = 0;
};

/// Rotation quaternion, scalar part first.
struct Quaternion {
    float s = 1;
    Vector v;
};

/// Row-major 4x4 matrix; points are row vectors multiplied on the left (p' = p M).
struct Matrix4 {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

struct Box {
    Vector min;
    Vector max;
};

// Animation key types as held in memory (the file numbers them one lower).
inline constexpr std::uint32_t D3DRMANIMATION_ROTATEKEY = 1;
inline constexpr std::uint32_t D3DRMANIMATION_SCALEKEY = 2;
inline constexpr std::uint32_t D3DRMANIMATION_POSITIONKEY = 3;

/// One key: 32 bytes, exactly as the animation hands it out and takes it back.
struct AnimationKey {
    std::uint32_t dwSize = sizeof(AnimationKey);
    std::uint32_t dwKeyType = 0;
    float dvTime = 0;
    std::uint32_t dwID = 0;
    union {
        Quaternion dqRotateKey;
        Vector dvScaleKey;
        Vector dvPositionKey;
    };
    AnimationKey() : dqRotateKey{} {}
};
static_assert(sizeof(AnimationKey) == 32);

// Animation options.
inline constexpr std::uint32_t D3DRMANIMATION_OPEN = 0x01;
inline constexpr std::uint32_t D3DRMANIMATION_CLOSED = 0x02;
inline constexpr std::uint32_t D3DRMANIMATION_LINEARPOSITION = 0x04;
inline constexpr std::uint32_t D3DRMANIMATION_SPLINEPOSITION = 0x08;
inline constexpr std::uint32_t D3DRMANIMATION_SCALEANDROTATION = 0x10;
inline constexpr std::uint32_t D3DRMANIMATION_POSITION = 0x20;
/// What a loaded animation gets when its file names no options.
inline constexpr std::uint32_t kDefaultAnimationOptions = 0x36;

/// One vertex of a mesh group: 36 bytes.
struct MeshVertex {
    Vector position;
    Vector normal;
    float tu = 0, tv = 0;
    D3DCOLOR color = 0xFFFFFFFF;
};
static_assert(sizeof(MeshVertex) == 36);

// Frame-combine types for AddTransform and friends.
enum D3DRMCOMBINETYPE : std::uint32_t {
    D3DRMCOMBINE_REPLACE = 0,
    D3DRMCOMBINE_BEFORE = 1,
    D3DRMCOMBINE_AFTER = 2,
};

// Light types.
enum D3DRMLIGHTTYPE : std::uint32_t {
    D3DRMLIGHT_AMBIENT = 0,
    D3DRMLIGHT_POINT = 1,
    D3DRMLIGHT_SPOT = 2,
    D3DRMLIGHT_DIRECTIONAL = 3,
    D3DRMLIGHT_PARALLELPOINT = 4,
};

// LookAt constraints.
enum D3DRMFRAMECONSTRAINT : std::uint32_t {
    D3DRMCONSTRAIN_Z = 0,
    D3DRMCONSTRAIN_Y = 1,
    D3DRMCONSTRAIN_X = 2,
};

// Z-buffer modes of a frame tree.
enum D3DRMZBUFFERMODE : std::uint32_t {
    D3DRMZBUFFER_FROMPARENT = 0,
    D3DRMZBUFFER_ENABLE = 1,
    D3DRMZBUFFER_DISABLE = 2,
};

// Render quality: shade mode (bits 0-2), lighting (bits 3-5), fill (bits 6-8).
using D3DRMRENDERQUALITY = std::uint32_t;
inline constexpr std::uint32_t D3DRMSHADE_FLAT = 0;
inline constexpr std::uint32_t D3DRMSHADE_GOURAUD = 1;
inline constexpr std::uint32_t D3DRMSHADE_PHONG = 2;
inline constexpr std::uint32_t D3DRMSHADE_MASK = 7;
inline constexpr std::uint32_t D3DRMLIGHT_OFF = 0 << 3;
inline constexpr std::uint32_t D3DRMLIGHT_ON = 1 << 3;
inline constexpr std::uint32_t D3DRMLIGHT_MASK = 7 << 3;
inline constexpr std::uint32_t D3DRMFILL_POINTS = 0 << 6;
inline constexpr std::uint32_t D3DRMFILL_WIREFRAME = 1 << 6;
inline constexpr std::uint32_t D3DRMFILL_SOLID = 2 << 6;
inline constexpr std::uint32_t D3DRMFILL_MASK = 7 << 6;
inline constexpr D3DRMRENDERQUALITY D3DRMRENDER_WIREFRAME =
    D3DRMSHADE_FLAT | D3DRMLIGHT_OFF | D3DRMFILL_WIREFRAME;
inline constexpr D3DRMRENDERQUALITY D3DRMRENDER_UNLITFLAT =
    D3DRMSHADE_FLAT | D3DRMLIGHT_OFF | D3DRMFILL_SOLID;
inline constexpr D3DRMRENDERQUALITY D3DRMRENDER_FLAT =
    D3DRMSHADE_FLAT | D3DRMLIGHT_ON | D3DRMFILL_SOLID;
inline constexpr D3DRMRENDERQUALITY D3DRMRENDER_GOURAUD =
    D3DRMSHADE_GOURAUD | D3DRMLIGHT_ON | D3DRMFILL_SOLID;
inline constexpr D3DRMRENDERQUALITY D3DRMRENDER_PHONG =
    D3DRMSHADE_PHONG | D3DRMLIGHT_ON | D3DRMFILL_SOLID;

// Mesh-builder enable flags.
inline constexpr std::uint32_t D3DRMMESHBUILDER_DIRECTPARENT = 0x1;
inline constexpr std::uint32_t D3DRMMESHBUILDER_RENDERENABLE = 0x2;
inline constexpr std::uint32_t D3DRMMESHBUILDER_PICKENABLE = 0x4;

// Load options (only loading from a named file is supported).
inline constexpr std::uint32_t D3DRMLOAD_FROMFILE = 0;

} // namespace rm
