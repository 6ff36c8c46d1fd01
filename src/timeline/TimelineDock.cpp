#include "timeline/TimelineDock.h"

#include <algorithm>
#include <cmath>

#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

#include "commands/DeleteKeysCommand.h"
#include "commands/IKeyFrameHost.h"
#include "commands/MoveKeysCommand.h"
#include "commands/PasteKeysCommand.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"
#include "timeline/ITimelineHost.h"
#include "timeline/KeySheet.h"
#include "timeline/PartTree.h"

namespace timeline {

TimelineDock::TimelineDock(ITimelineHost& host, session::EditContext& context, QWidget* parent)
    : QDockWidget(QCoreApplication::translate("Pavrix", "Timeline"), parent), m_host(host),
      m_context(context) {
    setObjectName(QStringLiteral("TimelineDock"));
    setAllowedAreas(Qt::AllDockWidgetAreas);

    auto* contents = new QWidget(this);
    auto* layout = new QVBoxLayout(contents);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    m_search = new QLineEdit(contents);
    m_search->setPlaceholderText(QCoreApplication::translate("Pavrix", "Search parts"));
    m_search->setClearButtonEnabled(true);
    layout->addWidget(m_search);

    auto* splitter = new QSplitter(Qt::Horizontal, contents);
    layout->addWidget(splitter, 1);

    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    m_tree = new PartTree(left);
    leftLayout->addWidget(m_tree, 1);

    auto* right = new QWidget(splitter);
    auto* grid = new QGridLayout(right);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    m_sheet = new KeySheet(*m_tree, m_selection, m_context, right);
    m_rowsBar = new QScrollBar(Qt::Vertical, right);
    m_timeBar = new QScrollBar(Qt::Horizontal, right);
    grid->addWidget(m_sheet, 0, 0);
    grid->addWidget(m_rowsBar, 0, 1);
    grid->addWidget(m_timeBar, 1, 0);
    // The tree ends where the sheet's rows end, above the time scroll bar.
    leftLayout->addSpacing(m_timeBar->sizeHint().height());

    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({fontMetrics().horizontalAdvance(QLatin1Char('M')) * 22, 800});
    setWidget(contents);

    QScrollBar* treeBar = m_tree->verticalScrollBar();
    connect(treeBar, &QScrollBar::rangeChanged, m_rowsBar, &QScrollBar::setRange);
    connect(treeBar, &QScrollBar::valueChanged, m_rowsBar, &QScrollBar::setValue);
    connect(m_rowsBar, &QScrollBar::valueChanged, treeBar, &QScrollBar::setValue);
    connect(treeBar, &QScrollBar::valueChanged, m_sheet, qOverload<>(&QWidget::update));
    m_tree->viewport()->installEventFilter(this);
    m_sheet->installEventFilter(this);
    connect(m_sheet, &KeySheet::AxisMovedByUser, this, [this] { m_autoFrame = false; });

    connect(m_timeBar, &QScrollBar::valueChanged, this, [this](int value) {
        if (m_syncingTime) {
            return;
        }
        m_sheet->Axis().SetOrigin(value / m_sheet->Axis().Scale());
        m_autoFrame = false;
        m_sheet->update();
    });
    connect(m_search, &QLineEdit::textChanged, m_tree, &PartTree::SetFilter);
    connect(m_tree, &PartTree::PartChosen, this, &TimelineDock::OnPartRequested);
    connect(m_tree, &PartTree::PartActivated, this, [this](rm::Frame* part) {
        OnPartRequested(part);
        m_host.EditPartKeys();
    });
    connect(m_sheet, &KeySheet::TimeRequested, this, &TimelineDock::OnTimeRequested);
    connect(m_sheet, &KeySheet::PartRequested, this, &TimelineDock::OnPartRequested);
    connect(m_sheet, &KeySheet::MoveRequested, this, &TimelineDock::MoveKeys);
    connect(m_sheet, &KeySheet::DeleteRequested, this, &TimelineDock::DeleteKeys);
    connect(m_sheet, &KeySheet::CopyRequested, this, &TimelineDock::CopyKeys);
    connect(m_sheet, &KeySheet::PasteRequested, this, &TimelineDock::PasteKeys);
    connect(m_sheet, &KeySheet::AxisChanged, this, &TimelineDock::UpdateTimeScroll);
}

TimelineDock::~TimelineDock() = default;

rm::Frame* TimelineDock::SelectedPart() const {
    return m_host.KeyFrameHost().GetSelectedPart();
}

void TimelineDock::Refresh() {
    const void* model = m_context.CurrentModelRoot();
    const bool newScene = model != m_shownModel || m_context.currentAnimation != m_shownSet;
    m_shownModel = model;
    m_shownSet = m_context.currentAnimation;
    m_tree->Rebuild(m_context.CurrentModelRoot(), m_context.currentAnimation);
    if (newScene) {
        m_selection.Clear();
        m_autoFrame = true;
    } else {
        // Animations that left the set take their chosen keys with them.
        std::vector<const rm::Animation*> shown;
        for (const PartRow& row : m_tree->Parts()) {
            shown.push_back(row.animation.Get());
        }
        std::sort(shown.begin(), shown.end());
        m_selection.RemoveAnimationsUnless([&](const rm::Animation* animation) {
            return std::binary_search(shown.begin(), shown.end(), animation);
        });
    }
    if (m_autoFrame && newScene) {
        m_sheet->FrameAllKeys();
    }
    m_shownPart = nullptr;
    FollowSelection();
    UpdateTimeScroll();
    m_sheet->update();
}

void TimelineDock::FollowSelection() {
    rm::Frame* part = SelectedPart();
    if (part == m_shownPart) {
        return;
    }
    m_shownPart = part;
    m_tree->ShowSelectedPart(part);
    m_sheet->update();
    const int index = m_tree->IndexOf(part);
    emit SelectedPartShown(index >= 0 ? m_tree->Parts()[std::size_t(index)].name : QString());
}

void TimelineDock::ShowPartSearch() {
    setVisible(true);
    raise();
    if (isFloating()) {
        activateWindow();
    }
    m_search->setFocus(Qt::ShortcutFocusReason);
    m_search->selectAll();
}

void TimelineDock::FollowTime() {
    m_sheet->FollowTime(m_context.currentTime);
}

bool TimelineDock::eventFilter(QObject* watched, QEvent* event) {
    // Whatever the tree draws anew (expansion, filter, highlight), the sheet draws too.
    if (watched == m_tree->viewport() && event->type() == QEvent::Paint) {
        m_sheet->update();
    } else if (watched == m_sheet && event->type() == QEvent::Resize && m_autoFrame) {
        m_sheet->FrameAllKeys();
    }
    return QDockWidget::eventFilter(watched, event);
}

void TimelineDock::UpdateTimeScroll() {
    const TimeAxis& axis = m_sheet->Axis();
    float first = 0;
    float last = 100;
    m_sheet->KeyRange(&first, &last);
    const double visible = m_sheet->width() / axis.Scale();
    const double pad = std::max(10.0, (last - first) * 0.1);
    const double from = std::min(double(first) - pad, axis.Origin());
    const double to = std::max(double(last) + pad - visible, axis.Origin());
    m_syncingTime = true;
    m_timeBar->setRange(static_cast<int>(std::floor(from * axis.Scale())),
                        static_cast<int>(std::ceil(to * axis.Scale())));
    m_timeBar->setPageStep(std::max(1, m_sheet->width()));
    m_timeBar->setSingleStep(std::max(1, m_sheet->width() / 20));
    m_timeBar->setValue(static_cast<int>(std::lround(axis.Origin() * axis.Scale())));
    m_syncingTime = false;
}

void TimelineDock::OnTimeRequested(int time) {
    if (m_context.currentAnimation == nullptr || m_context.currentAnimation->KeyTimeCount() == 0) {
        return;
    }
    const auto& times = m_context.currentAnimation->KeyTimeList();
    const float clamped = std::clamp(static_cast<float>(time), times.front(), times.back());
    if (clamped != m_context.currentTime) {
        m_host.GoToTime(clamped);
    }
}

void TimelineDock::OnPartRequested(rm::Frame* part) {
    if (part != nullptr && part != SelectedPart()) {
        m_host.SelectPart(part);
    }
    FollowSelection();
}

int TimelineDock::MoveKeys(int delta) {
    MoveKeysCommand command(m_host.KeyFrameHost(), m_selection.Keys(), delta);
    return command.Execute(m_context);
}

int TimelineDock::DeleteKeys() {
    const std::vector<KeyRef> keys = m_selection.Keys();
    if (keys.empty()) {
        return 0;
    }
    const int deleted = DeleteKeysCommand(m_host.KeyFrameHost(), keys).Execute(m_context);
    if (deleted) {
        m_selection.Clear();
        m_sheet->update();
    }
    return deleted;
}

int TimelineDock::CopyKeys() {
    const std::vector<KeyRef> keys = m_selection.Keys();
    if (keys.empty()) {
        return 0;
    }
    CopiedKeys copied;
    float earliest = 0;
    for (const KeyRef& ref : keys) {
        for (const rm::AnimationKey& key : ref.animation->Keys()) {
            if (key.dwID == ref.id) {
                copied.entries.push_back({ref.animation->GetFrame(), key});
                break;
            }
        }
    }
    if (copied.entries.empty()) {
        return 0;
    }
    earliest = copied.entries.front().key.dvTime;
    for (const CopiedKeys::Entry& entry : copied.entries) {
        earliest = std::min(earliest, entry.key.dvTime);
    }
    for (CopiedKeys::Entry& entry : copied.entries) {
        entry.key.dvTime -= earliest;
    }
    m_copied = std::move(copied);
    return 1;
}

int TimelineDock::PasteKeys() {
    if (m_copied.Empty()) {
        return 0;
    }
    PasteKeysCommand command(m_host.KeyFrameHost(), m_copied,
                             static_cast<float>(m_context.keyTime));
    if (!command.Execute(m_context)) {
        return 0;
    }
    m_selection.Clear();
    m_selection.Add(command.Pasted());
    m_sheet->update();
    return 1;
}

} // namespace timeline
