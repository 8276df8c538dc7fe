#include "glpanel/openglpanelaccessible.h"

#include "glpanel/openglpanel.h"

#include <QAccessibleWidget>

namespace {

class OpenGLPanelAccessible : public QAccessibleWidget
{
public:
    explicit OpenGLPanelAccessible(QWidget *panel)
        : QAccessibleWidget(panel, QAccessible::Graphic)
    { }
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
};

QAccessibleInterface *panelInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("TOpenGLPanel") && object && object->isWidgetType())
        return new OpenGLPanelAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void InstallOpenGLPanelAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(panelInterface);
        return true;
    }();
    Q_UNUSED(installed);
}
