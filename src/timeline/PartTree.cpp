#include "timeline/PartTree.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QSignalBlocker>

#include "platform/framework/DecodeName.h"
#include "platform/rm/AnimationSet.h"
#include "scene/CAnimationData.h"
#include "scene/CPartRecord.h"

namespace timeline {

namespace {

constexpr int kPartRole = Qt::UserRole;
constexpr int kChannelRole = Qt::UserRole + 1;
constexpr int kNameColumn = 0;
constexpr int kCountColumn = 1;

const char* const kChannelNames[3] = {QT_TRANSLATE_NOOP("Pavrix", "Rotation"),
                                      QT_TRANSLATE_NOOP("Pavrix", "Scale"),
                                      QT_TRANSLATE_NOOP("Pavrix", "Position")};

/// The name a part goes by: the name its animations bind to, else the one read from the
/// file, else the frame's working name without its "@<id>".
std::string PartName(const rm::Frame* frame) {
    if (const CPartRecord* record = CPartRecord::Of(frame)) {
        if (record->baseName && !record->baseName->empty()) {
            return *record->baseName;
        }
        if (record->fileName && !record->fileName->empty()) {
            return *record->fileName;
        }
    }
    std::string name = frame->Name();
    if (const auto at = name.rfind('@'); at != std::string::npos) {
        name.resize(at);
    }
    return name;
}

int CountOfType(const rm::Animation* animation, std::uint32_t type) {
    int count = 0;
    for (const rm::AnimationKey& key : animation->Keys()) {
        count += key.dwKeyType == type ? 1 : 0;
    }
    return count;
}

void SetTextIfChanged(QTreeWidgetItem* item, int column, const QString& text) {
    if (item->text(column) != text) {
        item->setText(column, text);
    }
}

} // namespace

PartTree::PartTree(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(2);
    setHeaderLabels({QCoreApplication::translate("Pavrix", "Part"),
                     QCoreApplication::translate("Pavrix", "Keys")});
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
    header()->setSectionResizeMode(kCountColumn, QHeaderView::ResizeToContents);
    setUniformRowHeights(true);
    setIndentation(fontMetrics().height() * 3 / 4 + 2);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setExpandsOnDoubleClick(false);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { OnCurrentItemChanged(current); });
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int column) {
        if (column == kCountColumn && ChannelOf(item) == Channel::Part) {
            ToggleChannels(PartIndexOf(item));
        }
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const int index = PartIndexOf(item);
        if (index >= 0) {
            emit PartActivated(m_parts[std::size_t(index)].frame.Get());
        }
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        const int index = PartIndexOf(item);
        if (index >= 0 && ChannelOf(item) == Channel::Part) {
            m_collapsed.insert(m_parts[std::size_t(index)].frame.Get());
        }
    });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        const int index = PartIndexOf(item);
        if (index >= 0 && ChannelOf(item) == Channel::Part) {
            m_collapsed.erase(m_parts[std::size_t(index)].frame.Get());
        }
    });
}

void PartTree::Collect(rm::Frame* frame, int depth,
                       const std::unordered_map<const rm::Frame*, rm::Animation*>& driven,
                       std::vector<Shape>& shapes) const {
    const auto found = driven.find(frame);
    shapes.push_back(
        {frame, found != driven.end() ? found->second : nullptr, depth, PartName(frame)});
    for (const auto& child : frame->Children()) {
        Collect(child.Get(), depth + 1, driven, shapes);
    }
}

bool PartTree::Rebuild(rm::Frame* root, const CAnimationData* set) {
    std::unordered_map<const rm::Frame*, rm::Animation*> driven;
    if (set != nullptr && set->Set() != nullptr) {
        for (const auto& animation : set->Set()->Animations()) {
            if (rm::Ref<rm::Frame> frame = animation->GetFrame()) {
                driven.emplace(frame.Get(), animation.Get());
            }
        }
    }
    std::vector<Shape> shapes;
    if (root != nullptr) {
        for (const auto& child : root->Children()) {
            Collect(child.Get(), 0, driven, shapes);
        }
    }
    if (shapes == m_shape) {
        UpdateCounts();
        return false;
    }
    m_shape = std::move(shapes);
    MakeItems(m_shape);
    return true;
}

void PartTree::MakeItems(const std::vector<Shape>& shapes) {
    const QSignalBlocker blocker(this);
    clear();
    m_parts.clear();
    m_index.clear();
    m_parts.reserve(shapes.size());
    std::vector<QTreeWidgetItem*> parents;
    for (const Shape& shape : shapes) {
        PartRow row;
        row.frame = shape.frame;
        row.animation = shape.animation;
        row.name = framework::DecodeName(shape.name);
        row.depth = shape.depth;
        parents.resize(std::size_t(shape.depth));
        row.item =
            parents.empty() ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parents.back());
        row.item->setText(kNameColumn, row.name.isEmpty()
                                           ? QCoreApplication::translate("Pavrix", "(no name)")
                                           : row.name);
        const int index = static_cast<int>(m_parts.size());
        row.item->setData(kNameColumn, kPartRole, index);
        row.item->setData(kNameColumn, kChannelRole, int(Channel::Part));
        if (row.animation) {
            row.item->setToolTip(kCountColumn, QCoreApplication::translate(
                                                   "Pavrix", "Click to show or hide the "
                                                             "rotation, scale and position rows"));
            for (int c = 0; c < 3; ++c) {
                auto* channel = new QTreeWidgetItem(row.item);
                channel->setText(kNameColumn,
                                 QCoreApplication::translate("Pavrix", kChannelNames[c]));
                channel->setData(kNameColumn, kPartRole, index);
                channel->setData(kNameColumn, kChannelRole, c + 1);
                channel->setForeground(kNameColumn, palette().brush(QPalette::PlaceholderText));
                channel->setHidden(m_channelsShown.count(shape.frame) == 0);
                row.channels[c] = channel;
            }
        }
        parents.push_back(row.item);
        m_index.emplace(shape.frame, index);
        m_parts.push_back(std::move(row));
    }
    for (const PartRow& row : m_parts) {
        row.item->setExpanded(m_collapsed.count(row.frame.Get()) == 0);
    }
    UpdateCounts();
    if (!m_filter.isEmpty()) {
        SetFilter(m_filter);
    }
}

void PartTree::UpdateCounts() {
    for (const PartRow& row : m_parts) {
        if (!row.animation) {
            continue;
        }
        SetTextIfChanged(
            row.item, kCountColumn,
            QString::number(row.animation->Keys().size()) +
                (row.channels[0]->isHidden() ? QStringLiteral(" ▸") : QStringLiteral(" ▾")));
        if (!row.channels[0]->isHidden()) {
            for (int c = 0; c < 3; ++c) {
                SetTextIfChanged(row.channels[c], kCountColumn,
                                 QString::number(CountOfType(row.animation.Get(), c + 1)));
            }
        }
    }
}

int PartTree::IndexOf(const rm::Frame* frame) const {
    const auto found = m_index.find(frame);
    return found != m_index.end() ? found->second : -1;
}

int PartTree::PartIndexOf(const QTreeWidgetItem* item) {
    if (item == nullptr) {
        return -1;
    }
    bool ok = false;
    const int index = item->data(kNameColumn, kPartRole).toInt(&ok);
    return ok ? index : -1;
}

Channel PartTree::ChannelOf(const QTreeWidgetItem* item) {
    return item != nullptr ? Channel(item->data(kNameColumn, kChannelRole).toInt()) : Channel::Part;
}

void PartTree::ShowSelectedPart(const rm::Frame* frame) {
    const int index = IndexOf(frame);
    m_quiet = true;
    if (index < 0) {
        setCurrentItem(nullptr);
        clearSelection();
    } else {
        QTreeWidgetItem* item = m_parts[std::size_t(index)].item;
        setCurrentItem(item);
        scrollToItem(item);
    }
    m_quiet = false;
}

void PartTree::OnCurrentItemChanged(QTreeWidgetItem* current) {
    if (m_quiet) {
        return;
    }
    const int index = PartIndexOf(current);
    if (index >= 0) {
        emit PartChosen(m_parts[std::size_t(index)].frame.Get());
    }
}

void PartTree::SetFilter(const QString& text) {
    m_filter = text;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        ApplyFilter(topLevelItem(i), text);
    }
}

bool PartTree::ApplyFilter(QTreeWidgetItem* item, const QString& text) {
    bool childMatches = false;
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem* child = item->child(i);
        if (ChannelOf(child) == Channel::Part) {
            childMatches = ApplyFilter(child, text) || childMatches;
        }
    }
    const int index = PartIndexOf(item);
    const bool matches =
        index >= 0 &&
        (text.isEmpty() || m_parts[std::size_t(index)].name.contains(text, Qt::CaseInsensitive));
    item->setHidden(!matches && !childMatches);
    return matches || childMatches;
}

void PartTree::ToggleChannels(int index) {
    if (index < 0 || index >= static_cast<int>(m_parts.size())) {
        return;
    }
    PartRow& row = m_parts[std::size_t(index)];
    if (!row.animation) {
        return;
    }
    const bool show = row.channels[0]->isHidden();
    if (show) {
        m_channelsShown.insert(row.frame.Get());
    } else {
        m_channelsShown.erase(row.frame.Get());
    }
    for (QTreeWidgetItem* channel : row.channels) {
        channel->setHidden(!show);
    }
    if (show) {
        row.item->setExpanded(true);
    }
    UpdateCounts();
}

} // namespace timeline
