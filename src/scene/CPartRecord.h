#pragma once

#include <optional>
#include <string>

#include "platform/NonCopyable.h"
#include "platform/rm/Animation.h"
#include "platform/rm/Frame.h"
#include "scene/CNameRecord.h"
#include "scene/ObjectList.h"

/// Bookkeeping for one part (frame) of a model, stored in the frame's application data.
struct CPartRecord : private platform::NonCopyable {
    /// The animation that drives this part in the bound animation set; borrowed, null
    /// when none.
    rm::Animation* animation = nullptr;
    /// The frame's base name after naming (null before).
    std::optional<std::string> baseName;
    /// The frame's name as read from the file (null when it had none).
    std::optional<std::string> fileName;
    /// The names the frame's visuals had in the file, one record per named visual; each
    /// record is also stored in its visual's application data.
    ObjectList<CNameRecord> visualNames;
    /// The frame the record belongs to, so the record can take itself out of the frame's
    /// application data when it is freed.
    rm::Ref<rm::Frame> frame;

    CPartRecord() = default;
    ~CPartRecord();

    /// The record a frame carries, or null.
    static CPartRecord* Of(const rm::Frame* frame);
    /// Frees the visual name records, taking each out of its visual's application data.
    void ClearVisualNames();
};
