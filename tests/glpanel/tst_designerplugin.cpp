#include <QPluginLoader>
#include <QTest>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

// The plugin as Qt Designer loads it.
class TestDesignerPlugin : public QObject
{
    Q_OBJECT

private slots:
    void offersThePanel();
};

void TestDesignerPlugin::offersThePanel()
{
    QPluginLoader loader(QStringLiteral(MIRVANE_DESIGNER_PLUGIN));
    auto *plugin = qobject_cast<QDesignerCustomWidgetInterface *>(loader.instance());
    QVERIFY2(plugin, qPrintable(loader.errorString()));
    QCOMPARE(QStringList({ plugin->name(), plugin->group(), plugin->includeFile() }),
        QStringList({ "TOpenGLPanel", "mirvane", "openglpanel.h" }));
    QWidget form;
    // The plugin holds its own copy of the panel's class, so it is known by name only.
    const QWidget *panel = plugin->createWidget(&form);
    QVERIFY(panel && panel->parent() == &form);
    QCOMPARE(panel->metaObject()->className(), "TOpenGLPanel");
}

QTEST_MAIN(TestDesignerPlugin)
#include "tst_designerplugin.moc"
