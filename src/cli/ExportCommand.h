#pragma once

#include <ostream>
#include <span>
#include <string>

namespace cli {

/// `pavrix --export IN OUT [--animation SET]`: opens IN as File Open does and writes it as
/// glTF 2.0 to OUT (.glb, or .gltf with its .bin and images beside it), as File ▸ Export
/// does; SET keeps that animation set alone (one of the file's sets by name, else a file
/// whose sets replace them). Sets without AnimTicksPerSecond play at the editor's
/// starting speed, 30 key-time units per second.
///
/// `pavrix --export IN_DIR OUT_DIR [-j N]`: every .x file below IN_DIR becomes a .glb
/// file at the same place under OUT_DIR, N files at a time (default: the number of
/// processors), each in a process of its own, so one bad file never stops the others.
/// A progress line names the files done, the total and the file being finished; the
/// files that failed are listed with their reasons at the end.
///
/// Status kExitOk when everything was written, kExitFailed when some file could not be
/// read or written, kExitUsage for a wrong command line.
int RunExport(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace cli
