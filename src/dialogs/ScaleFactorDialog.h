#pragma once

#include "commands/ScaleFactors.h"
#include "platform/framework/Dialog.h"

/// What the two scale dialogs share: the line "Min : x0.01 ～ Max : x100", a row of three
/// edits for the x, y and z factors (32-bit floats, 1.0 at construction, shown with six
/// significant digits) and OK, which reads them — text that is not a number is refused
/// with "数字を入力してください。" and the dialog stays open — limits them away from zero
/// (LimitScaleFactors) and closes with OK. Cancel changes nothing. The dialog only takes
/// the factors; the command that runs it applies them.
class ScaleFactorDialog : public framework::Dialog {
    Q_OBJECT

public:
    ScaleFactorDialog(const framework::DialogTemplate& dialogTemplate, int firstEditId,
                      QWidget* parent);

    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    float m_scaleZ = 1.0f;

    ScaleFactors Factors() const { return {m_scaleX, m_scaleY, m_scaleZ}; }

    void OnOK() override;
    void DoDataExchange(framework::DataExchange& exchange) override;

protected:
    /// The template's first controls, in this order: the limit line, then "x :", the x
    /// edit, "y :", the y edit, "z :", the z edit. Returns them in a layout: the limit
    /// line above the row of labels and edits.
    QLayout* TakeFactorRow();
    /// The control at position `index` of the template.
    QWidget* ControlAt(int index) { return Controls().GetControlAt(index); }
    static constexpr int kFactorControlCount = 7;
    /// The first controls of a scale dialog's template, in order.
    static void AddFactorControls(framework::DialogTemplate& dialogTemplate, int firstEditId);
    /// The buttons "OK" (1, the default) and "ｷｬﾝｾﾙ" (2), in this order.
    static void AddOkCancel(framework::DialogTemplate& dialogTemplate);

private:
    int m_firstEditId;
};
