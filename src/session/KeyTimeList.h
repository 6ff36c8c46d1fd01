#pragma once

namespace session {

/// Whether a refresh of the key range rebuilds the key-time list from the current
/// animation set first (after keys changed) or shows the list as it is.
enum class KeyTimeList {
    Keep,
    Rebuild,
};

} // namespace session
