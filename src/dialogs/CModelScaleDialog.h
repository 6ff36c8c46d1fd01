#pragma once

#include "dialogs/ScaleFactorDialog.h"

/// "モデルスケールの変更" (template 141): the three factors of the model scale (edits 1041,
/// 1042, 1043) and the check box 1047 "ﾎﾟｼﾞｼｮﾝｷｰのｽｹｰﾙ変更も行う" (also scale the position
/// keys; `m_scalePositionKeys`, 0 at construction). OK above "ｷｬﾝｾﾙ" on the right.
class CModelScaleDialog : public ScaleFactorDialog {
    Q_OBJECT

public:
    enum ControlId {
        ScaleXEdit = 1041,
        ScaleYEdit = 1042,
        ScaleZEdit = 1043,
        PositionKeysCheck = 1047
    };

    explicit CModelScaleDialog(QWidget* parent = nullptr);

    static framework::DialogTemplate Template();

    int m_scalePositionKeys = 0;

    void DoDataExchange(framework::DataExchange& exchange) override;
};
