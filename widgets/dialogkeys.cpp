#include "widgets/dialogkeys.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

namespace {

// Takes Escape before QDialog, which would reject the dialog.
class EscapeFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parent() && event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void WithoutDefaultAndCancel(QDialog &dialog)
{
    // A dialog makes its first auto-default button the default one.
    const QList<QPushButton *> buttons = dialog.findChildren<QPushButton *>();
    for (QPushButton *button : buttons)
        button->setAutoDefault(false);
    dialog.installEventFilter(new EscapeFilter(&dialog));
}
