#pragma once

namespace rm {

/// What a read may leave out.
struct XFileReadOptions {
    /// Off: Mesh objects are stepped over unread (their content is not checked and frames'
    /// {references} to meshes are not resolved), for loads that take only frames and
    /// animations.
    bool readMeshes = true;
};

} // namespace rm
