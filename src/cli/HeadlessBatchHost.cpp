#include "cli/HeadlessBatchHost.h"

#include "platform/framework/MessageBoxCodes.h"
#include "scene/CAnimationData.h"
#include "session/EditContext.h"

namespace cli {

int HeadlessBatchHost::ShowMessage(const QString& text, const QString& caption, unsigned style) {
    QString line = text.trimmed();
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_err << "pavrix: " << caption.toStdString() << ": " << line.toStdString() << '\n';
    switch (style & framework::MbTypeMask) {
    case framework::MbYesNo:
    case framework::MbYesNoCancel:
        return framework::IdYes;
    default:
        return framework::IdOk;
    }
}

int HeadlessBatchHost::RefreshKeyRange(session::KeyTimeList keyTimes) {
    if (m_context.currentAnimation == nullptr) {
        return 0;
    }
    if (keyTimes == session::KeyTimeList::Rebuild) {
        m_context.currentAnimation->UpdateTotalKeyTimeBuffer();
    }
    return 1;
}

int HeadlessBatchHost::RunModelScaleDialog(ScaleFactors& factors,
                                           PositionKeyScaling& positionKeys) {
    factors = m_factors;
    positionKeys = m_positionKeys;
    return framework::IdOk;
}

int HeadlessBatchHost::RunPositionKeyScaleDialog(ScaleFactors& factors) {
    factors = m_factors;
    return framework::IdOk;
}

} // namespace cli
