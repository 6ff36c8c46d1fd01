#pragma once

#include <ostream>

#include "commands/IBatchCommandHost.h"

namespace session {
class EditContext;
} // namespace session

namespace cli {

/// The batch commands' host on the command line: every message goes to `err` as one line
/// "pavrix: CAPTION: TEXT" (line breaks of the text become spaces), every question is
/// answered OK or Yes, and the scale dialogs are answered OK with the factors given on the
/// command line. The key-time list is rebuilt when a command asks for it; there is no bar
/// to show it and no document to mark.
class HeadlessBatchHost : public IBatchCommandHost {
public:
    /// `context` (the scene the commands run on) and `err` are borrowed.
    HeadlessBatchHost(const session::EditContext& context, std::ostream& err)
        : m_context(context), m_err(err) {}

    /// The answers of the next scale dialog.
    void SetScaleAnswer(const ScaleFactors& factors, PositionKeyScaling positionKeys) {
        m_factors = factors;
        m_positionKeys = positionKeys;
    }

    int ShowMessage(const QString& text, const QString& caption, unsigned style) override;
    int RefreshKeyRange(session::KeyTimeList keyTimes) override;
    void RefreshTimeDisplay() override {}
    int MarkDocumentModified() override { return 1; }
    int RunModelScaleDialog(ScaleFactors& factors, PositionKeyScaling& positionKeys) override;
    int RunPositionKeyScaleDialog(ScaleFactors& factors) override;

private:
    const session::EditContext& m_context;
    std::ostream& m_err;
    ScaleFactors m_factors;
    PositionKeyScaling m_positionKeys = PositionKeyScaling::Keep;
};

} // namespace cli
