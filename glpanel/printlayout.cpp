#include "glpanel/printlayout.h"

#include <QImage>
#include <QPainter>

#include <climits>

namespace {

// The printer's coordinates are 32-bit; a larger picture has no place on the page.
bool fits(qint64 value)
{
    return value >= INT_MIN && value <= INT_MAX;
}

} // namespace

int PrintMargin(int dpi)
{
    // dpi times the double nearest 0.18, which lies just below it, in extended precision:
    // the product stays below a whole number when dpi * 18 / 100 is one (600 dpi gives 107,
    // not 108), and truncates like the exact product otherwise. Whole numbers give the same
    // on every machine, also where long double has no more bits than double.
    const qint64 hundredths = qint64(dpi < 0 ? -qint64(dpi) : dpi) * 18;
    const qint64 margin = hundredths == 0 ? 0 : (hundredths - 1) / 100;
    return int(dpi < 0 ? -margin : margin);
}

QRect PrintRectangle(
    TOpenGLPrintScale scale, QSize picture, QSize page, int xdpi, int ydpi, int pixelsPerInch)
{
    const qint64 w = picture.width();
    const qint64 h = picture.height();
    if (w <= 0 || h <= 0)
        return {};
    const qint64 mx = PrintMargin(xdpi);
    const qint64 my = PrintMargin(ydpi);
    qint64 right = 0;
    qint64 bottom = 0;
    switch (scale) {
    case pglPrintToFit: {
        // The limiting side spans the printable length, the other is enlarged by the
        // whole-number factor; right and bottom leave the margin out, so each comes out
        // one margin short.
        const qint64 pw = page.width() - 2 * mx;
        const qint64 ph = page.height() - 2 * my;
        if (ph < pw) {
            right = (ph / h) * w;
            bottom = ph;
        } else {
            right = pw;
            bottom = (pw / w) * h;
        }
        break;
    }
    case pglProportional: {
        // Exact, so that a whole size in printer pixels is not cut one short by rounding.
        const qint64 ppi = pixelsPerInch < 1 ? 96 : pixelsPerInch;
        const qint64 width = w * xdpi / ppi;
        const qint64 height = h * ydpi / ppi;
        if (!fits(width) || !fits(height))
            return {};
        right = width + mx;
        bottom = height + my;
        break;
    }
    default:
        right = w + mx;
        bottom = h + my;
        break;
    }
    // A destination of no or negative size would draw nothing or a mirrored picture.
    if (right <= mx || bottom <= my || !fits(right) || !fits(bottom))
        return {};
    return QRect(int(mx), int(my), int(right - mx), int(bottom - my));
}

PrintFailure::PrintFailure(Stage stage)
    : std::runtime_error(stage == Begin ? "the printer cannot begin a document"
                                        : "the printer cannot finish the document")
    , m_stage(stage)
{ }

void PrintPage(QPaintDevice &page, const QImage &picture, const QRect &target)
{
    QPainter painter;
    if (!painter.begin(&page))
        throw PrintFailure(PrintFailure::Begin);
    if (!target.isEmpty())
        painter.drawImage(target, picture);
    if (!painter.end())
        throw PrintFailure(PrintFailure::Finish);
}
