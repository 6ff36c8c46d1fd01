#pragma once

// The two error reports of the device layer: a failed DirectDraw-style or retained-mode
// result code becomes one readable message on the debugger output (rm::DebugOutput),
// naming the code, the source and the line of the failing call. They never show anything
// to the user and never change the program's state. One thread only: the message is
// built in a program-wide buffer.

#include "platform/rm/Types.h"

namespace render {

/// The name of a DirectDraw result code: one of the 100 DDERR_* names of
/// platform/surface/SurfaceResult.h (five of them share general system codes, e.g. E_FAIL gives
/// "DDERR_GENERIC"), or "Unknown Error". The text is static.
const char* DirectDrawErrorName(rm::HRESULT code);

/// The name of a retained-mode result code, D3DRMERR_BADOBJECT (MAKE_DDHRESULT 781)
/// to D3DRMERR_UNABLETOEXECUTE (793), or "Unknown Error". The text is static.
const char* RetainedModeErrorName(rm::HRESULT code);

/// Writes "DirectDraw Error <name>\nin file <source> at line <line>\n" to the debugger
/// output. A null source is printed as "(null)". The message is cut to 1023 bytes
/// before its final '\n' (only a source name of about 1000 bytes comes near).
void ReportDirectDrawError(rm::HRESULT code, const char* source, int line);

/// Writes "Direct3D-RM Error : <name>\nin file <source> at line <line>\n" to the debugger
/// output, with the same rules as ReportDirectDrawError.
void ReportRetainedModeError(rm::HRESULT code, const char* source, int line);

/// The program-wide buffer the last report was written from ("" before the first).
const char* LastErrorReport();

} // namespace render
