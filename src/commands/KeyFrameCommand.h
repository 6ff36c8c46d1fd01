#pragma once

#include <QString>

class IKeyFrameHost;

/// One key-frame command of the main frame. Execute is the command's only entry point:
/// it asks its questions through the host, changes the current animation set only
/// through the scene objects' own key operations, and refreshes through the host, so a
/// layer that records edits can wrap each command whole.
class KeyFrameCommand {
public:
    /// `host` is borrowed and must outlive the command.
    explicit KeyFrameCommand(IKeyFrameHost& host) : m_host(host) {}
    virtual ~KeyFrameCommand() = default;
    KeyFrameCommand(const KeyFrameCommand&) = delete;
    KeyFrameCommand& operator=(const KeyFrameCommand&) = delete;

    /// Runs the command once. 1 when it changed the animation, else 0.
    virtual int Execute() = 0;

protected:
    /// An information box (style 64).
    void Inform(const char* text, const char* caption);
    /// An OK/Cancel or Yes/No question; true when it was answered OK or Yes.
    bool Confirm(const QString& text, const char* caption, unsigned style);

    IKeyFrameHost& m_host;
};

/// "アニメーションデータが存在しません。": every command but copy without a current set.
extern const char kNoAnimationDataMessage[];
