#pragma once

#include "dialogs/ScaleFactorDialog.h"

/// "ポジションキースケールの変更" (template 142): the three factors by which every position
/// key is scaled (edits 1044, 1045, 1046); "ｷｬﾝｾﾙ" left of OK in the bottom row.
class CPositionKeyScaleDialog : public ScaleFactorDialog {
    Q_OBJECT

public:
    enum ControlId { ScaleXEdit = 1044, ScaleYEdit = 1045, ScaleZEdit = 1046 };

    explicit CPositionKeyScaleDialog(QWidget* parent = nullptr);

    static framework::DialogTemplate Template();
};
