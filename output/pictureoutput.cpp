#include "output/pictureoutput.h"

#include "glpanel/replacefile.h"
#include "model/csvtable.h"

#include <QBuffer>
#include <QPainter>
#include <QPixmap>
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
QByteArray canvasSvg(QWidget &canvas, const QString &title)
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
    if (QWidget *surface = canvas.parentWidget())
        surface->render(&painter, QPoint(), QRegion(canvas.geometry()));
    else
        canvas.render(&painter);
    return painter.end() ? svg.data() : QByteArray();
}

} // namespace

void SaveCanvasSvg(QWidget &canvas, const QString &title, const QString &fileName)
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

QImage CanvasPicture(QWidget &canvas)
{
    QWidget *surface = canvas.parentWidget();
    if (!surface)
        return canvas.grab().toImage();
    return surface->grab(canvas.geometry()).toImage();
}
