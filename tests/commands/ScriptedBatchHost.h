#pragma once

// The batch commands without a window: a host whose message boxes are answered from a
// queue and whose scale dialogs give the factors a test sets.

#include "commands/IBatchCommandHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/ScriptedMessageBox.h"
#include "scene/CAnimationData.h"
#include "session/EditContext.h"

class ScriptedBatchHost : public IBatchCommandHost {
public:
    explicit ScriptedBatchHost(session::EditContext& context) : context(context) {}

    session::EditContext& context;
    int ShowMessage(const QString& text, const QString& caption, unsigned style) override {
        return box.Show(nullptr, text, caption, style);
    }
    int RefreshKeyRange(session::KeyTimeList keyTimes) override {
        if (keyTimes == session::KeyTimeList::Rebuild && context.currentAnimation != nullptr) {
            context.currentAnimation->UpdateTotalKeyTimeBuffer();
        }
        ++rangeRefreshes;
        return 1;
    }
    void RefreshTimeDisplay() override { ++timeRefreshes; }
    int MarkDocumentModified() override {
        ++modified;
        return 1;
    }
    int RunModelScaleDialog(ScaleFactors& f, PositionKeyScaling& withKeys) override {
        ++dialogs;
        f = factors;
        withKeys = positionKeys;
        return dialogAnswer;
    }
    int RunPositionKeyScaleDialog(ScaleFactors& f) override {
        ++dialogs;
        f = factors;
        return dialogAnswer;
    }

    framework::ScriptedMessageBox box;
    ScaleFactors factors;
    PositionKeyScaling positionKeys = PositionKeyScaling::Keep;
    int dialogAnswer = framework::IdOk;
    int dialogs = 0;
    int rangeRefreshes = 0;
    int timeRefreshes = 0;
    int modified = 0;
};
