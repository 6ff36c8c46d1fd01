#include "commands/ChangeKeyLengthCommand.h"

#include "commands/IKeyFrameHost.h"
#include "platform/framework/MessageBoxCodes.h"
#include "platform/framework/Translate.h"
#include "scene/CAnimationData.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"

namespace {

constexpr char kQuestion[] =
    QT_TRANSLATE_NOOP("Pavrix", "キーの範囲を %d から %d へ変更しますか？");
constexpr char kCaption[] = QT_TRANSLATE_NOOP("Pavrix", "Change Key Frame Length");
/// Beyond 2^24 a 32-bit float no longer holds every whole key time.
constexpr unsigned kLongestKeyLength = 16777216;

} // namespace

int ChangeKeyLengthCommand::Run(session::EditContext& context) {
    if (context.currentAnimation == nullptr) {
        return 0;
    }
    if (m_trigger == Trigger::TypedLength) {
        return ApplyLength(context);
    }
    RecomputeKeyIndex(context);
    const int changed = ApplyLength(context);
    m_host.StopPlayback();
    return changed;
}

int ChangeKeyLengthCommand::ApplyLength(session::EditContext& context) {
    if (context.currentAnimation == nullptr) {
        return 0;
    }
    const unsigned length = CurrentKeyLength(context);
    if (length == 0) {
        m_host.ShowKeyLength(0);
        return 0;
    }
    bool ok = false;
    const qulonglong typed = m_host.GetKeyLengthText().trimmed().toULongLong(&ok);
    const unsigned newLength = ok && typed <= kLongestKeyLength ? static_cast<unsigned>(typed) : 0;
    if (newLength == length || newLength == 0) {
        m_host.ShowKeyLength(length);
        return 0;
    }
    const QString question =
        framework::TrFormat(kQuestion, static_cast<int>(length), static_cast<int>(newLength));
    if (!Confirm(question, kCaption, framework::MbYesNo | framework::MbIconQuestion)) {
        m_host.ShowKeyLength(length);
        return 0;
    }
    context.currentAnimation->SetKeyInterval(static_cast<int>(context.keyIndex),
                                             static_cast<float>(newLength));
    m_host.ShowKeyLength(newLength);
    m_host.RefreshKeyRange(session::KeyTimeList::Rebuild);
    // The keys moved: quitting must ask before this edit is lost.
    m_host.MarkDocumentModified();
    return 1;
}
