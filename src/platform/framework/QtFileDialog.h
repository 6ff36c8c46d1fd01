#pragma once

#include <QString>
#include <QStringList>

#include "platform/framework/IFileDialog.h"

namespace framework {

/// The on-screen file dialog, a modal QFileDialog.
class QtFileDialog : public IFileDialog {
public:
    int Run(const FileDialogRequest& request, QString* path) override;

    /// Turns a filter of the form "X ﾌｧｲﾙ (*.x)|*.x|すべてのﾌｧｲﾙ (*.*)|*.*||" into the
    /// name filters of a QFileDialog ("X ﾌｧｲﾙ (*.x)", "すべてのﾌｧｲﾙ (*.*)"). A name that
    /// does not already end with its patterns in parentheses gets them appended.
    static QStringList ToNameFilters(const QString& filter);
};

} // namespace framework
