#include "output/pictureoutput.h"

#include "glpanel/replacefile.h"
#include "model/csvtable.h"
#include "output/chartpart.h"
#include "widgets/paintbox.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QPrinter>
#include <QSvgGenerator>
#include <QWidget>

#include <stdexcept>

void SavePicture(const QImage &picture, const QString &fileName, const char *format)
{
    ReplaceFile(
        fileName, [&picture, format](QIODevice &file) { return picture.save(&file, format); });
}

namespace {

// canvas drawn into an SVG document; empty when it cannot be drawn. Made whole
// in memory, as the generator reports no failed write.
QByteArray canvasSvg(const TPaintBox &canvas, const QString &title)
{
    QBuffer svg;
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setTitle(title);
    generator.setSize(canvas.size());
    generator.setViewBox(QRect(QPoint(), canvas.size()));
    generator.setResolution(canvas.logicalDpiX());
    QPainter painter;
    if (!painter.begin(&generator))
        return {};
    const ChartColours &paper = ChartColours::Paper();
    painter.fillRect(canvas.rect(), paper.SurfaceOn(canvas.palette()));
    DrawChartPart(painter, canvas, canvas, canvas.rect(), paper);
    return painter.end() ? svg.data() : QByteArray();
}

} // namespace

void SaveCanvasSvg(const TPaintBox &canvas, const QString &title, const QString &fileName)
{
    const QByteArray svg = canvasSvg(canvas, title);
    ReplaceFile(fileName,
        [&svg](QIODevice &file) { return !svg.isEmpty() && file.write(svg) == svg.size(); });
}

void SaveCsv(const CsvTable &table, const CsvStyle &style, const QString &fileName)
{
    ReplaceFile(fileName, [&](QIODevice &file) {
        return WriteCsv(table, style, [&file](std::string_view piece) {
            return file.write(piece.data(), qint64(piece.size())) == qint64(piece.size());
        });
    });
}

void SavePrintedPdf(const QPrinter &printer, const std::function<void(QPaintDevice &)> &print)
{
    // Made whole in memory: the PDF engine reports no failed write, and the
    // printer's own file would be cut short by a full disk without a word.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPdfVersion(printer.pdfVersion());
        writer.setTitle(printer.docName());
        writer.setCreator(printer.creator());
        writer.setResolution(printer.resolution());
        writer.setPageLayout(printer.pageLayout());
        print(writer);
    }
    // A page that was not painted has been reported where it failed.
    if (pdf.data().isEmpty())
        return;
    ReplaceFile(printer.outputFileName(),
        [&pdf](QIODevice &file) { return file.write(pdf.data()) == pdf.size(); });
}

QImage CanvasPicture(QWidget &canvas)
{
    QWidget *surface = canvas.parentWidget();
    if (!surface)
        return canvas.grab().toImage();
    return surface->grab(canvas.geometry()).toImage();
}
