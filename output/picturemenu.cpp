#include "output/picturemenu.h"

#include "glpanel/openglpanel.h"
#include "glpanel/printlayout.h"
#include "glpanel/replacefile.h"
#include "output/outputdialogs.h"
#include "output/pictureoutput.h"
#include "services/messagebox.h"
#include "services/numberstyles.h"
#include "services/plaintooltip.h"
#include "widgets/paintbox.h"

#include <QAction>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPrinter>
#include <QToolTip>
#include <QWindow>

#include <stdexcept>
#include <utility>

namespace {

// The file types last chosen in this run, as indices into the dialogs'
// filters: a student exporting for a spreadsheet does so from every window.
int lastImageFilter = 0;
int lastCsvFilter = 0;

} // namespace

PictureMenu::PictureMenu(TOpenGLPanel &panel, QWidget &window)
    : PictureMenu(panel, *panel.PanelWindow(), &panel, window)
{
    m_menu->setObjectName(QStringLiteral("SceneMenu"));
    m_toolTipDelay.setSingleShot(true);
    m_toolTipDelay.setInterval(700);
    connect(&m_toolTipDelay, &QTimer::timeout, this, &PictureMenu::ShowToolTip);
}

PictureMenu::PictureMenu(TPaintBox &canvas, QWidget &window)
    : PictureMenu(canvas, canvas, nullptr, window)
{
    m_canvas = &canvas;
    m_menu->setObjectName(canvas.objectName() + QStringLiteral("Menu"));
}

PictureMenu::PictureMenu(QWidget &picture, QObject &input, TOpenGLPanel *panel, QWidget &window)
    : QObject(&window)
    , m_picture(picture)
    , m_panel(panel)
    , m_window(window)
    , m_menu(new QMenu(&window))
{
    SetPlainToolTip(picture, m_texts.ToolTip);
    // The picture takes the keyboard focus, where the menu key reaches it.
    picture.setFocusPolicy(Qt::StrongFocus);
    input.installEventFilter(this);
    if (&input != &picture)
        picture.installEventFilter(this);
}

QAction *PictureMenu::AddEntry(
    const QString &text, const QKeySequence &shortcut, const std::function<void()> &handler)
{
    QAction *action = m_menu->addAction(text);
    action->setShortcut(shortcut);
    // Whatever the desktop's custom, the menu teaches the shortcuts.
    action->setShortcutVisibleInContextMenu(true);
    m_window.addAction(action);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void PictureMenu::AddOutputEntries(const QString &fileName, TableSource table)
{
    m_fileName = fileName;
    m_table = std::move(table);
    if (!m_menu->isEmpty())
        m_menu->addSeparator();
    m_print = AddEntry(m_texts.Print, QKeySequence::Print, [this] { Print(); });
    m_saveImage = AddEntry(m_texts.SaveImage, QKeySequence::Save, [this] { SaveImage(); });
    m_copy = AddEntry(m_texts.Copy, QKeySequence::Copy, [this] { Copy(); });
    m_exportCsv = AddEntry(
        m_texts.ExportCsv, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), [this] { ExportCsv(); });
}

void PictureMenu::SetTexts(const PictureMenuTexts &texts)
{
    m_texts = texts;
    const std::pair<QAction *, QString> entries[]
        = { { m_print, texts.Print }, { m_saveImage, texts.SaveImage }, { m_copy, texts.Copy },
              { m_exportCsv, texts.ExportCsv } };
    for (const auto &[action, text] : entries) {
        if (action)
            action->setText(text);
    }
    SetPlainToolTip(m_picture, texts.ToolTip);
}

bool PictureMenu::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::RightButton)
            break;
        Popup(mouse->globalPosition().toPoint());
        return true;
    }
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Menu
            || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            Popup(m_picture.mapToGlobal(m_picture.rect().center()));
            return true;
        }
        break;
    }
    case QEvent::MouseMove:
        // A widget shows its own tooltip; the panel's native window does not.
        if (m_panel) {
            m_toolTipPosition = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
            if (!QToolTip::isVisible())
                m_toolTipDelay.start();
        }
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

void PictureMenu::Popup(const QPoint &globalPosition)
{
    m_toolTipDelay.stop();
    QToolTip::hideText();
    m_menu->popup(globalPosition);
}

void PictureMenu::ShowToolTip()
{
    QToolTip::showText(m_toolTipPosition, m_picture.toolTip(), &m_picture);
}

QImage PictureMenu::Picture()
{
    const QImage picture = m_panel ? m_panel->TakePicture() : CanvasPicture(m_picture);
    if (picture.isNull())
        ShowMessageBox(m_texts.NoPicture);
    return picture;
}

void PictureMenu::ReportWriteFailure(const QString &fileName, const std::exception &failure)
{
    const auto *fileFailure = dynamic_cast<const FileWriteFailure *>(&failure);
    const FileWriteFailure::Cause cause
        = fileFailure ? fileFailure->GetCause() : FileWriteFailure::Cause::System;
    QString reason = QString::fromLocal8Bit(failure.what());
    if (cause == FileWriteFailure::Cause::NotRegularFile)
        reason = m_texts.NotRegularFile;
    else if (cause == FileWriteFailure::Cause::NotEncoded)
        reason = m_texts.NotEncoded;
    ShowMessageBox(m_texts.WriteFailed.arg(QDir::toNativeSeparators(fileName), reason));
}

void PictureMenu::Print()
{
    // In digits, so that no month name of another language comes onto the page.
    const QString date = QDate::currentDate().toString(Qt::ISODate);
    QPrinter printer(QPrinter::HighResolution);
    // The document bears the page's heading, as a PDF's title too.
    printer.setDocName(m_window.windowTitle() + QStringLiteral(", ") + date);
    if (!AskPrinter(&m_window, printer))
        return;
    const auto print = [this, &date](QPaintDevice &page) {
        if (m_panel) {
            PrintPanelFitted(*m_panel, page);
            return;
        }
        PrintHandout(m_window, *m_canvas, PageHandout(), m_texts.HandoutDate.arg(date), page);
    };
    // Printed to a file, the page replaces it as a saved picture does.
    const QString fileName = printer.outputFileName();
    try {
        if (fileName.isEmpty())
            print(printer);
        else
            SavePrintedPdf(printer, print);
    } catch (const PrintFailure &failure) {
        ShowMessageBox(m_texts.PrintFailed.arg(failure.GetStage() == PrintFailure::Begin
                ? m_texts.PrintNotBegun
                : m_texts.PrintNotFinished));
    } catch (const std::runtime_error &failure) {
        ReportWriteFailure(fileName, failure);
    }
}

Handout PictureMenu::PageHandout() const
{
    if (m_handout)
        return m_handout();
    Handout handout;
    handout.title = m_window.windowTitle();
    return handout;
}

void PictureMenu::SaveImage()
{
    // In the order of the filters; the scene is a raster, offered no SVG.
    enum Format { Png, Bmp, Svg };
    static const char *const Suffixes[] = { "png", "bmp", "svg" };
    QStringList filters { m_texts.PngFilter, m_texts.BmpFilter };
    if (!m_panel)
        filters.append(m_texts.SvgFilter);
    // SVG, chosen for a chart, is no choice for the scene.
    const int offered = lastImageFilter < filters.size() ? lastImageFilter : Png;
    const SaveFileAnswer answer = AskSaveFileName(&m_window,
        { m_texts.SaveImage, m_fileName + '.' + QLatin1String(Suffixes[offered]), filters,
            offered });
    if (answer.fileName.isEmpty())
        return;
    lastImageFilter = answer.filter;
    const QString &fileName = answer.fileName;
    // The name's suffix decides; without a known one, the chosen filter.
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    int format = answer.filter;
    for (int known = Png; known < filters.size(); ++known) {
        if (suffix == QLatin1String(Suffixes[known]))
            format = known;
    }
    try {
        if (format == Svg) {
            SaveCanvasSvg(*m_canvas, m_window.windowTitle(), fileName);
            return;
        }
        const QImage picture = Picture();
        if (!picture.isNull())
            SavePicture(picture, fileName, format == Bmp ? "BMP" : "PNG");
    } catch (const std::runtime_error &failure) {
        ReportWriteFailure(fileName, failure);
    }
}

void PictureMenu::Copy()
{
    const QImage picture = Picture();
    if (!picture.isNull())
        QGuiApplication::clipboard()->setImage(picture);
}

void PictureMenu::ExportCsv()
{
    // Taken before the dialog, which is modal: nothing is computed anew while it is open.
    const std::optional<CsvTable> table = m_table ? m_table() : std::nullopt;
    if (!table) {
        ShowMessageBox(m_texts.NoData);
        return;
    }
    const SaveFileAnswer answer = AskSaveFileName(&m_window,
        { m_texts.ExportCsv, m_fileName + QStringLiteral(".csv"),
            { m_texts.CsvFilter, m_texts.SpreadsheetCsvFilter }, lastCsvFilter });
    if (answer.fileName.isEmpty())
        return;
    lastCsvFilter = answer.filter;
    // A spreadsheet reads numbers with its language's decimal separator, often
    // ",", which leaves ";" to part the fields.
    const CsvStyle style
        = answer.filter == 1 ? CsvStyle { ';', UserNumberSeparators().decimal } : CsvStyle();
    try {
        SaveCsv(*table, style, answer.fileName);
    } catch (const std::runtime_error &failure) {
        ReportWriteFailure(answer.fileName, failure);
    }
}
