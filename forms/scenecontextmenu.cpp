#include "scenecontextmenu.h"

#include "openglpanel.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>
#include <QWindow>

SceneContextMenu::SceneContextMenu(TOpenGLPanel &panel, QWidget &window)
    : QObject(&window)
    , m_panel(panel)
    , m_window(window)
    , m_menu(new QMenu(&window))
{
    m_menu->setObjectName(QStringLiteral("SceneMenu"));
    panel.PanelWindow()->installEventFilter(this);
    m_toolTipDelay.setSingleShot(true);
    m_toolTipDelay.setInterval(700);
    connect(&m_toolTipDelay, &QTimer::timeout, this, &SceneContextMenu::ShowToolTip);
}

QAction *SceneContextMenu::AddEntry(
    const QString &text, const QKeySequence &shortcut, const std::function<void()> &handler)
{
    QAction *action = m_menu->addAction(text);
    action->setShortcut(shortcut);
    m_window.addAction(action);
    connect(action, &QAction::triggered, this, handler);

    QStringList names;
    for (const QAction *entry : m_menu->actions())
        names.append(entry->text() + QStringLiteral(" (")
            + entry->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')'));
    m_panel.setToolTip(QStringLiteral("Правая кнопка мыши: ") + names.join(QStringLiteral(", ")));
    return action;
}

bool SceneContextMenu::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::RightButton)
            break;
        m_toolTipDelay.stop();
        m_menu->popup(mouse->globalPosition().toPoint());
        return true;
    }
    case QEvent::MouseMove:
        m_toolTipPosition = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        if (!QToolTip::isVisible())
            m_toolTipDelay.start();
        break;
    case QEvent::Leave:
        m_toolTipDelay.stop();
        QToolTip::hideText();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void SceneContextMenu::ShowToolTip()
{
    QToolTip::showText(m_toolTipPosition, m_panel.toolTip(), &m_panel);
}
