#pragma once

/// Where a cleared edit history leaves the document: Saved, the present state is the saved
/// one; Modified, the saved state is out of reach and the document stays modified until it
/// is saved.
enum class DocumentState {
    Saved,
    Modified,
};
