#include "dialogs/CPositionKeyScaleDialog.h"

#include <QBoxLayout>

#include "platform/framework/MessageBoxCodes.h"
#include "resources/ResourceIds.h"

namespace {

// Template positions after the factor row.
constexpr int kOkIndex = 7;
constexpr int kCancelIndex = 8;

} // namespace

framework::DialogTemplate CPositionKeyScaleDialog::Template() {
    using Control = framework::ControlTemplate;
    using Kind = Control::Kind;
    framework::DialogTemplate dialog;
    dialog.id = resources::res::PositionKeyScaleDialog;
    dialog.title = QStringLiteral("ポジションキースケールの変更");
    AddFactorControls(dialog, ScaleXEdit);
    Control ok;
    ok.kind = Kind::DefPushButton;
    ok.id = framework::IdOk;
    ok.text = QStringLiteral("OK");
    ok.style = Control::Group;
    Control cancel;
    cancel.kind = Kind::PushButton;
    cancel.id = framework::IdCancel;
    cancel.text = QStringLiteral("ｷｬﾝｾﾙ");
    dialog.controls.insert(dialog.controls.end(), {ok, cancel});
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
