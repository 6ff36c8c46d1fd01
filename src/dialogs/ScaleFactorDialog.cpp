#include "dialogs/ScaleFactorDialog.h"

#include <QBoxLayout>
#include <QCoreApplication>

#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"

namespace {

constexpr char kLimitLine[] = QT_TRANSLATE_NOOP("Pavrix", "Min : x0.01 ～ Max : x100");

} // namespace

ScaleFactorDialog::ScaleFactorDialog(const framework::DialogTemplate& dialogTemplate,
                                     int firstEditId, QWidget* parent)
    : framework::Dialog(dialogTemplate, parent), m_firstEditId(firstEditId) {}

void ScaleFactorDialog::AddFactorControls(framework::DialogTemplate& dialogTemplate,
                                          int firstEditId) {
    using Control = framework::ControlTemplate;
    using Kind = Control::Kind;
    Control limit;
    limit.kind = Kind::Static;
    limit.text = framework::Tr(kLimitLine);
    dialogTemplate.controls.push_back(limit);
    const char* const labels[] = {"x :", "y :", "z :"};
    for (int axis = 0; axis < 3; ++axis) {
        Control label;
        label.kind = Kind::Static;
        label.text = QString::fromLatin1(labels[axis]);
        Control edit;
        edit.kind = Kind::Edit;
        edit.id = firstEditId + axis;
        edit.style = Control::Group;
        dialogTemplate.controls.push_back(label);
        dialogTemplate.controls.push_back(edit);
    }
}

void ScaleFactorDialog::AddOkCancel(framework::DialogTemplate& dialogTemplate) {
    using Control = framework::ControlTemplate;
    Control ok;
    ok.kind = Control::Kind::DefPushButton;
    ok.id = framework::IdOk;
    ok.text = QCoreApplication::translate("Pavrix", "OK");
    ok.style = Control::Group;
    Control cancel;
    cancel.kind = Control::Kind::PushButton;
    cancel.id = framework::IdCancel;
    cancel.text = QCoreApplication::translate("Pavrix", "ｷｬﾝｾﾙ");
    dialogTemplate.controls.push_back(ok);
    dialogTemplate.controls.push_back(cancel);
}

QLayout* ScaleFactorDialog::TakeFactorRow() {
    auto* column = new QVBoxLayout;
    column->addWidget(ControlAt(0));
    auto* row = new QHBoxLayout;
    for (int index = 1; index < kFactorControlCount; ++index) {
        row->addWidget(ControlAt(index), index % 2 == 0 ? 1 : 0);
    }
    column->addLayout(row);
    return column;
}

void ScaleFactorDialog::DoDataExchange(framework::DataExchange& exchange) {
    exchange.Text(m_firstEditId, m_scaleX);
    exchange.Text(m_firstEditId + 1, m_scaleY);
    exchange.Text(m_firstEditId + 2, m_scaleZ);
}

void ScaleFactorDialog::OnOK() {
    if (!UpdateData(1)) {
        return;
    }
    const ScaleFactors limited = LimitScaleFactors(Factors());
    m_scaleX = limited.x;
    m_scaleY = limited.y;
    m_scaleZ = limited.z;
    EndDialog(framework::IdOk);
}
