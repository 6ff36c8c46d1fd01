#pragma once

#include <vector>

#include "platform/framework/ControlBar.h"
#include "platform/framework/StandardIds.h"
#include "platform/framework/ToolBarResource.h"

class QAction;
class QToolButton;

namespace framework {

/// A tool bar of buttons made from a `ToolBarResource`. Each button sends its command
/// into the frame's routing when clicked; its tool tip is the second field of the
/// command's prompt string (none when the string has one field or is missing).
///
/// Button state, with the platform's terms:
/// - enabled: a disabled button is greyed and cannot be clicked;
/// - checked: the "pressed in" state of a check-box button, toggled by a click before its
///   command arrives, and set by `CheckButton` or a command-state update;
/// - pressed: the mouse is holding the button down at this moment.
class ToolBar : public ControlBar {
    Q_OBJECT

public:
    enum class ButtonStyle { Button, Separator, CheckBox };

    explicit ToolBar(FrameWindow* frame);
    ~ToolBar() override;

    /// Registers the bar with its frame under `controlId`. Returns 1.
    int Create(int controlId = static_cast<int>(ids::ToolBarBar));
    /// Makes the buttons of `resource` (replacing any), faces cut from its bitmap, tool
    /// tips from the frame's string table. Returns 1, or 0 when the bitmap has fewer
    /// cells than the resource has buttons (the buttons are made, the missing faces
    /// blank).
    int LoadToolBar(const ToolBarResource& resource);
    int GetResourceId() const { return m_resourceId; }

    /// Number of items, separators included.
    int GetCount() const { return static_cast<int>(m_items.size()); }
    /// Command of item `index`; 0 for separators and indices out of range.
    CommandId GetItemID(int index) const;
    /// Index of the button for `id`; -1 when there is none.
    int CommandToIndex(CommandId id) const;
    ButtonStyle GetButtonStyle(int index) const;
    /// Makes button `index` a plain button or a check box (separators stay separators).
    void SetButtonStyle(int index, ButtonStyle style);

    int IsButtonEnabled(CommandId id) const;
    void EnableButton(CommandId id, int enable);
    int IsButtonChecked(CommandId id) const;
    /// Sets the checked state; a plain button becomes a check box when checked.
    void CheckButton(CommandId id, int check);
    int IsButtonPressed(CommandId id) const;
    /// Holds the button down (1) or lets it go (0) as the mouse would, without clicking.
    void PressButton(CommandId id, int press);
    QString GetToolTip(CommandId id) const;

    QAction* GetAction(CommandId id) const;
    QToolButton* GetButton(CommandId id) const;

    void OnUpdateCmdUI(FrameWindow& frame, int disableIfNoHandler) override;

private:
    struct Item {
        CommandId id;
        QAction* action; // owned by the bar; null for separators
    };

    const Item* Find(CommandId id) const;

    std::vector<Item> m_items;
    int m_resourceId = 0;
};

} // namespace framework
