#include "openglpanel.h"
#include "panelhost.h"

#include <QTest>

class TestFonts : public QObject
{
    Q_OBJECT
private slots:
    void placeholder() { }
};

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
