#include "platform/framework/FrameWindow.h"

#include <algorithm>

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include "platform/framework/Application.h"
#include "platform/framework/ControlBar.h"
#include "platform/framework/Document.h"
#include "platform/framework/IMessageBox.h"
#include "platform/framework/StandardIds.h"
#include "platform/framework/UiServices.h"
#include "platform/framework/View.h"

namespace framework {

FrameWindow::FrameWindow(QWidget* parent) : QMainWindow(parent) {
    MapCommandRange(ids::ControlBarFirst, ids::ControlBarLast,
                    [this](CommandId id) { OnBarCheck(id); });
    MapUpdateRange(ids::ControlBarFirst, ids::ControlBarLast,
                   [this](CCmdUI& ui) { OnUpdateControlBarMenu(ui); });
    MapCommand(ids::AppExit, [this] { close(); });
}

FrameWindow::~FrameWindow() = default;

int FrameWindow::LoadFrame(const FrameResources& resources, CreateContext& context) {
    m_title = StringTable::Field(resources.documentString, 0);
    setWindowTitle(m_title + QStringLiteral("[*]"));
    if (!resources.icon.isNull()) {
        setWindowIcon(resources.icon);
    }
    m_strings = resources.strings;
    LoadMenu(resources.menu);
    LoadAccelerators(resources.accelerators);
    return OnCreate(context) == -1 ? 0 : 1;
}

int FrameWindow::OnCreate(CreateContext& context) {
    return OnCreateClient(context) ? 0 : -1;
}

int FrameWindow::OnCreateClient(CreateContext& context) {
    if (!context.newView) {
        return 1;
    }
    View* view = context.newView();
    if (view == nullptr) {
        return 0;
    }
    setCentralWidget(view);
    if (context.document != nullptr) {
        context.document->AddView(view);
    }
    SetActiveView(view);
    return 1;
}

void FrameWindow::OnDestroy() {}

void FrameWindow::DestroyWindow() {
    OnDestroy();
    delete takeCentralWidget();
    for (View* view : findChildren<View*>()) {
        delete view;
    }
    delete this;
}

View* FrameWindow::GetActiveView() const {
    return m_activeView.data();
}

void FrameWindow::SetActiveView(View* view) {
    m_activeView = view;
}

Document* FrameWindow::GetActiveDocument() const {
    View* view = GetActiveView();
    return view != nullptr ? view->GetDocument() : nullptr;
}

std::vector<CommandTarget*> FrameWindow::GetCommandRoute() const {
    std::vector<CommandTarget*> route;
    if (View* view = GetActiveView()) {
        route.push_back(view);
        if (Document* document = view->GetDocument()) {
            route.push_back(document);
        }
    }
    route.push_back(const_cast<FrameWindow*>(this));
    if (Application* application = Application::Instance()) {
        route.push_back(application);
    }
    return route;
}

int FrameWindow::RouteCommand(CommandId id, Notification code) {
    for (CommandTarget* target : GetCommandRoute()) {
        if (target->OnCmdMsg(id, code)) {
            return 1;
        }
    }
    return 0;
}

int FrameWindow::OnCommand(CommandId id, CommandSource source) {
    if (id == 0) {
        return 0;
    }
    if (source != CommandSource::Control && !IsCommandEnabled(id)) {
        return 0;
    }
    return RouteCommand(id, Notification::Clicked);
}

void FrameWindow::UpdateCommandUI(CCmdUI& ui, int disableIfNoHandler) {
    const std::vector<CommandTarget*> route = GetCommandRoute();
    for (CommandTarget* target : route) {
        if (target->OnUpdateCmdMsg(ui)) {
            break;
        }
        ui.ClearContinueRouting();
    }
    if (disableIfNoHandler && !ui.IsEnableChanged()) {
        const bool handled = std::any_of(route.begin(), route.end(), [&](CommandTarget* target) {
            return target->HasHandler(ui.GetId(), Notification::Clicked) != 0;
        });
        ui.Enable(handled);
    }
}

int FrameWindow::IsCommandEnabled(CommandId id) {
    CCmdUI ui(id);
    UpdateCommandUI(ui, 0);
    return !ui.IsEnableChanged() || ui.IsEnabled() ? 1 : 0;
}

void FrameWindow::OnIdleUpdateCmdUI() {
    const std::vector<QPointer<ControlBar>> bars = m_bars;
    for (const QPointer<ControlBar>& bar : bars) {
        if (bar != nullptr && bar->IsShown()) {
            bar->OnUpdateCmdUI(*this, 1);
        }
    }
}

void FrameWindow::LoadMenu(const std::vector<MenuItem>& menu) {
    m_menuActions.clear();
    QMenuBar* bar = menuBar();
    bar->clear();
    for (const MenuItem& item : menu) {
        if (item.kind == MenuItem::Kind::Popup) {
            QMenu* popup = bar->addMenu(item.text);
            BuildMenu(popup, item.items);
        } else if (item.kind == MenuItem::Kind::Command) {
            // A command straight on the bar: rare, but the resource format allows it.
            BindMenuCommand(bar->addAction(item.text), item);
        }
    }
}

void FrameWindow::BuildMenu(QMenu* menu, const std::vector<MenuItem>& items) {
    QObject::connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenuItems(menu); });
    for (const MenuItem& item : items) {
        switch (item.kind) {
        case MenuItem::Kind::Separator:
            menu->addSeparator();
            break;
        case MenuItem::Kind::Popup:
            BuildMenu(menu->addMenu(item.text), item.items);
            break;
        case MenuItem::Kind::Command:
            BindMenuCommand(menu->addAction(item.text), item);
            break;
        }
    }
}

void FrameWindow::BindMenuCommand(QAction* action, const MenuItem& item) {
    const CommandId id = item.id;
    action->setData(id);
    action->setEnabled(!item.grayed);
    QObject::connect(action, &QAction::triggered, this,
                     [this, id] { OnCommand(id, CommandSource::Menu); });
    m_menuActions.emplace(id, action);
}

QAction* FrameWindow::GetMenuAction(CommandId id) const {
    const auto found = m_menuActions.find(id);
    return found != m_menuActions.end() ? found->second : nullptr;
}

void FrameWindow::UpdateMenuItems(QMenu* menu) {
    for (QAction* action : menu->actions()) {
        if (action->isSeparator() || action->menu() != nullptr || !action->data().isValid()) {
            continue;
        }
        CCmdUI ui(action->data().toUInt());
        UpdateCommandUI(ui, 1);
        if (ui.IsEnableChanged()) {
            action->setEnabled(ui.IsEnabled());
        }
        if (ui.IsCheckChanged()) {
            action->setCheckable(true);
            action->setChecked(ui.GetCheck() == 1);
        }
        if (ui.IsTextChanged()) {
            action->setText(ui.GetText());
        }
    }
}

void FrameWindow::UpdateAllMenuItems() {
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) {
        UpdateMenuItems(menu);
    }
}

void FrameWindow::LoadAccelerators(const std::vector<Accelerator>& accelerators) {
    for (QShortcut* shortcut : m_shortcuts) {
        delete shortcut;
    }
    m_shortcuts.clear();
    m_accelerators = accelerators;
    for (const Accelerator& accelerator : accelerators) {
        auto* shortcut = new QShortcut(QKeySequence(accelerator.keys), this);
        shortcut->setContext(Qt::WindowShortcut);
        const CommandId id = accelerator.id;
        QObject::connect(shortcut, &QShortcut::activated, this,
                         [this, id] { OnCommand(id, CommandSource::Accelerator); });
        m_shortcuts.push_back(shortcut);
    }
}

CommandId FrameWindow::FindAccelerator(QKeyCombination keys) const {
    for (const Accelerator& accelerator : m_accelerators) {
        if (accelerator.keys == keys) {
            return accelerator.id;
        }
    }
    return 0;
}

int FrameWindow::TranslateAccelerator(QKeyCombination keys) {
    const CommandId id = FindAccelerator(keys);
    return id != 0 ? OnCommand(id, CommandSource::Accelerator) : 0;
}

void FrameWindow::AddControlBar(ControlBar* bar) {
    m_bars.erase(std::remove(m_bars.begin(), m_bars.end(), nullptr), m_bars.end());
    m_bars.emplace_back(bar);
}

ControlBar* FrameWindow::GetControlBar(int controlId) const {
    for (const QPointer<ControlBar>& bar : m_bars) {
        if (bar != nullptr && bar->GetControlId() == controlId) {
            return bar.data();
        }
    }
    return nullptr;
}

std::vector<ControlBar*> FrameWindow::GetControlBars() const {
    std::vector<ControlBar*> bars;
    for (const QPointer<ControlBar>& bar : m_bars) {
        if (bar != nullptr) {
            bars.push_back(bar.data());
        }
    }
    return bars;
}

void FrameWindow::DockControlBar(ControlBar* bar, Qt::ToolBarArea area) {
    if (bar == nullptr) {
        return;
    }
    bool lineTaken = false;
    for (QToolBar* other : findChildren<QToolBar*>(Qt::FindDirectChildrenOnly)) {
        if (other != bar && toolBarArea(other) == area && !other->isWindow()) {
            lineTaken = true;
        }
    }
    if (lineTaken) {
        addToolBarBreak(area);
    }
    addToolBar(area, bar);
}

void FrameWindow::ShowControlBar(ControlBar* bar, int show) {
    if (bar != nullptr) {
        bar->setVisible(show != 0);
    }
}

void FrameWindow::OnBarCheck(CommandId id) {
    if (ControlBar* bar = GetControlBar(static_cast<int>(id))) {
        ShowControlBar(bar, !bar->IsShown());
    }
}

void FrameWindow::OnUpdateControlBarMenu(CCmdUI& ui) {
    ControlBar* bar = GetControlBar(static_cast<int>(ui.GetId()));
    if (bar == nullptr) {
        ui.Enable(false);
        return;
    }
    ui.SetCheck(bar->IsShown());
}

int FrameWindow::MessageBox(const QString& text, const QString& caption, unsigned style) {
    return UiServices::MessageBoxes().Show(
        this, text, caption.isEmpty() ? UiServices::AppTitle() : caption, style);
}

void FrameWindow::OnUpdateFrameTitle() {
    // "[*]" is where the desktop's unsaved-changes mark goes.
    Document* document = GetActiveDocument();
    if (document != nullptr && !document->GetTitle().isEmpty()) {
        setWindowTitle(document->GetTitle() + QStringLiteral("[*] - ") + m_title);
    } else {
        setWindowTitle(m_title + QStringLiteral("[*]"));
    }
    setWindowModified(document != nullptr && document->IsModified());
}

void FrameWindow::closeEvent(QCloseEvent* event) {
    Document* document = GetActiveDocument();
    if (document != nullptr && !document->CanCloseFrame(this)) {
        event->ignore();
        return;
    }
    event->accept();
    Application* application = Application::Instance();
    if (application != nullptr && application->GetMainWnd() == this) {
        application->PostQuitMessage(0);
    }
}

} // namespace framework
