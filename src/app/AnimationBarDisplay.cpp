#include "app/AnimationBarDisplay.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QCoreApplication>
#include <QFile>

#include "app/AnimationSetChoice.h"
#include "app/BarControlIds.h"
#include "platform/framework/DialogBar.h"
#include "platform/framework/Document.h"
#include "platform/framework/ToolBar.h"
#include "platform/framework/TrackBar.h"
#include "resources/CommandIds.h"
#include "scene/AnimationLibrary.h"
#include "scene/CAnimationData.h"
#include "scene/CCharacterData.h"
#include "scene/CModelData.h"
#include "scene/ModelLibrary.h"
#include "session/EditContext.h"
#include "session/KeyTimeRules.h"

namespace {

namespace ids = resources::ids;

// Library entries are named after file paths; the bars show the file name only.
QString FileNamePart(const char* path) {
    const QString name = QString::fromLocal8Bit(path);
    const qsizetype cut =
        std::max(name.lastIndexOf(QLatin1Char('\\')), name.lastIndexOf(QLatin1Char('/')));
    return name.mid(cut + 1);
}

int ToSliderPosition(float time) {
    if (!(std::fabs(time) < 2.0e9f)) {
        return 0;
    }
    return static_cast<int>(time);
}

framework::TrackBar* SliderOf(framework::DialogBar* bar) {
    return qobject_cast<framework::TrackBar*>(bar->Controls().GetDlgItem(ctl::TimeSlider));
}

} // namespace

AnimationBarDisplay::AnimationBarDisplay(session::EditContext& context, DocumentGetter document)
    : m_context(context), m_document(std::move(document)) {}

void AnimationBarDisplay::SetBars(framework::DialogBar* animationBar,
                                  framework::DialogBar* controlPanel,
                                  framework::ToolBar* animationToolBar) {
    m_animationBar = animationBar;
    m_controlPanel = controlPanel;
    m_animationToolBar = animationToolBar;
}

void AnimationBarDisplay::ReleasePlayButtons() {
    if (m_animationToolBar == nullptr) {
        return;
    }
    m_animationToolBar->CheckButton(ids::PlayAnimation, 0);
    m_animationToolBar->CheckButton(ids::AnimationPlayAll, 0);
}

void AnimationBarDisplay::SetFollowers(std::function<void()> keysChanged,
                                       std::function<void()> timeChanged) {
    m_keysChanged = std::move(keysChanged);
    m_timeChanged = std::move(timeChanged);
}

void AnimationBarDisplay::RefreshTimeDisplay() {
    ShowTimeDisplay();
    if (m_timeChanged) {
        m_timeChanged();
    }
}

int AnimationBarDisplay::RefreshKeyRange(session::KeyTimeList keyTimes) {
    const int result = ShowKeyRange(keyTimes);
    if (m_keysChanged) {
        m_keysChanged();
    }
    return result;
}

int AnimationBarDisplay::ReadTypedTime(float* time) const {
    if (m_context.currentAnimation == nullptr || m_animationBar == nullptr) {
        return 0;
    }
    bool ok = false;
    const float typed = m_animationBar->Controls().GetDlgItemText(ctl::Time).trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(typed) || typed < FirstKeyTime(m_context.currentAnimation) ||
        typed > LastKeyTime(m_context.currentAnimation)) {
        return 0;
    }
    *time = typed;
    return 1;
}

void AnimationBarDisplay::ShowTimeDisplay() {
    if (m_context.currentAnimation == nullptr || m_animationBar == nullptr) {
        return;
    }
    m_context.redrawRequest = true;
    framework::DialogControls& bar = m_animationBar->Controls();
    bar.SetDlgItemText(ctl::Time, QString::asprintf("%.2f", m_context.currentTime));
    if (framework::TrackBar* slider = SliderOf(m_animationBar)) {
        slider->setValue(ToSliderPosition(m_context.currentTime));
        RecomputeKeyIndex(m_context);
    }
    bar.SetDlgItemText(ctl::KeyNo, QString::number(static_cast<int>(m_context.keyIndex)));
    ShowKeyLength(CurrentKeyLength(m_context));
}

void AnimationBarDisplay::ShowKeyLength(unsigned length) {
    if (m_animationBar == nullptr) {
        return;
    }
    m_animationBar->Controls().SetDlgItemText(
        ctl::Length, length == 0 ? QCoreApplication::translate("Pavrix", "Last")
                                 : QString::number(static_cast<int>(length)));
}

QString AnimationBarDisplay::GetKeyLengthText() const {
    return m_animationBar != nullptr ? m_animationBar->Controls().GetDlgItemText(ctl::Length)
                                     : QString();
}

int AnimationBarDisplay::ShowKeyRange(session::KeyTimeList keyTimes) {
    if (m_context.currentAnimation == nullptr || m_animationBar == nullptr ||
        m_controlPanel == nullptr) {
        return 0;
    }
    if (keyTimes == session::KeyTimeList::Rebuild) {
        m_context.currentAnimation->UpdateTotalKeyTimeBuffer();
    }
    const float first = FirstKeyTime(m_context.currentAnimation);
    const float last = LastKeyTime(m_context.currentAnimation);
    framework::DialogControls& bar = m_animationBar->Controls();
    bar.SetDlgItemText(ctl::Min, QString::asprintf("%.2f", first));
    bar.SetDlgItemText(ctl::Max, QString::asprintf("%.2f", last));

    // The document is named after the file the character's sets came from, which the
    // library entry of its first set names.
    const CAnimationData* named = m_context.currentAnimation;
    if (m_context.currentCharacter != nullptr &&
        !m_context.currentCharacter->Animations().empty()) {
        named = m_context.currentCharacter->Animations().front();
    }
    if (g_animationLibrary != nullptr) {
        if (const auto* entry = g_animationLibrary->Entries().FindEntry(named);
            entry != nullptr && entry->Name() != nullptr) {
            // The file name alone would send the next Save to the working directory, and
            // taking the name again on every refresh would send it back to the opened file
            // after a Save As: the document follows only when another character's sets
            // became current, never when the user picks another set of the same character.
            framework::Document* document = m_document ? m_document() : nullptr;
            if (document != nullptr &&
                (m_pathNameAnimation != named || m_pathNameEntry != entry->Name())) {
                document->SetPathName(QFile::decodeName(entry->Name()), 1);
                m_pathNameAnimation = named;
                m_pathNameEntry = entry->Name();
            }
        }
    }
    AnimationSetChoice::ShowSets(m_controlPanel->Controls(), ctl::AnimationName,
                                 m_context.currentCharacter, m_context.currentAnimation);

    QString modelName = QCoreApplication::translate("Pavrix", "non");
    if (m_context.currentModel != nullptr && g_modelLibrary != nullptr) {
        if (const auto* entry = g_modelLibrary->Entries().FindEntry(m_context.currentModel);
            entry != nullptr && entry->Name() != nullptr) {
            modelName = FileNamePart(entry->Name());
        }
    }
    m_controlPanel->Controls().SetDlgItemText(ctl::ModelName, modelName);

    if (framework::TrackBar* slider = SliderOf(m_animationBar)) {
        slider->ClearTics();
        slider->setRange(ToSliderPosition(first), ToSliderPosition(last));
        slider->SetTicFreq(1);
        const unsigned count = m_context.currentAnimation->KeyTimeCount();
        for (unsigned i = 0; i < count; ++i) {
            slider->SetTic(
                ToSliderPosition(m_context.currentAnimation->KeyTime(static_cast<int>(i))));
        }
    }
    return 1;
}

int AnimationBarDisplay::ResetAnimationBar() {
    RefreshTimeDisplay();
    if (m_context.currentAnimation != nullptr) {
        RefreshKeyRange(session::KeyTimeList::Rebuild);
        return 1;
    }
    if (m_keysChanged) {
        m_keysChanged();
    }
    if (m_animationBar == nullptr) {
        return 1;
    }
    framework::DialogControls& bar = m_animationBar->Controls();
    bar.SetDlgItemText(ctl::Min, QString::asprintf("%.2f", 0.0));
    bar.SetDlgItemText(ctl::Max, QString::asprintf("%.2f", 0.0));
    bar.SetDlgItemText(ctl::Length, QCoreApplication::translate("Pavrix", "Non"));
    if (framework::TrackBar* slider = SliderOf(m_animationBar)) {
        slider->ClearTics();
        slider->setRange(0, 1);
        slider->SetTicFreq(1);
    }
    return 1;
}

void AnimationBarDisplay::OnSceneCleared() {
    m_pathNameAnimation = nullptr;
    m_pathNameEntry.clear();
    if (m_controlPanel != nullptr) {
        AnimationSetChoice::ShowSets(m_controlPanel->Controls(), ctl::AnimationName, nullptr,
                                     nullptr);
        m_controlPanel->Controls().SetDlgItemText(ctl::ModelName,
                                                  QCoreApplication::translate("Pavrix", "non"));
    }
}

int AnimationBarDisplay::GetSliderPosition() const {
    const framework::TrackBar* slider =
        m_animationBar != nullptr ? SliderOf(m_animationBar) : nullptr;
    return slider != nullptr ? slider->value() : -1;
}

void AnimationBarDisplay::StretchTimeSlider(QWidget* frame) {
    if (m_animationBar == nullptr) {
        return;
    }
    QWidget* panel = m_animationBar->GetPanel();
    QWidget* slider = m_animationBar->GetDlgItem(ctl::TimeSlider);
    if (panel == nullptr || slider == nullptr) {
        return;
    }
    const int barRight = m_animationBar->mapTo(frame, QPoint(m_animationBar->width(), 0)).x();
    const int right = panel->mapFrom(frame, QPoint(barRight, 0)).x();
    QRect rect = slider->geometry();
    rect.setRight(std::max(rect.left() + 1, std::min(right, panel->width()) - 1));
    slider->setGeometry(rect);
    slider->update();
}
