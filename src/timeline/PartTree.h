#pragma once

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <QString>
#include <QTreeWidget>

#include "platform/rm/Animation.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Ref.h"

class CAnimationData;

namespace timeline {

/// What a row of the part tree (and the key sheet beside it) shows: a whole part, or one
/// channel of its animation.
enum class Channel { Part = 0, Rotation = 1, Scale = 2, Position = 3 };

/// One part of the model as the tree shows it. Holds its frame and animation, so a row
/// never names a freed one.
struct PartRow {
    rm::Ref<rm::Frame> frame;
    /// The animation of the current set that drives the part; null when none does.
    rm::Ref<rm::Animation> animation;
    /// The part's name, decoded (code page 932 or UTF-8).
    QString name;
    int depth = 0;
    QTreeWidgetItem* item = nullptr; // owned by the tree
    /// Rotation, scale and position sub-rows (children of `item`); null without animation.
    QTreeWidgetItem* channels[3] = {nullptr, nullptr, nullptr};
};

/// The left side of the timeline: the current model's parts by name, nested as in the
/// model and collapsible, each driven part with its key count. A click on a driven part's
/// count shows or hides its rotation, scale and position sub-rows. A search text hides the
/// parts whose names do not hold it (their ancestors stay, so a match keeps its place).
///
/// Rows are items; the key sheet reads their places on screen from the tree, so both sides
/// always show the same rows at the same heights.
class PartTree : public QTreeWidget {
    Q_OBJECT

public:
    explicit PartTree(QWidget* parent = nullptr);

    /// Reads the parts under `root` (its children are the top rows; the root, the model's
    /// own holder, is none) and which animation of `set` drives each. Items are made anew
    /// only when the parts, their order, names or animations changed (their expansion and
    /// sub-rows then kept by part); otherwise only the counts are updated. Null `root`
    /// empties the tree. True when the rows were made anew.
    bool Rebuild(rm::Frame* root, const CAnimationData* set);
    /// Shows the key counts as the animations hold them now.
    void UpdateCounts();

    const std::vector<PartRow>& Parts() const { return m_parts; }
    /// The index in Parts() of `frame`'s row; -1 when it has none.
    int IndexOf(const rm::Frame* frame) const;
    /// The part and channel a row item stands for (-1 and Part for a foreign item).
    static int PartIndexOf(const QTreeWidgetItem* item);
    static Channel ChannelOf(const QTreeWidgetItem* item);

    /// Highlights `frame`'s row (none for null or a part without a row) and scrolls it into
    /// view, without reporting it as a click.
    void ShowSelectedPart(const rm::Frame* frame);
    /// Hides the parts whose names do not contain `text` (case-insensitive; empty shows all).
    void SetFilter(const QString& text);
    /// Shows or hides the channel sub-rows of part `index`.
    void ToggleChannels(int index);

signals:
    /// The user chose a part (click or keyboard).
    void PartChosen(rm::Frame* frame);
    /// The user double-clicked a part's row.
    void PartActivated(rm::Frame* frame);

private:
    struct Shape {
        rm::Frame* frame;
        rm::Animation* animation;
        int depth;
        std::string name;
        bool operator==(const Shape&) const = default;
    };
    void Collect(rm::Frame* frame, int depth,
                 const std::unordered_map<const rm::Frame*, rm::Animation*>& driven,
                 std::vector<Shape>& shapes) const;
    void MakeItems(const std::vector<Shape>& shapes);
    bool ApplyFilter(QTreeWidgetItem* item, const QString& text);
    void OnCurrentItemChanged(QTreeWidgetItem* current);

    std::vector<Shape> m_shape;
    std::vector<PartRow> m_parts;
    std::unordered_map<const rm::Frame*, int> m_index;
    /// Parts whose sub-rows show, and those collapsed, by frame (kept over a remake).
    std::unordered_set<const rm::Frame*> m_channelsShown;
    std::unordered_set<const rm::Frame*> m_collapsed;
    QString m_filter;
    bool m_quiet = false;
};

} // namespace timeline
