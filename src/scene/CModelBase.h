#pragma once

#include <string>
#include <vector>

#include "platform/NonCopyable.h"
#include "platform/rm/Frame.h"
#include "scene/WeldList.h"

/// A model's frame tree and what works on all of it: naming, scaling, orientation reset,
/// mesh conversion and the morphing skin. The root frame is made (without a parent) when
/// the model is made and released when it is destroyed; the caller attaches it to a scene.
class CModelBase : private platform::NonCopyable {
public:
    CModelBase();
    /// Frees the welds, detaches the root from its parent and releases it.
    virtual ~CModelBase();

    /// Gives the subtree of frame its working names (frame-name rule for model frames:
    /// "FRAME" prefixes removed, "@<id>" appended, unnamed frames numbered with
    /// m_tempNameCount, visual names emptied), recursing through this same operation.
    /// 0 for a null frame.
    virtual int NamePartsAndRecord(rm::Frame* frame);

    /// Multiplies the rest position of every frame of the subtree (relative to its parent;
    /// the subtree root's too) and the size of every mesh by the factors; skin weights' offset
    /// matrices follow (ScaleSkinOffsets).
    int Scale(rm::Frame* frame, float sx, float sy, float sz);
    /// Turns the rest transform of every frame of the subtree except the model's root to
    /// the plain orientation relative to its parent (direction +z, up +y); positions stay.
    /// Frames are left at rest: the caller poses them again.
    int ResetOrientation(rm::Frame* frame);
    /// Replaces every mesh-builder visual of the subtree by a mesh with the same geometry;
    /// builders with skin weights stay as they are. A mesh's vertices are laid out anew, so
    /// the data objects a converted builder kept from its file (rm::CarriedObject) describe
    /// vertices that are gone: they are dropped, each named in *dropped when given as
    /// "<template> (mesh <name>)".
    int ConvertMeshBuilders(rm::Frame* frame, std::vector<std::string>* dropped = nullptr);
    /// Removes the root from parent, or from its own parent when parent is null.
    int DetachFromScene(rm::Frame* parent);

    /// Switches the morphing skin on: meshes instead of builders, plain orientation (at
    /// rest), then the welds of every vertex shared by parts (meshes with skin weights take no
    /// part). 0 without a root frame. Kept data objects that the conversion drops are named
    /// in *dropped (see ConvertMeshBuilders).
    int EnableSkin(std::vector<std::string>* dropped = nullptr);
    /// Moves the welded vertices after a change of pose. 0 while the skin is off.
    int UpdateSkin();

    rm::Frame* Root() const { return m_root.Get(); }
    bool SkinOn() const { return m_skinOn != 0; }
    const scene::WeldList& Welds() const { return m_welds; }

protected:
    rm::Ref<rm::Frame> m_root;
    int m_tempNameCount = 0;
    int m_skinOn = 0;
    float m_weldTolerance = 0.005f;
    scene::WeldList m_welds;
};
