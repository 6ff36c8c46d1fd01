#include "dialogs/CPositionKeyScaleDialog.h"

#include <QBoxLayout>
#include <QCoreApplication>

#include "resources/ResourceIds.h"

namespace {

// Template positions after the factor row.
constexpr int kOkIndex = 7;
constexpr int kCancelIndex = 8;

} // namespace

framework::DialogTemplate CPositionKeyScaleDialog::Template() {
    framework::DialogTemplate dialog;
    dialog.id = resources::res::PositionKeyScaleDialog;
    dialog.title = QCoreApplication::translate("Pavrix", "ポジションキースケールの変更");
    AddFactorControls(dialog, ScaleXEdit);
    AddOkCancel(dialog);
    return dialog;
}

CPositionKeyScaleDialog::CPositionKeyScaleDialog(QWidget* parent)
    : ScaleFactorDialog(Template(), ScaleXEdit, parent) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ControlAt(kCancelIndex));
    buttons->addWidget(ControlAt(kOkIndex));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(TakeFactorRow());
    layout->addStretch();
    layout->addLayout(buttons);
}
