#pragma once

// The key-frame commands without a window: a scripted host (message boxes answered from
// a queue, the bar and the document reduced to what the commands change) and a small
// character opened as the document opens one: a "Body" box with an "Arm" hanging from
// it, both with rotation keys at the times a test asks for.

#include <cmath>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/TestCharacters.h"
#include "commands/CommandFixture.h"
#include "commands/IKeyFrameHost.h"
#include "commands/UndoHistory.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/ScriptedMessageBox.h"
#include "platform/rm/Animation.h"
#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "scene/CPartRecord.h"
#include "scene/DocumentOpen.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"
#include "support/ScriptedBoxTexts.h"

class ScriptedKeyFrameHost : public IKeyFrameHost {
public:
    explicit ScriptedKeyFrameHost(session::EditContext& context) : context(context) {}

    int ShowMessage(const QString& text, const QString& caption, unsigned style) override {
        return box.Show(nullptr, text, caption, style);
    }
    void StopPlayback() override {
        ++stops;
        context.keyTime = ToKeyTime(context.currentTime);
        context.playState = session::PlayState::Stopped;
        context.currentTime = static_cast<float>(context.keyTime);
    }
    void PoseCurrentAnimation(float time) override {
        ++poses;
        PoseAnimation(context.currentAnimation, time);
    }
    int RefreshKeyRange(session::KeyTimeList keyTimes) override {
        if (context.currentAnimation == nullptr) {
            return 0;
        }
        if (keyTimes == session::KeyTimeList::Rebuild) {
            context.currentAnimation->UpdateTotalKeyTimeBuffer();
        }
        ++rangeRefreshes;
        return 1;
    }
    void RefreshTimeDisplay() override { RecomputeKeyIndex(context); }
    int MarkDocumentModified() override {
        modified = 1;
        return 1;
    }
    rm::Frame* GetSelectedPart() const override { return selected; }
    QString GetKeyLengthText() const override { return lengthText; }
    void ShowKeyLength(unsigned length) override {
        lengthText = length == 0 ? QStringLiteral("Last") : QString::number(length);
    }
    int RunPartKeyDialog() override { return dialogAnswer; }

    session::EditContext& context;
    framework::ScriptedMessageBox box;
    rm::Frame* selected = nullptr;
    QString lengthText;
    int dialogAnswer = framework::IdCancel;
    // How often each service was called.
    int stops = 0, poses = 0, rangeRefreshes = 0, modified = 0;
};

/// The scripted host with an edit history of its own, so the commands record their steps.
class RecordingHost : public ScriptedKeyFrameHost {
public:
    using ScriptedKeyFrameHost::ScriptedKeyFrameHost;
    UndoHistory* History() override { return &history; }
    UndoHistory history;
};

class KeyFrameCommandTest : public CommandFixture {
protected:
    /// Opens the test character with rotation keys at `times` (none: the model only) and
    /// makes it current, at time 0.
    void Open(const std::vector<float>& times) {
        ASSERT_TRUE(dir.isValid());
        ASSERT_NO_FATAL_FAILURE(OpenAsDocument(
            shell_test::WriteCharacter(dir.path(), QStringLiteral("keys.x"), times)));
        g_animationLibrary = &store->Animations();
        body = context.currentModel->Root()->Children().at(0).Get();
        arm = body->Children().at(0).Get();
    }

    /// Puts the time at a key time as the bar would show it.
    void GoTo(float time) {
        context.currentTime = time;
        context.keyTime = ToKeyTime(time);
        RecomputeKeyIndex(context);
    }

    std::vector<float> KeyTimes() const {
        std::vector<float> times;
        for (unsigned i = 0; i < context.currentAnimation->KeyTimeCount(); ++i) {
            times.push_back(context.currentAnimation->KeyTime(static_cast<int>(i)));
        }
        return times;
    }

    /// Times of the keys of `part`'s animation, of one type (0: all).
    static std::vector<float> Times(rm::Frame* part, std::uint32_t type = 0) {
        std::vector<float> times;
        const CPartRecord* record = CPartRecord::Of(part);
        if (record == nullptr || record->animation == nullptr) {
            return times;
        }
        for (const auto& key : record->animation->Keys()) {
            if (type == 0 || key.dwKeyType == type) {
                times.push_back(key.dvTime);
            }
        }
        return times;
    }

    /// The texts of the boxes shown, UTF-8.
    std::vector<std::string> Texts() const { return Utf8Texts(host.box); }

    /// Box `index` was shown with this text, style and caption.
    void ExpectBox(std::size_t index, const QString& text, unsigned style, const char* caption) {
        ASSERT_LT(index, host.box.Asked().size());
        EXPECT_EQ(host.box.Asked()[index].text, text);
        EXPECT_EQ(host.box.Asked()[index].style, style);
        EXPECT_EQ(host.box.Asked()[index].caption, QString::fromUtf8(caption));
    }

    ScriptedKeyFrameHost host{context};
    rm::Frame* body = nullptr;
    rm::Frame* arm = nullptr;
};
