#pragma once

#include <string>

#include "platform/rm/AnimationSet.h"
#include "scene/CModelBase.h"
#include "scene/CPartRecord.h"
#include "scene/ObjectList.h"

/// One loaded model: its frame tree with meshes, and a part record for every frame
/// holding the names read from the file and the animation that drives the part.
class CModelData : public CModelBase {
public:
    CModelData() = default;
    /// Frees every part record (taking each out of its frame), then the base's parts.
    ~CModelData() override;

    /// Loads a .x file into the root frame (scene::LoadModelFile: first as frames, else as
    /// a bare mesh wrapped in a child frame; textures named in it are found beside it, the
    /// working directory is left alone). Then names every frame. 0 on failure, with the
    /// reason in LastError(), naming the file by its bare name ("walk.x:12: …").
    int LoadFile(const char* path);

    /// Records the file names of the subtree, then names it (see CModelBase) and stores
    /// each frame's base name. 0 for a null frame.
    int NamePartsAndRecord(rm::Frame* frame) override;
    /// For each animation of set that drives a frame with a part record, stores the
    /// animation in that record.
    int RecordPartAnimations(rm::AnimationSet* set);
    /// Clears every part record's animation that belongs to set (when the set is unbound,
    /// so no record keeps a pointer to an animation that may go away).
    void ForgetPartAnimations(rm::AnimationSet* set);
    /// Clears every part record's animation.
    void ForgetAllPartAnimations();
    /// Puts the file names back on the subtree's frames and visuals (before a save).
    /// 0 for a frame without a part record.
    int RestoreFileNames(rm::Frame* frame);

    const ObjectList<CPartRecord>& PartRecords() const { return m_partRecords; }
    /// Why the last LoadFile failed (empty after a success).
    const std::string& LastError() const { return m_lastError; }

private:
    void RecordSubtree(rm::Frame* frame);

    ObjectList<CPartRecord> m_partRecords;
    std::string m_lastError;
};

/// Adds an entry to the model library (named after fileName, made unique) and loads the
/// file into it. Null for a null name, without the factory (g_d3drm) or the library, or
/// when the load fails (the entry is removed and the name counter restored); the reason
/// is in *error when error is not null.
CModelData* LoadModel(const char* fileName, std::string* error = nullptr);
/// Removes model from the model library and destroys it; 0 when it is not there.
int RemoveModel(CModelData* model);
