#include "glpanel/printlayout.h"

#include <climits>

namespace {

// The printer's coordinates are 32-bit; a larger picture has no place on the page.
bool fits(long double value)
{
    return value >= INT_MIN && value <= INT_MAX;
}

} // namespace

int PrintMargin(int dpi)
{
    // The double nearest 0.18 lies just below it; multiplied in extended precision the
    // product stays below a whole number (600 dpi gives 107, not 108).
    return int(static_cast<long double>(dpi) * static_cast<long double>(0.18));
}

QRect PrintRectangle(
    TOpenGLPrintScale scale, QSize picture, QSize page, int xdpi, int ydpi, int pixelsPerInch)
{
    const long double w = picture.width();
    const long double h = picture.height();
    if (w <= 0 || h <= 0)
        return {};
    const long double mx = PrintMargin(xdpi);
    const long double my = PrintMargin(ydpi);
    long double right = 0;
    long double bottom = 0;
    switch (scale) {
    case pglPrintToFit: {
        // The limiting side spans the printable length, the other is enlarged by the
        // whole-number factor; right and bottom leave the margin out, so each comes out
        // one margin short.
        const qint64 pw = page.width() - 2 * qint64(mx);
        const qint64 ph = page.height() - 2 * qint64(my);
        if (ph < pw) {
            right = (ph / picture.height()) * w;
            bottom = ph;
        } else {
            right = pw;
            bottom = (pw / picture.width()) * h;
        }
        break;
    }
    case pglProportional: {
        const long double ppi = pixelsPerInch < 1 ? 96 : pixelsPerInch;
        const long double width = w / ppi * xdpi;
        const long double height = h / ppi * ydpi;
        if (!fits(width) || !fits(height))
            return {};
        right = qint64(width) + mx;
        bottom = qint64(height) + my;
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
