#pragma once

#include <QRect>
#include <QSize>

#include <stdexcept>

class QImage;
class QPaintDevice;

enum TOpenGLPrintScale { pglNone = 0, pglPrintToFit = 1, pglProportional = 2 };

// The 0.18-inch margin in printer pixels at dpi pixels per inch, truncated toward zero.
int PrintMargin(int dpi);

// Where a picture of W x H pixels goes on a printable area of page printer pixels at xdpi x
// ydpi, by the scaling rule: its top left at the margins, its size from the rule. Enlarging
// to fit uses whole-number factors. pixelsPerInch below 1 counts as 96. An empty rectangle
// when nothing can be drawn: an empty picture, a picture larger than the area when fitting,
// or a size beyond the printer's coordinates.
QRect PrintRectangle(
    TOpenGLPrintScale scale, QSize picture, QSize page, int xdpi, int ydpi, int pixelsPerInch);

// The printer could not begin or finish the document of a page.
class PrintFailure : public std::runtime_error
{
public:
    enum Stage { Begin, Finish };
    explicit PrintFailure(Stage stage);
    Stage GetStage() const { return m_stage; }

private:
    Stage m_stage;
};

// Draws picture into target (nearest pixel) as a document of one page; an empty target
// leaves the page blank. Throws PrintFailure.
void PrintPage(QPaintDevice &page, const QImage &picture, const QRect &target);
