#pragma once

#include <QImage>
#include <QString>

class CsvTable;
struct CsvStyle;
class QWidget;

// Writing pictures and series to files. A file is written beside
// its target and renamed over it, so a failure leaves an existing file whole;
// failures throw std::runtime_error with the reason, for a file FileWriteFailure.

// picture in format ("PNG", "BMP") to fileName.
void SavePicture(const QImage &picture, const QString &fileName, const char *format);
// canvas as vectors in SVG, with the surface of its parent behind it, to
// fileName; title names the picture in the file.
void SaveCanvasSvg(QWidget &canvas, const QString &title, const QString &fileName);
// table as CSV in style to fileName.
void SaveCsv(const CsvTable &table, const CsvStyle &style, const QString &fileName);
// What the screen shows of canvas, with the surface of its parent behind it:
// a canvas that paints no background lies on its parent's.
QImage CanvasPicture(QWidget &canvas);
