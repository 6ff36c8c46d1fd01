#pragma once

#include <QString>

class QWidget;

namespace framework {

class IMessageBox;
class IFileDialog;
class IDialogRunner;

/// The program-wide user-interaction services: message boxes, file dialogs and modal
/// dialogs, plus the caption of the application's message boxes. Everything in the
/// framework asks the user through here, so a test replaces all questions at once
/// (see `ScriptedUi`). The services are borrowed: whoever installs one keeps it alive
/// until it is replaced or removed. Single-threaded, like the rest of the user interface.
class UiServices {
public:
    static IMessageBox& MessageBoxes();
    /// Installs `box`; null restores the on-screen one.
    static void SetMessageBox(IMessageBox* box);
    static IFileDialog& FileDialogs();
    static void SetFileDialog(IFileDialog* dialog);
    static IDialogRunner& DialogRunner();
    static void SetDialogRunner(IDialogRunner* runner);

    /// Caption of the application's message boxes (string 57344).
    static QString AppTitle();
    static void SetAppTitle(const QString& title);
    /// Owner of the application's message boxes (the main window); may be null.
    static QWidget* DefaultOwner();
    static void SetDefaultOwner(QWidget* owner);

    /// The application's message box: caption `AppTitle()`, owner `DefaultOwner()`. A
    /// style without an icon gets the framework's default one: exclamation (0x30) for OK
    /// and OK/Cancel boxes, question (0x20) for Yes/No and Yes/No/Cancel boxes.
    static int AppMessageBox(const QString& text, unsigned style = 0);
    /// `style` with the default icon added as `AppMessageBox` does.
    static unsigned WithDefaultIcon(unsigned style);
};

} // namespace framework
