#include "output/printedpage.h"

#include "glpanel/openglpanel.h"
#include "glpanel/printlayout.h"
#include "output/chartpart.h"
#include "widgets/paintbox.h"

#include <QFontMetrics>
#include <QPainter>
#include <QScopeGuard>
#include <QWidget>

#include <algorithm>
#include <climits>

namespace {

// The window PrintHandout draws, while it does.
const QWidget *printedWindow = nullptr;

constexpr qreal TitlePoints = 14;
constexpr qreal TextPoints = 10;
constexpr int Wrapped = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// The window's font at a size for paper: it keeps the families a localised
// window added for the captions' letters.
QFont paperFont(const QWidget &window, qreal points, bool bold)
{
    QFont font = window.font();
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The parameters under their caption, laid out as the parameters dialog
// shows them: the values right-aligned in a column of their own, each name
// beside its value, wrapped where it is long.
class ParameterTable
{
public:
    ParameterTable(const Handout &handout, const QFont &font, const QPaintDevice &page, int width)
        : m_handout(handout)
        , m_font(font)
        , m_captionFont(font)
    {
        m_captionFont.setBold(true);
        if (handout.parameters.isEmpty())
            return;
        const QFontMetrics metrics(font, &page);
        for (const HandoutParameter &parameter : handout.parameters)
            m_valueWidth = std::max(m_valueWidth, metrics.horizontalAdvance(parameter.value));
        m_nameLeft = m_valueWidth + metrics.horizontalAdvance(QLatin1Char('M'));
        m_nameWidth = std::max(1, width - m_nameLeft);
        m_height = QFontMetrics(m_captionFont, &page).height();
        for (const HandoutParameter &parameter : handout.parameters) {
            m_rowHeights.append(
                metrics.boundingRect(QRect(0, 0, m_nameWidth, INT_MAX / 2), Wrapped, parameter.name)
                    .height());
            m_height += m_rowHeights.last();
        }
    }

    int Height() const { return m_height; }

    void Draw(QPainter &painter, int left, int top) const
    {
        if (m_handout.parameters.isEmpty())
            return;
        painter.setFont(m_captionFont);
        QRect caption;
        painter.drawText(QRect(left, top, m_nameLeft + m_nameWidth, m_height), Wrapped,
            m_handout.parametersCaption, &caption);
        top += caption.height();
        painter.setFont(m_font);
        for (qsizetype i = 0; i < m_handout.parameters.size(); ++i) {
            const HandoutParameter &parameter = m_handout.parameters[i];
            const int height = m_rowHeights[i];
            painter.drawText(QRect(left, top, m_valueWidth, height), Qt::AlignRight | Qt::AlignTop,
                parameter.value);
            painter.drawText(
                QRect(left + m_nameLeft, top, m_nameWidth, height), Wrapped, parameter.name);
            top += height;
        }
    }

private:
    const Handout &m_handout;
    QFont m_font;
    QFont m_captionFont;
    int m_valueWidth = 0;
    int m_nameLeft = 0;
    int m_nameWidth = 0;
    int m_height = 0;
    QList<int> m_rowHeights;
};

// The smallest whole pixels per inch at which the proportional rule prints
// pixels within room printer pixels.
qint64 fittingPixelsPerInch(qint64 pixels, int dpi, qint64 room)
{
    room = std::max<qint64>(room, 1);
    return (pixels * dpi + room - 1) / room;
}

} // namespace

void PrintHandout(const QWidget &window, const TPaintBox &canvas, const Handout &handout,
    const QString &dateLine, QPaintDevice &page)
{
    QPainter painter;
    if (!painter.begin(&page))
        throw PrintFailure(PrintFailure::Begin);
    const int marginX = PrintMargin(page.logicalDpiX());
    const int marginY = PrintMargin(page.logicalDpiY());
    const QRect area(marginX, marginY, page.width() - 2 * marginX, page.height() - 2 * marginY);
    const QFont textFont = paperFont(window, TextPoints, false);
    const QFontMetrics textMetrics(textFont, &page);
    const int gap = textMetrics.height();

    int top = area.top();
    // A line of text across the area, wrapped where it is long.
    const auto line = [&](const QFont &font, const QString &text) {
        painter.setFont(font);
        QRect used;
        painter.drawText(
            QRect(area.left(), top, area.width(), area.bottom() - top), Wrapped, text, &used);
        top += used.height();
    };
    line(paperFont(window, TitlePoints, true), handout.title);
    line(textFont, dateLine);
    top += gap;

    int notesHeight = int(handout.curves.size()) * textMetrics.height();
    for (const QString &note : handout.notes)
        notesHeight
            += textMetrics.boundingRect(QRect(0, 0, area.width(), INT_MAX / 2), Wrapped, note)
                   .height();
    const ParameterTable table(handout, textFont, page, area.width());
    const int chartRoom = area.bottom() - top - gap - notesHeight - table.Height();
    const QRect chart = handout.chart.isEmpty()
        ? QRect(canvas.mapTo(&window, QPoint()), canvas.size())
        : handout.chart;
    const qreal scale = chart.isEmpty()
        ? 0
        : std::min(qreal(area.width()) / chart.width(), qreal(chartRoom) / chart.height());
    if (scale > 0) {
        painter.save();
        painter.translate(area.left(), top);
        painter.scale(scale, scale);
        printedWindow = &window;
        const auto printed = qScopeGuard([] { printedWindow = nullptr; });
        DrawChartPart(painter, window, canvas, chart, ChartColours::Paper());
        painter.restore();
        top += qCeil(chart.height() * scale);
    }
    // Each sample as long as three lines are high, as thick as the chart's
    // curves print.
    const int sample = 3 * textMetrics.height();
    painter.setFont(textFont);
    for (const HandoutCurve &curve : handout.curves) {
        const int middle = top + textMetrics.height() / 2;
        painter.save();
        painter.setPen(QPen(curve.line.colour, std::max(1.0, 2 * scale), curve.line.style));
        painter.drawLine(area.left(), middle, area.left() + sample, middle);
        painter.restore();
        painter.drawText(QRect(area.left() + sample + gap / 2, top, area.width() - sample - gap / 2,
                             textMetrics.height()),
            Qt::AlignLeft | Qt::AlignVCenter, curve.name);
        top += textMetrics.height();
    }
    for (const QString &note : handout.notes)
        line(textFont, note);
    top += gap;
    table.Draw(painter, area.left(), top);
    if (!painter.end())
        throw PrintFailure(PrintFailure::Finish);
}

bool OnPrintedPage(const QWidget &widget)
{
    return printedWindow && (printedWindow == &widget || printedWindow->isAncestorOf(&widget));
}

void PrintPanelFitted(TOpenGLPanel &panel, QPaintDevice &page)
{
    const TOpenGLPrintScale scale = panel.PrintScale();
    const qint32 pixelsPerInch = panel.PixelsPerInch();
    const auto restore = qScopeGuard([&] {
        panel.SetOpenGLPrintScale(scale);
        panel.SetOpenGLPixelsPerInch(pixelsPerInch);
    });
    const QSize picture = panel.PixelSize();
    const int xdpi = page.logicalDpiX();
    const int ydpi = page.logicalDpiY();
    const qint64 fitting = std::max(
        fittingPixelsPerInch(picture.width(), xdpi, page.width() - 2 * PrintMargin(xdpi)),
        fittingPixelsPerInch(picture.height(), ydpi, page.height() - 2 * PrintMargin(ydpi)));
    panel.SetOpenGLPrintScale(pglProportional);
    panel.SetOpenGLPixelsPerInch(int(std::clamp<qint64>(fitting, 1, INT_MAX)));
    panel.PrintOpenGLPanel(page);
}
