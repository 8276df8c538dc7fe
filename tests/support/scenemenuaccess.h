#pragma once

#include "forms/field.h"
#include "glpanel/openglpanel.h"
#include "output/picturemenu.h"
#include "tests/support/pixels.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

// Runs whileOpen on the modal window of type Window once it is up, then
// closes it: call before the action that opens the window.
template <typename Window> void whenShown(std::function<void(Window &)> whileOpen)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, whileOpen] {
        auto *window = qobject_cast<Window *>(QApplication::activeModalWidget());
        if (!window || !QTest::qWaitForWindowExposed(window))
            return;
        poll->deleteLater();
        poll->stop();
        whileOpen(*window);
        window->done(1);
    });
    poll->start(10);
}

// Opens a modeless window of type Window through open, runs whileOpen on it
// once it is up, then closes it; false when no such window showed.
template <typename Window>
bool whileOpen(const std::function<void()> &open, const std::function<void(Window &)> &whileOpen)
{
    open();
    Window *window = nullptr;
    const bool shown = QTest::qWaitFor([&window] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            window = qobject_cast<Window *>(widget);
            if (window && window->isVisible())
                return true;
        }
        return false;
    });
    if (!shown || !QTest::qWaitForWindowExposed(window))
        return false;
    whileOpen(*window);
    window->done(1);
    return true;
}

// Right-clicks target (a canvas, or the scene's native window) and clicks
// the entry of menu with text.
template <typename Target> void clickMenuEntry(Target *target, QMenu *menu, const QString &text)
{
    QTest::mouseClick(target, Qt::RightButton, {}, QPoint(100, 100));
    QTRY_VERIFY(menu->isVisible());
    for (QAction *action : menu->actions()) {
        if (action->text() == text) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            return;
        }
    }
    QFAIL(qPrintable(text));
}

// Right-clicks the scene and clicks entry of its context menu.
inline void clickSceneMenuEntry(TForm2 &form, int entry)
{
    QMenu *menu = form.SceneMenu->Menu();
    clickMenuEntry(form.OpenGLPanel1->PanelWindow(), menu, menu->actions().at(entry)->text());
}
