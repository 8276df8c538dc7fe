#include "output/pictureoutput.h"

#include "glpanel/replacefile.h"
#include "model/seriescsv.h"

#include <QPixmap>
#include <QWidget>

#include <stdexcept>

void SavePicture(const QImage &picture, const QString &fileName, const char *format)
{
    ReplaceFile(
        fileName, [&picture, format](QIODevice &file) { return picture.save(&file, format); });
}

void SaveSeriesCsv(const MotionModel &motion, float printStep, const QString &fileName)
{
    ReplaceFile(fileName, [&](QIODevice &file) {
        return WriteSeriesCsv(motion, printStep, [&file](std::string_view piece) {
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
