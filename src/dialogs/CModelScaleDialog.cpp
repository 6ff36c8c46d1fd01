#include "dialogs/CModelScaleDialog.h"

#include <QBoxLayout>
#include <QCoreApplication>

#include "resources/ResourceIds.h"

namespace {

// Template positions after the factor row.
constexpr int kCheckIndex = 7;
constexpr int kOkIndex = 8;
constexpr int kCancelIndex = 9;

} // namespace

framework::DialogTemplate CModelScaleDialog::Template() {
    using Control = framework::ControlTemplate;
    using Kind = Control::Kind;
    framework::DialogTemplate dialog;
    dialog.id = resources::res::ModelScaleDialog;
    dialog.title = QCoreApplication::translate("Pavrix", "モデルスケールの変更");
    AddFactorControls(dialog, ScaleXEdit);
    Control check;
    check.kind = Kind::CheckBox;
    check.id = PositionKeysCheck;
    check.text = QCoreApplication::translate("Pavrix", "ﾎﾟｼﾞｼｮﾝｷｰのｽｹｰﾙ変更も行う");
    check.style = Control::Group;
    dialog.controls.push_back(check);
    AddOkCancel(dialog);
    return dialog;
}

CModelScaleDialog::CModelScaleDialog(QWidget* parent)
    : ScaleFactorDialog(Template(), ScaleXEdit, parent) {
    auto* left = new QVBoxLayout;
    left->addLayout(TakeFactorRow());
    left->addWidget(ControlAt(kCheckIndex));
    left->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ControlAt(kOkIndex));
    buttons->addWidget(ControlAt(kCancelIndex));
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
}

void CModelScaleDialog::DoDataExchange(framework::DataExchange& exchange) {
    ScaleFactorDialog::DoDataExchange(exchange);
    exchange.Check(PositionKeysCheck, m_scalePositionKeys);
}
