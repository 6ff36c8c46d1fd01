#pragma once

namespace framework {

/// The program's own timing of a file open as the user sees it, written to standard error
/// when PAVRIX_TIMING=1 is in the environment (nothing is measured otherwise): from the
/// file dialog's OK (or, for a file named on the command line or dropped on the window,
/// from the start of the open) to the document opened, and to the first frame the view
/// draws after that, one line each, with the processor time the whole process used meanwhile
/// (on a busy machine the difference is time spent waiting for a processor):
///
///     pavrix timing: document opened 41.2 ms after the file dialog's OK (40.8 ms of processor
///     time) pavrix timing: first frame drawn 63.0 ms after the file dialog's OK (61.5 ms of ...)
class OpenTiming {
public:
    /// An open dialog was closed with OK.
    static void DialogAccepted();
    /// The document starts opening a file (the clock starts here unless a dialog's OK
    /// started it).
    static void OpenStarted();
    /// The document has opened the file; the next frame rendered and then drawn ends the
    /// measurement.
    static void DocumentOpened();
    /// The view has rendered a picture of the scene (not yet on screen).
    static void FrameRendered();
    /// The view has drawn its latest picture on screen.
    static void FrameDrawn();
};

} // namespace framework
