#include "analysis/energywindow.h"
#include "analysis/explorechart.h"
#include "analysis/explorewindow.h"
#include "analysis/parameterslider.h"
#include "analysis/resonancewindow.h"
#include "app/analysiswindows.h"
#include "app/applylocalisation.h"
#include "app/localisationfile.h"
#include "output/picturemenu.h"
#include "tests/support/mainwindowfixture.h"
#include "tests/support/scopedlocalisationstep.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

// Every caption of every window fits its control in each shipped language, so
// that a new translation cannot be clipped unseen: a label's lines within its
// width and height (wrapped ones by the lines they wrap to), a button's text
// beside its margins or its indicator.

namespace {

// What a control shows of its caption: the mnemonic's "&" goes, "&&" stays one.
QString shownText(QString text)
{
    return text.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
        .remove('&')
        .replace('\x01', '&');
}

// How much more room text needs than control gives, in pixels; 0 when it fits.
int labelOverflow(const QLabel &label)
{
    const QFontMetrics metrics(label.font());
    const QRect room = label.contentsRect().marginsRemoved(
        QMargins(label.margin(), label.margin(), label.margin(), label.margin()));
    if (label.wordWrap()) {
        const QRect needed = metrics.boundingRect(
            QRect(0, 0, room.width(), QWIDGETSIZE_MAX), Qt::TextWordWrap, label.text());
        return std::max(needed.width() - room.width(), needed.height() - room.height());
    }
    int overflow = 0;
    const QStringList lines = label.text().split('\n');
    for (const QString &line : lines)
        overflow = std::max(overflow, metrics.horizontalAdvance(line) - room.width());
    return std::max(overflow, int(lines.size()) * metrics.height() - room.height());
}

int buttonOverflow(const QAbstractButton &button)
{
    const int text = QFontMetrics(button.font()).horizontalAdvance(shownText(button.text()));
    const QStyle &style = *button.style();
    const bool radio = qobject_cast<const QRadioButton *>(&button);
    if (radio || qobject_cast<const QCheckBox *>(&button)) {
        // The text lies right of the indicator, where the style draws it.
        QStyleOptionButton option;
        option.initFrom(&button);
        option.text = button.text();
        return text
            - style
                  .subElementRect(
                      radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option,
                      &button)
                  .width();
    }
    return text + style.pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button) - button.width();
}

// The controls of window whose caption does not fit, with the pixels missing.
QStringList clippedCaptions(QWidget &window)
{
    // A window not shown yet has not laid its groups out.
    for (QWidget *control : window.findChildren<QWidget *>()) {
        if (control->layout())
            control->layout()->activate();
    }
    QStringList clipped;
    const auto report = [&](const QWidget &control, const QString &text, int overflow) {
        // A window within window is read on its own.
        if (overflow > 0 && !text.isEmpty() && control.isVisibleTo(&window)
            && control.window() == &window) {
            clipped.append(QStringLiteral("%1 %2 of \"%3\": \"%4\" needs %5 px more")
                               .arg(QLatin1String(control.metaObject()->className()),
                                   control.objectName(), window.windowTitle(), text)
                               .arg(overflow));
        }
    };
    for (const QLabel *label : window.findChildren<QLabel *>()) {
        if (label->textFormat() != Qt::RichText && !Qt::mightBeRichText(label->text()))
            report(*label, label->text(), labelOverflow(*label));
    }
    for (const QAbstractButton *button : window.findChildren<QAbstractButton *>())
        report(*button, button->text(), buttonOverflow(*button));
    return clipped;
}

} // namespace

class TextFitsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void everyCaptionFitsItsControl_data();
    void everyCaptionFitsItsControl();

private:
    ScopedLocalisationStep m_step { &ApplyLocalisation };
};

void TextFitsTest::cleanup()
{
    QFile::remove(LocalisationFilePath());
}

void TextFitsTest::everyCaptionFitsItsControl_data()
{
    QTest::addColumn<QString>("language"); // of the caption file; none: the built-in Russian
    QTest::newRow("ru") << QString();
    QTest::newRow("en") << "en";
    QTest::newRow("de") << "de";
    QTest::newRow("uk") << "uk";
}

void TextFitsTest::everyCaptionFitsItsControl()
{
    QFETCH(QString, language);
    if (!language.isEmpty()) {
        QVERIFY(QFile::copy(QStringLiteral(MIRVANE_LOCALE_DIR "/%1/mirvane.xml").arg(language),
            LocalisationFilePath()));
    }
    // Light damping and a drive: every line of the analysis windows has its text.
    ModelParameters parameters = NominalParameters();
    parameters.Damping = 4;
    MainWindowFixture fixture(parameters);
    TForm2 &main = fixture.window();
    new AnalysisWindows(main); // a child of the main window
    for (QAction *entry : main.SceneMenu->Menu()->actions().mid(0, 3))
        entry->trigger();
    auto *resonance = main.findChild<ResonanceWindow *>();
    auto *explore = main.findChild<ExploreWindow *>();
    QVERIFY(resonance && explore && main.findChild<EnergyWindow *>());
    QTRY_VERIFY(!explore->Computing());
    QTRY_VERIFY(!resonance->StatusLabel->text().startsWith(resonance->Captions.Running.left(6)));
    // A long refusal on the explore window's status line, told whole.
    QLineEdit *timeStep = explore->Fields[9]->Edit;
    timeStep->setText(QStringLiteral("1E-9"));
    QTest::keyClick(timeStep, Qt::Key_Return);
    QTRY_VERIFY(!explore->Computing());
    QCOMPARE(explore->StatusLabel->text(), explore->Captions.TooManySteps);

    QStringList clipped;
    for (QWidget *window : std::initializer_list<QWidget *> { &main, Form3, Form5, Form8, Form9 })
        clipped += clippedCaptions(*window);
    for (QWidget *window : main.findChildren<QWidget *>()) {
        if (window->isWindow() && window->isVisible() && !qobject_cast<QMenu *>(window))
            clipped += clippedCaptions(*window);
    }
    // Rearranged for a projector's screen at twice the size.
    explore->resize(960, 490);
    QTRY_VERIFY(explore->DerivedLabel->x() > explore->Chart->x());
    clipped += clippedCaptions(*explore);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join('\n')));
}

QTEST_MAIN(TextFitsTest)
#include "tst_textfits.moc"
