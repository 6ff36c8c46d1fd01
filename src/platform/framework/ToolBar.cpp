#include "platform/framework/ToolBar.h"

#include <QAction>
#include <QIcon>
#include <QPixmap>
#include <QToolButton>

#include "platform/framework/CCmdUI.h"
#include "platform/framework/FrameWindow.h"
#include "platform/framework/StringTable.h"

namespace framework {

ToolBar::ToolBar(FrameWindow* frame) : ControlBar(frame) {}

ToolBar::~ToolBar() = default;

int ToolBar::Create(int controlId) {
    Register(controlId);
    return 1;
}

int ToolBar::LoadToolBar(const ToolBarResource& resource) {
    clear();
    m_items.clear();
    m_resourceId = resource.id;
    setObjectName(QStringLiteral("ToolBar%1").arg(resource.id));
    setIconSize(resource.buttonSize);
    const StringTable* strings = GetFrame() != nullptr ? GetFrame()->GetStringTable() : nullptr;
    const int cellWidth = resource.buttonSize.width();
    int cell = 0;
    int result = 1;
    for (CommandId id : resource.items) {
        if (id == 0) {
            addSeparator();
            m_items.push_back({0, nullptr});
            continue;
        }
        QImage face(resource.buttonSize, QImage::Format_ARGB32_Premultiplied);
        face.fill(Qt::transparent);
        if ((cell + 1) * cellWidth <= resource.bitmap.width() &&
            resource.buttonSize.height() <= resource.bitmap.height()) {
            face =
                resource.bitmap.copy(cell * cellWidth, 0, cellWidth, resource.buttonSize.height());
        } else {
            result = 0;
        }
        ++cell;
        QAction* action = addAction(QIcon(QPixmap::fromImage(face)), QString());
        action->setData(id);
        // No text: the tool tip would otherwise fall back to it, and a one-field prompt
        // string must give no tool tip.
        action->setToolTip(strings != nullptr ? strings->GetToolTip(id) : QString());
        QObject::connect(action, &QAction::triggered, this, [this, id] {
            if (GetFrame() != nullptr) {
                GetFrame()->OnCommand(id, CommandSource::Control);
            }
        });
        m_items.push_back({id, action});
    }
    return result;
}

CommandId ToolBar::GetItemID(int index) const {
    if (index < 0 || index >= GetCount()) {
        return 0;
    }
    return m_items[index].id;
}

int ToolBar::CommandToIndex(CommandId id) const {
    if (id == 0) {
        return -1;
    }
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const ToolBar::Item* ToolBar::Find(CommandId id) const {
    const int index = CommandToIndex(id);
    return index >= 0 ? &m_items[index] : nullptr;
}

ToolBar::ButtonStyle ToolBar::GetButtonStyle(int index) const {
    if (index < 0 || index >= GetCount() || m_items[index].action == nullptr) {
        return ButtonStyle::Separator;
    }
    return m_items[index].action->isCheckable() ? ButtonStyle::CheckBox : ButtonStyle::Button;
}

void ToolBar::SetButtonStyle(int index, ButtonStyle style) {
    if (index < 0 || index >= GetCount() || m_items[index].action == nullptr ||
        style == ButtonStyle::Separator) {
        return;
    }
    QAction* action = m_items[index].action;
    action->setCheckable(style == ButtonStyle::CheckBox);
}

int ToolBar::IsButtonEnabled(CommandId id) const {
    const Item* item = Find(id);
    return item != nullptr && item->action->isEnabled() ? 1 : 0;
}

void ToolBar::EnableButton(CommandId id, int enable) {
    if (const Item* item = Find(id)) {
        item->action->setEnabled(enable != 0);
    }
}

int ToolBar::IsButtonChecked(CommandId id) const {
    const Item* item = Find(id);
    return item != nullptr && item->action->isChecked() ? 1 : 0;
}

void ToolBar::CheckButton(CommandId id, int check) {
    const Item* item = Find(id);
    if (item == nullptr) {
        return;
    }
    if (check != 0) {
        item->action->setCheckable(true);
    }
    item->action->setChecked(check != 0);
}

QToolButton* ToolBar::GetButton(CommandId id) const {
    const Item* item = Find(id);
    return item != nullptr ? qobject_cast<QToolButton*>(widgetForAction(item->action)) : nullptr;
}

QAction* ToolBar::GetAction(CommandId id) const {
    const Item* item = Find(id);
    return item != nullptr ? item->action : nullptr;
}

int ToolBar::IsButtonPressed(CommandId id) const {
    const QToolButton* button = GetButton(id);
    return button != nullptr && button->isDown() ? 1 : 0;
}

void ToolBar::PressButton(CommandId id, int press) {
    if (QToolButton* button = GetButton(id)) {
        button->setDown(press != 0);
    }
}

QString ToolBar::GetToolTip(CommandId id) const {
    const Item* item = Find(id);
    return item != nullptr ? item->action->toolTip() : QString();
}

void ToolBar::OnUpdateCmdUI(FrameWindow& frame, int disableIfNoHandler) {
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const CommandId id = m_items[i].id;
        QAction* action = m_items[i].action;
        if (action == nullptr) {
            continue;
        }
        CCmdUI ui(id);
        frame.UpdateCommandUI(ui, disableIfNoHandler);
        // An update handler may have reloaded this bar; stop rather than touch buttons
        // that are gone.
        if (i >= m_items.size() || m_items[i].action != action) {
            return;
        }
        if (ui.IsEnableChanged()) {
            action->setEnabled(ui.IsEnabled());
        }
        if (ui.IsCheckChanged()) {
            if (ui.GetCheck() != 0) {
                action->setCheckable(true);
            }
            action->setChecked(ui.GetCheck() == 1);
        }
    }
}

} // namespace framework
