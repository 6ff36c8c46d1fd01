#pragma once

#include <cstddef>

namespace rm {

/// What a read may leave out.
struct XFileReadOptions {
    /// Off: Mesh objects are stepped over unread (their content is not checked and frames'
    /// {references} to meshes are not resolved), for loads that take only frames and
    /// animations.
    bool readMeshes = true;
    /// In text content, a Mesh of at least this many bytes may be read on a second thread
    /// while the file goes on being read on the first (0: every mesh in turn on one
    /// thread); one of fewer than a 64th as many vertices is read in turn without being
    /// measured. The document is the same either way.
    std::size_t asideMeshBytes = 64 * 1024;
};

} // namespace rm
