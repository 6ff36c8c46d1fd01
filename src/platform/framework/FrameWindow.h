#pragma once

#include <map>
#include <vector>

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "platform/framework/CommandTarget.h"
#include "platform/framework/CreateContext.h"
#include "platform/framework/FrameResources.h"
#include "platform/framework/MessageBoxCodes.h"

class QAction;
class QMenu;
class QShortcut;

namespace framework {

class ControlBar;
class Document;
class View;

/// A frame window: the main window holding the menu, the control bars and the active
/// view. It routes every command — from its menu, its accelerators, its tool bars and
/// its dialog bars — to the active view, then the view's document, then itself, then the
/// application; the first of them whose command map has an entry runs it.
///
/// Command states follow the same route: during idle processing every shown control bar
/// updates its elements (`OnIdleUpdateCmdUI`), and a menu updates its items when it
/// opens. An update handler may enable, check or relabel the element; an element for
/// which no update handler decides the enabled state is enabled exactly when some target
/// on the route has a command handler for it — so a command nobody handles is greyed.
///
/// Lifetime: a frame is made and destroyed by its document template; destroy one
/// yourself only with `DestroyWindow`, which takes the views down before the frame (the
/// view's clean-up may still need the frame). Closing the window asks the document
/// (`CanCloseFrame`), hides the frame and, for the application's main window, posts the
/// application's quit; the frame itself is destroyed when the application exits.
///
/// A main frame maps its commands in its constructor and builds its bars in `OnCreate`:
///
///     CMainFrame::CMainFrame() {
///         MapCommand(32793, &CMainFrame::OnStop);
///         MapUpdate(32794, &CMainFrame::OnUpdatePlay);
///         MapNotify(1005, Notification::SelChange, &CMainFrame::OnSpeedChange);
///     }
///     int CMainFrame::OnCreate(CreateContext& context) {
///         if (FrameWindow::OnCreate(context) == -1) return -1;   // makes the view
///         m_animationToolBar = new ToolBar(this);
///         m_animationToolBar->Create();
///         m_animationToolBar->LoadToolBar(resources::AnimationToolBar());
///         m_controlPanel = new DialogBar(this);
///         m_controlPanel->Create(ControlPanelTemplate(), Qt::LeftToolBarArea);
///         DockControlBar(m_animationToolBar, Qt::BottomToolBarArea);
///         return 0;
///     }
class FrameWindow : public QMainWindow, public CommandTarget {
    Q_OBJECT

public:
    explicit FrameWindow(QWidget* parent = nullptr);
    ~FrameWindow() override;

    /// Creation, as the document template does it: window title (the first field of the
    /// document string), icon, menu, accelerators and string table from `resources`,
    /// then `OnCreate(context)`. Returns 1, or 0 when `OnCreate` failed (the caller then
    /// destroys the frame).
    int LoadFrame(const FrameResources& resources, CreateContext& context);
    /// Window creation. The default runs `OnCreateClient` and returns 0, or -1 when that
    /// failed. Derived frames create their bars after calling it.
    virtual int OnCreate(CreateContext& context);
    /// Makes the client area: the default creates the view (`context.newView`), puts it
    /// in the centre, attaches it to the document and makes it the active view. Returns
    /// 1 on success.
    virtual int OnCreateClient(CreateContext& context);
    /// Called by `DestroyWindow` before the views go.
    virtual void OnDestroy();
    /// Destroys the frame: `OnDestroy`, then the views, then the frame object itself.
    /// The pointer is invalid afterwards.
    void DestroyWindow();

    View* GetActiveView() const;
    void SetActiveView(View* view);
    Document* GetActiveDocument() const;

    /// The route of commands: active view, its document, this frame, the application —
    /// whichever of them exist.
    std::vector<CommandTarget*> GetCommandRoute() const;
    /// Sends (id, code) along the route; 1 when some target handled it.
    int RouteCommand(CommandId id, Notification code = Notification::Clicked);
    /// A command from the menu, an accelerator or a control. Menu and accelerator
    /// commands that are disabled by their command state are dropped. 1 when handled.
    int OnCommand(CommandId id, CommandSource source);
    /// Runs the command-state update of `ui` along the route (see the class comment).
    /// With `disableIfNoHandler` 0 nothing is enabled or disabled unless a handler says so.
    void UpdateCommandUI(CCmdUI& ui, int disableIfNoHandler);
    /// The enabled state a menu item for `id` would get (no element is changed; the
    /// update handlers do run).
    int IsCommandEnabled(CommandId id);
    /// Idle processing: updates the elements of every shown control bar.
    void OnIdleUpdateCmdUI();

    /// Builds the menu bar from `menu` (replacing any).
    void LoadMenu(const std::vector<MenuItem>& menu);
    /// The first menu item of `id`; null when the menu has none.
    QAction* GetMenuAction(CommandId id) const;
    /// Brings the items of `menu` up to date (what opening it does).
    void UpdateMenuItems(QMenu* menu);
    /// Updates every item of every menu of the menu bar.
    void UpdateAllMenuItems();
    /// Installs the accelerator table (replacing any).
    void LoadAccelerators(const std::vector<Accelerator>& accelerators);
    /// The command of the accelerator for `keys`; 0 when there is none.
    CommandId FindAccelerator(QKeyCombination keys) const;
    /// Presses the accelerator `keys` as the keyboard would. 1 when its command was
    /// handled.
    int TranslateAccelerator(QKeyCombination keys);

    /// The string table tool tips come from; borrowed, may be null.
    const StringTable* GetStringTable() const { return m_strings; }
    void SetStringTable(const StringTable* strings) { m_strings = strings; }

    /// Called by `ControlBar::Register`.
    void AddControlBar(ControlBar* bar);
    /// The first bar registered with `controlId`; null when none is.
    ControlBar* GetControlBar(int controlId) const;
    std::vector<ControlBar*> GetControlBars() const;
    /// Docks `bar` at `area`, on a line of its own below (or beside) the bars already
    /// there; the first line of an area is the one nearest the view.
    void DockControlBar(ControlBar* bar, Qt::ToolBarArea area);
    /// Shows (1) or hides (0) `bar`.
    void ShowControlBar(ControlBar* bar, int show);

    /// The frame's message box: `caption` empty means the application title.
    int MessageBox(const QString& text, const QString& caption = {}, unsigned style = MbOk);

    /// The title the frame's text is made of (the document string's first field).
    const QString& GetTitle() const { return m_title; }
    void SetTitle(const QString& title) { m_title = title; }
    /// Sets the window text to "<document title>[*] - <title>", or "<title>[*]" without a
    /// document; "[*]" shows as the desktop's unsaved-changes mark while the document is
    /// modified.
    virtual void OnUpdateFrameTitle();

protected:
    void closeEvent(QCloseEvent* event) override;
    /// The bars have no context menu of their own: showing and hiding them is a command.
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void OnBarCheck(CommandId id);
    void OnUpdateControlBarMenu(CCmdUI& ui);
    void BuildMenu(QMenu* menu, const std::vector<MenuItem>& items);
    /// Makes `action` send the item's command and keeps it for the command-state updates.
    void BindMenuCommand(QAction* action, const MenuItem& item);

    QPointer<View> m_activeView;
    std::vector<QPointer<ControlBar>> m_bars;
    std::multimap<CommandId, QAction*> m_menuActions; // actions owned by the menus
    std::vector<QShortcut*> m_shortcuts;              // owned by the frame
    std::vector<Accelerator> m_accelerators;
    const StringTable* m_strings = nullptr;
    QString m_title;
};

} // namespace framework
