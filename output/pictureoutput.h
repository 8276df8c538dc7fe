#pragma once

#include <QImage>
#include <QString>

#include <functional>

class CsvTable;
struct CsvStyle;
class QPaintDevice;
class QPrinter;
class QWidget;
class TPaintBox;

// Writing pictures and series to files. A file is written beside
// its target and renamed over it, so a failure leaves an existing file whole;
// failures throw std::runtime_error with the reason, for a file FileWriteFailure.

// picture in format ("PNG", "BMP") to fileName.
void SavePicture(const QImage &picture, const QString &fileName, const char *format);
// canvas as lines and text in SVG, in the paper's colours as it prints, to
// fileName; title names the picture in the file.
void SaveCanvasSvg(const TPaintBox &canvas, const QString &title, const QString &fileName);
// table as CSV in style to fileName.
void SaveCsv(const CsvTable &table, const CsvStyle &style, const QString &fileName);
// What print paints on a page of printer's layout and resolution, as a PDF to
// printer's output file; no file when print paints nothing. Passes on what print throws.
void SavePrintedPdf(const QPrinter &printer, const std::function<void(QPaintDevice &)> &print);
// What the screen shows of canvas, with the surface of its parent behind it:
// a canvas that paints no background lies on its parent's.
QImage CanvasPicture(QWidget &canvas);
