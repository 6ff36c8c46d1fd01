#pragma once

namespace rm {

/// Keeps memory the process frees for the next frame instead of handing it back to the
/// system at once. A software rasteriser allocates and frees several megabytes for each
/// draw; with the C library's defaults every frame then maps fresh pages and pays a fault
/// for each of them. Takes effect once per process; later calls do nothing.
void KeepFreedMemoryForReuse();

} // namespace rm
