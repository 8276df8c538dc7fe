#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <functional>

class QAction;
class QKeySequence;
class QMenu;
class QWidget;
class TOpenGLPanel;

// The context menu of the main window's scene. A right click over the panel
// opens it; every entry is also a shortcut of the window, and the panel's
// tooltip names the entries with their shortcuts.
class SceneContextMenu : public QObject
{
    Q_OBJECT

public:
    // Parented to window; the panel lies in it.
    SceneContextMenu(TOpenGLPanel &panel, QWidget &window);

    // Appends an entry that runs handler.
    QAction *AddEntry(
        const QString &text, const QKeySequence &shortcut, const std::function<void()> &handler);
    QMenu *Menu() const { return m_menu; }

protected:
    // The panel draws in a native window of its own, which gets the mouse
    // instead of the panel widget.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ShowToolTip();

    TOpenGLPanel &m_panel;
    QWidget &m_window;
    QMenu *m_menu = nullptr;
    QTimer m_toolTipDelay; // runs while the mouse rests over the scene
    QPoint m_toolTipPosition;
};
