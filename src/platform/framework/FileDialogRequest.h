#pragma once

#include <QString>

class QWidget;

namespace framework {

// File-dialog flags, with the platform's values.
constexpr unsigned OfnOverwritePrompt = 0x0002; ///< save: ask before replacing a file
constexpr unsigned OfnHideReadOnly = 0x0004;    ///< no "read only" box (there is none anyway)
constexpr unsigned OfnPathMustExist = 0x0800;
constexpr unsigned OfnFileMustExist = 0x1000; ///< open: only existing files can be chosen

/// Everything an open or save dialog is asked with.
struct FileDialogRequest {
    bool open = true;   ///< open dialog (true) or save dialog (false)
    QString defaultExt; ///< without the dot ("x"); added to a typed name without one
    QString fileName;   ///< initial file name or path; empty for none
    QString directory;  ///< folder shown first when fileName has none; empty: the dialog's own
    unsigned flags = 0; ///< Ofn* flags
    QString filter;     ///< "Name|patterns|Name|patterns||", patterns separated by ';'
    QString title;      ///< empty: the dialog's own
    QWidget* owner = nullptr; ///< borrowed; may be null
};

} // namespace framework
