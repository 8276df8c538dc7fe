#include "analysis/energywindow.h"
#include "analysis/explorewindow.h"
#include "analysis/parameterslider.h"
#include "analysis/resonancewindow.h"
#include "app/applylocalisation.h"
#include "app/errorreportingapplication.h"
#include "app/windowset.h"
#include "forms/field.h"
#include "forms/input1.h"
#include "forms/phaseportrait.h"
#include "output/outputdialogs.h"
#include "output/picturemenu.h"
#include "services/parameterfilelocation.h"
#include "tests/support/messageboxcapture.h"
#include "tests/support/nominalparameters.h"
#include "tests/support/printedpage.h"
#include "tests/support/scopedlocalisationstep.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <functional>

namespace {

// Parts of a Russian or Ukrainian text that may be in Latin letters: file
// paths, shortcuts, file formats and patterns, the program's name, and the
// message the program has always given in English.
const QRegularExpression LatinAllowed(
    QStringLiteral("(?<!\\S)/\\S*|\\bCtrl\\+\\S+|\\*\\.\\w+|\\b(PNG|BMP|SVG|CSV|PDF|mirvane)\\b"
                   "|'[^']*' is not a valid floating point value"));
// Units and symbols have fewer letters: m/s, Fd, dt.
const QRegularExpression LatinWord(QStringLiteral("\\p{Latin}{3,}"));
const QRegularExpression Cyrillic(QStringLiteral("\\p{Cyrillic}"));

// Qt's own file and print dialogs, not the program's windows.
bool qtDialog(const QObject &object)
{
    return object.inherits("QFileDialog") || object.inherits("QAbstractPrintDialog");
}

// A parameter file that stops a line short, with samples apart from the
// states: the partial reading and the computation each warn.
QByteArray warnedParameters()
{
    QByteArray text
        = QByteArray::fromStdString(FormatParameterFile(NominalWithTimes(0.01f, 0.015f, 2)));
    text.chop(1);
    return text.left(text.lastIndexOf('\n') + 1);
}

void writeParameters(const QByteArray &text)
{
    QFile file(QString::fromStdString(ParameterFilePath()));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(text), text.size());
}

void writeParameters(const ModelParameters &parameters)
{
    writeParameters(QByteArray::fromStdString(FormatParameterFile(parameters)));
}

// Walks the running program: opens every window, dialog and menu, brings up
// its messages, and keeps each text shown or spoken with where it was.
class Walk
{
public:
    // language: the one Qt's own dialogs should speak.
    explicit Walk(const QString &language)
    {
        if (!m_qt.load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            qWarning("No Qt translation for %s", qPrintable(language));
        QObject::connect(&m_poll, &QTimer::timeout, [this] { answerModal(); });
        m_poll.start(10);
    }

    void run()
    {
        TForm2 &main = *Form2;
        QTRY_VERIFY(m_boxes.boxes.size() >= 2); // the reading's and the computation's warnings
        QMenu *sceneMenu = main.SceneMenu->Menu();
        sceneMenu->popup(main.mapToGlobal(QPoint(100, 100)));
        QVERIFY(QTest::qWaitForWindowExposed(sceneMenu));
        read(*sceneMenu);
        sceneMenu->hide();
        for (QPushButton *opens : { main.Button1, main.Button4 })
            QTest::mouseClick(opens, Qt::LeftButton);
        // The analysis windows, then the file and print dialogs, then a save refused.
        for (QAction *entry : sceneMenu->actions())
            entry->trigger();
        // The resonance and energy windows stay open beside the others.
        for (QWidget *analysis : std::initializer_list<QWidget *> {
                 main.findChild<ResonanceWindow *>(), main.findChild<EnergyWindow *>() }) {
            QVERIFY(analysis && QTest::qWaitForWindowExposed(analysis));
            readWindow(*analysis);
        }
        // The explore window stays open for the last reading, with a refusal shown.
        auto *explore = main.findChild<ExploreWindow *>();
        QVERIFY(explore && explore->isVisible());
        explore->Fields[0]->Edit->setText(QStringLiteral("--1"));
        QTest::keyClick(explore->Fields[0]->Edit, Qt::Key_Return);
        QVERIFY(!explore->StatusLabel->text().isEmpty());
        SetDialogAnswers({ .saveFile =
                               [](const SaveFileRequest &) {
                                   return SaveFileAnswer { QDir::tempPath(), 0 };
                               },
            .print = {} });
        for (QAction *entry : sceneMenu->actions()) {
            if (entry->text() == main.SceneMenu->Texts().SaveImage)
                entry->trigger();
        }
        SetDialogAnswers({});
        // A chart's file kinds are more than the scene's.
        Form5->PaintBox1Menu->Menu()->actions().at(1)->trigger(); // saving

        // A number the dialog cannot read, then a computation long enough
        // for its progress, then one refused.
        m_parameters = [](TForm3 &dialog) {
            dialog.Edits[0]->setText(QStringLiteral("abc"));
            QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        };
        QTest::mouseClick(main.Button2, Qt::LeftButton);
        m_parameters = {};
        writeParameters(NominalWithTimes(0.0001f, 0.01f, 9999));
        QTest::mouseClick(main.Button2, Qt::LeftButton);
        writeParameters(NominalWithTimes(0.0001f, 0.01f, 99999));
        QTest::mouseClick(main.Button2, Qt::LeftButton);

        for (QWidget *window : QApplication::topLevelWidgets())
            read(*window);
        for (const MessageBoxRequest &box : m_boxes.boxes) {
            add(nullptr, QStringLiteral("message box"), box.caption);
            add(nullptr, QStringLiteral("message box"), box.text);
        }
    }

    // Each text with the control it is on.
    QMultiMap<QString, QString> texts;
    QStringList opened; // the classes of the windows read, as they came up

private:
    // Qt's file and print dialogs fall back to English where Qt's
    // translation lacks a text; it looks a text up by the classes and forms
    // the text lies in.
    bool untranslatedByQt(const QObject *owner, const QString &text) const
    {
        bool inQtDialog = false;
        for (const QObject *place = owner; place; place = place->parent()) {
            inQtDialog = inQtDialog || qtDialog(*place);
            for (const QString &context :
                { QString::fromLatin1(place->metaObject()->className()), place->objectName() }) {
                if (!m_qt.translate(qPrintable(context), qPrintable(text)).isEmpty())
                    return false;
            }
        }
        return inQtDialog && !text.contains(Cyrillic);
    }

    // owner: the object the text is on, if any.
    void add(const QObject *owner, const QString &where, const QString &text)
    {
        if (!text.trimmed().isEmpty() && !texts.contains(text, where)
            && !untranslatedByQt(owner, text))
            texts.insert(text, where);
    }

    void read(QWidget &root)
    {
        for (QWidget *control : QList<QWidget *> { &root } + root.findChildren<QWidget *>()) {
            const QString where = QStringLiteral("%1 %2 of \"%3\"")
                                      .arg(QLatin1String(control->metaObject()->className()),
                                          control->objectName(), control->window()->windowTitle());
            if (control->isWindow())
                add(control, where, control->windowTitle());
            add(control, where, control->toolTip());
            add(control, where, control->whatsThis());
            if (auto *label = qobject_cast<QLabel *>(control))
                add(control, where, label->text());
            if (auto *button = qobject_cast<QAbstractButton *>(control))
                add(control, where, button->text());
            if (auto *box = qobject_cast<QGroupBox *>(control))
                add(control, where, box->title());
            if (auto *menu = qobject_cast<QMenu *>(control))
                add(control, where, menu->title());
            if (auto *files = qobject_cast<QFileDialog *>(control)) {
                for (const QString &kind : files->nameFilters())
                    add(control, where, kind);
            }
            if (QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control)) {
                add(control, where, accessible->text(QAccessible::Name));
                add(control, where, accessible->text(QAccessible::Description));
            }
        }
        for (const QAction *action : root.findChildren<QAction *>()) {
            add(action, QStringLiteral("entry of \"%1\"").arg(root.windowTitle()), action->text());
            add(action, QStringLiteral("entry of \"%1\"").arg(root.windowTitle()),
                action->toolTip());
        }
    }

    // The lines pdftotext finds on the page the chart's menu prints.
    void readPrintedPage(QWidget &window, const PictureMenu &chart)
    {
        const QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("page.pdf"));
        PrintToPdf(chart, pdf);
        const QByteArray text = PopplerOutput(QStringLiteral("pdftotext"), { pdf, "-" });
        for (const QString &line : QString::fromUtf8(text).split('\n'))
            add(&window, QStringLiteral("printed page of \"%1\"").arg(window.windowTitle()), line);
    }

    // Reads a window that came up, and the page its chart prints.
    void readWindow(QWidget &window)
    {
        opened.append(QLatin1String(window.metaObject()->className()));
        read(window);
        if (auto *chart = window.findChild<PictureMenu *>(); chart && !qtDialog(window))
            readPrintedPage(window, *chart);
    }

    // Reads the modal window on top once it is up and closes it: the
    // parameters dialog may be answered otherwise, the progress cancelled.
    void answerModal()
    {
        // Without waiting here: this timer does not fire in a loop run from its own handler.
        QWidget *window = QApplication::activeModalWidget();
        if (!window || !window->isVisible() || !window->windowHandle()->isExposed())
            return;
        readWindow(*window);
        auto *parameters = qobject_cast<TForm3 *>(window);
        if (parameters && m_parameters)
            m_parameters(*parameters);
        if (auto *progress = qobject_cast<QProgressDialog *>(window))
            progress->cancel();
        else if (auto *dialog = qobject_cast<QDialog *>(window); dialog && dialog->isVisible()) {
            // Qt's dialogs would act on an acceptance.
            dialog->done(qtDialog(*dialog) ? QDialog::Rejected : 1);
        }
    }

    MessageBoxCapture m_boxes;
    QTimer m_poll;
    QTranslator m_qt;
    std::function<void(TForm3 &)> m_parameters;
};

} // namespace

class OneLanguageTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void everyTextInTheFilesScript_data();
    void everyTextInTheFilesScript();

private:
    ScopedLocalisationStep m_step { &ApplyLocalisation };
};

void OneLanguageTest::cleanup()
{
    QFile::remove(LocalisationFilePath());
    QFile::remove(QString::fromStdString(ParameterFilePath()));
}

void OneLanguageTest::everyTextInTheFilesScript_data()
{
    QTest::addColumn<QString>("language"); // of the caption file; none: the built-in Russian
    QTest::addColumn<bool>("latinWordsForeign");
    QTest::addColumn<QString>("foreignLetters");

    QTest::newRow("built in") << QString() << true << QString();
    QTest::newRow("en") << "en" << false << "\\p{Cyrillic}";
    QTest::newRow("de") << "de" << false << "\\p{Cyrillic}";
    // Russian's letters that Ukrainian lacks.
    QTest::newRow("uk") << "uk" << true << "[ЁёЫыЭэЪъ]";
}

void OneLanguageTest::everyTextInTheFilesScript()
{
    QFETCH(QString, language);
    QFETCH(bool, latinWordsForeign);
    QFETCH(QString, foreignLetters);
    const QRegularExpression foreignLetter(foreignLetters);
    if (!language.isEmpty()) {
        QVERIFY(QFile::copy(QStringLiteral(MIRVANE_LOCALE_DIR "/%1/mirvane.xml").arg(language),
            LocalisationFilePath()));
    }
    writeParameters(warnedParameters());
    Walk walk(language.isEmpty() ? QStringLiteral("ru") : language);
    QTimer::singleShot(0, [&] {
        walk.run();
        Form2->close();
    });
    QCOMPARE(RunProgram(), 0);

    walk.opened.sort();
    QCOMPARE(walk.opened,
        (QStringList { "EnergyWindow", "QFileDialog", "QFileDialog", "QFileDialog", "QPrintDialog",
            "QProgressDialog", "ResonanceWindow", "TForm3", "TForm3", "TForm3", "TForm5", "TForm8",
            "TForm9" }));
    QStringList foreign;
    for (auto it = walk.texts.cbegin(); it != walk.texts.cend(); ++it) {
        const bool inForeignScript
            = (latinWordsForeign && QString(it.key()).remove(LatinAllowed).contains(LatinWord))
            || (!foreignLetters.isEmpty() && it.key().contains(foreignLetter));
        if (inForeignScript)
            foreign.append(QStringLiteral("%1: %2").arg(it.value(), it.key()));
    }
    // Too many for one message of the test's.
    for (const QString &text : foreign)
        qWarning().noquote() << text;
    QVERIFY2(foreign.isEmpty(),
        qPrintable(QStringLiteral("%1 texts in another script").arg(foreign.size())));
}

int main(int argc, char **argv)
{
    ErrorReportingApplication application(argc, argv);
    OneLanguageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_onelanguage.moc"
