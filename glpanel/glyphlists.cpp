#include "glpanel/glyphlists.h"

#include "glpanel/charset.h"
#include "glpanel/panelfont.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include <GL/glu.h>

#include <cmath>
#include <deque>
#include <optional>
#include <vector>

namespace {

std::optional<quint32> glyphForCode(const QRawFont &raw, int charset, qint64 code)
{
    if (code < 0 || code > 255)
        return std::nullopt;
    const char32_t character = DecodeCharsetByte(charset, static_cast<unsigned char>(code));
    if (character == 0)
        return std::nullopt;
    const QList<quint32> glyphs = raw.glyphIndexesForString(QString::fromUcs4(&character, 1));
    if (glyphs.size() != 1)
        return std::nullopt;
    return glyphs.front();
}

void compileBitmap(const QRawFont &raw, quint32 glyph)
{
    const QPainterPath path = raw.pathForGlyph(glyph);
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(QList<quint32> { glyph });
    const float advance = advances.isEmpty() ? 0.0f : float(std::lround(advances.front().x()));

    const QRectF ink = path.boundingRect();
    if (path.isEmpty() || ink.isEmpty()) {
        // Mesa drops a 0 x 0 bitmap from a list, advance and all; one clear pixel keeps it.
        static const GLubyte blank = 0;
        glBitmap(1, 1, 0.0f, 0.0f, advance, 0.0f, &blank);
        return;
    }
    const int left = int(std::floor(ink.left()));
    const int top = int(std::floor(ink.top()));
    const int width = int(std::ceil(ink.right())) - left;
    const int height = int(std::ceil(ink.bottom())) - top;

    QImage image(width, height, QImage::Format_Grayscale8);
    image.fill(0);
    {
        QPainter painter(&image);
        painter.translate(-left, -top);
        painter.fillPath(path, Qt::white);
    }

    // glBitmap rows run from the bottom up, most significant bit leftmost, byte aligned.
    const int rowBytes = (width + 7) / 8;
    std::vector<GLubyte> bits(std::size_t(rowBytes) * height, 0);
    for (int row = 0; row < height; ++row) {
        const uchar *line = image.constScanLine(height - 1 - row);
        for (int x = 0; x < width; ++x) {
            if (line[x] >= 128)
                bits[std::size_t(row) * rowBytes + x / 8] |= GLubyte(0x80 >> (x % 8));
        }
    }
    // The origin is where the ink's left edge and bottom row sit relative to the pen.
    glBitmap(width, height, float(-left), float(top + height), advance, 0.0f, bits.data());
}

using Contour = std::vector<QPointF>;

void flattenCubic(
    Contour &out, QPointF p0, QPointF p1, QPointF p2, QPointF p3, double tolerance, int depth)
{
    const QPointF chord = p3 - p0;
    const double length = std::hypot(chord.x(), chord.y());
    const auto distance = [&](QPointF p) {
        const QPointF d = p - p0;
        if (length == 0.0)
            return std::hypot(d.x(), d.y());
        return std::abs(d.x() * chord.y() - d.y() * chord.x()) / length;
    };
    if (depth >= 16 || std::max(distance(p1), distance(p2)) <= tolerance) {
        out.push_back(p3);
        return;
    }
    const QPointF p01 = (p0 + p1) / 2, p12 = (p1 + p2) / 2, p23 = (p2 + p3) / 2;
    const QPointF p012 = (p01 + p12) / 2, p123 = (p12 + p23) / 2;
    const QPointF mid = (p012 + p123) / 2;
    flattenCubic(out, p0, p01, p012, mid, tolerance, depth + 1);
    flattenCubic(out, mid, p123, p23, p3, tolerance, depth + 1);
}

// Closed contours in the path's own units with y turned upward.
std::vector<Contour> flattenPath(const QPainterPath &path, double tolerance)
{
    std::vector<Contour> contours;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        const QPointF point(element.x, -element.y);
        if (element.isMoveTo() || contours.empty()) {
            contours.push_back({ point });
        } else if (element.isLineTo()) {
            contours.back().push_back(point);
        } else if (element.isCurveTo() && i + 2 < path.elementCount()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            flattenCubic(contours.back(), contours.back().back(), point, QPointF(c2.x, -c2.y),
                QPointF(end.x, -end.y), tolerance, 0);
            i += 2;
        }
    }
    std::erase_if(contours, [](Contour &contour) {
        while (contour.size() > 1 && contour.back() == contour.front())
            contour.pop_back();
        return contour.size() < 3;
    });
    return contours;
}

double signedArea(const Contour &contour)
{
    double area = 0.0;
    for (std::size_t i = 0; i < contour.size(); ++i) {
        const QPointF &a = contour[i];
        const QPointF &b = contour[(i + 1) % contour.size()];
        area += a.x() * b.y() - b.x() * a.y();
    }
    return area / 2;
}

struct Tessellation
{
    std::deque<std::array<GLdouble, 3>> vertices; // stable addresses for GLU
    std::vector<std::array<GLdouble, 3>> triangles; // three entries per triangle
};

void GLAPIENTRY tessBegin(GLenum, void *) { }
void GLAPIENTRY tessEdgeFlag(GLboolean, void *) { } // asks GLU for plain triangles
void GLAPIENTRY tessVertex(void *vertex, void *data)
{
    static_cast<Tessellation *>(data)->triangles.push_back(
        *static_cast<std::array<GLdouble, 3> *>(vertex));
}
void GLAPIENTRY tessCombine(GLdouble coords[3], void *[4], GLfloat[4], void **out, void *data)
{
    auto &vertices = static_cast<Tessellation *>(data)->vertices;
    vertices.push_back({ coords[0], coords[1], coords[2] });
    *out = &vertices.back();
}

// Triangles covering the contours under the non-zero winding rule, counter-clockwise.
std::vector<std::array<GLdouble, 3>> tessellate(const std::vector<Contour> &contours)
{
    Tessellation result;
    GLUtesselator *tess = gluNewTess();
    if (!tess)
        return {};
    using Callback = void(GLAPIENTRY *)();
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<Callback>(&tessBegin));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<Callback>(&tessEdgeFlag));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(&tessVertex));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(&tessCombine));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0.0, 0.0, 1.0);
    gluTessBeginPolygon(tess, &result);
    for (const Contour &contour : contours) {
        gluTessBeginContour(tess);
        for (const QPointF &point : contour) {
            result.vertices.push_back({ point.x(), point.y(), 0.0 });
            gluTessVertex(tess, result.vertices.back().data(), &result.vertices.back());
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);

    auto &triangles = result.triangles;
    triangles.resize(triangles.size() / 3 * 3);
    for (std::size_t i = 0; i < triangles.size(); i += 3) {
        const auto &a = triangles[i], &b = triangles[i + 1], &c = triangles[i + 2];
        if ((b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]) < 0)
            std::swap(triangles[i + 1], triangles[i + 2]);
    }
    return std::move(triangles);
}

void compilePolygons(const std::vector<Contour> &contours, double scale, double extrusion)
{
    const auto triangles = tessellate(contours);
    glBegin(GL_TRIANGLES);
    glNormal3d(0.0, 0.0, 1.0);
    for (const auto &v : triangles)
        glVertex3d(v[0] * scale, v[1] * scale, 0.0);
    glEnd();
    if (extrusion == 0.0)
        return;

    glBegin(GL_TRIANGLES);
    glNormal3d(0.0, 0.0, -1.0);
    for (auto it = triangles.rbegin(); it != triangles.rend(); ++it)
        glVertex3d((*it)[0] * scale, (*it)[1] * scale, -extrusion);
    glEnd();

    // The sides face away from the ink, whichever way round the font draws its contours.
    double total = 0.0;
    for (const Contour &contour : contours)
        total += signedArea(contour);
    const bool inkOnLeft = total > 0;
    glBegin(GL_QUADS);
    for (const Contour &contour : contours) {
        for (std::size_t i = 0; i < contour.size(); ++i) {
            const QPointF p = contour[i] * scale;
            const QPointF q = contour[(i + 1) % contour.size()] * scale;
            const QPointF d = q - p;
            const double length = std::hypot(d.x(), d.y());
            if (length == 0.0)
                continue;
            if (inkOnLeft) {
                glNormal3d(d.y() / length, -d.x() / length, 0.0);
                glVertex3d(p.x(), p.y(), 0.0);
                glVertex3d(p.x(), p.y(), -extrusion);
                glVertex3d(q.x(), q.y(), -extrusion);
                glVertex3d(q.x(), q.y(), 0.0);
            } else {
                glNormal3d(-d.y() / length, d.x() / length, 0.0);
                glVertex3d(p.x(), p.y(), 0.0);
                glVertex3d(q.x(), q.y(), 0.0);
                glVertex3d(q.x(), q.y(), -extrusion);
                glVertex3d(p.x(), p.y(), -extrusion);
            }
        }
    }
    glEnd();
}

} // namespace

void UseFontBitmaps(const PanelFont &font, int first, int count, GLuint listBase)
{
    const QRawFont raw = QRawFont::fromFont(font.font());
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    for (int i = 0; i < count; ++i) {
        glNewList(listBase + GLuint(i), GL_COMPILE);
        if (const auto glyph = glyphForCode(raw, font.charset(), qint64(first) + i))
            compileBitmap(raw, *glyph);
        glEndList();
    }
    glPopClientAttrib();
}

void UseFontOutlines(const PanelFont &font, int first, int count, GLuint listBase, float deviation,
    float extrusion, int format, GLYPHMETRICSFLOAT *metrics)
{
    // At a pixel size of one em in design units the outlines come out exact.
    QRawFont raw = QRawFont::fromFont(font.font());
    const qreal unitsPerEm = raw.isValid() && raw.unitsPerEm() > 0 ? raw.unitsPerEm() : 2048;
    raw.setPixelSize(unitsPerEm);
    const double scale = 1.0 / unitsPerEm;
    const double tolerance = deviation > 0.0f ? deviation * unitsPerEm : 1.0;

    for (int i = 0; i < count; ++i) {
        GLYPHMETRICSFLOAT &glyphMetrics = metrics[i];
        glyphMetrics = GLYPHMETRICSFLOAT {};
        glNewList(listBase + GLuint(i), GL_COMPILE);
        if (const auto glyph = glyphForCode(raw, font.charset(), qint64(first) + i)) {
            const QPainterPath path = raw.pathForGlyph(*glyph);
            const QList<QPointF> advances = raw.advancesForGlyphIndexes(QList<quint32> { *glyph });
            const QPointF advance = advances.isEmpty() ? QPointF() : advances.front();
            const QRectF ink = path.boundingRect();
            glyphMetrics.gmfBlackBoxX = float(ink.width() * scale);
            glyphMetrics.gmfBlackBoxY = float(ink.height() * scale);
            glyphMetrics.gmfptGlyphOrigin
                = { float(ink.left() * scale), float(-ink.top() * scale) };
            glyphMetrics.gmfCellIncX = float(advance.x() * scale);
            glyphMetrics.gmfCellIncY = float(-advance.y() * scale);

            const std::vector<Contour> contours = flattenPath(path, tolerance);
            if (format == WGL_FONT_LINES) {
                for (const Contour &contour : contours) {
                    glBegin(GL_LINE_LOOP);
                    for (const QPointF &point : contour)
                        glVertex3d(point.x() * scale, point.y() * scale, 0.0);
                    glEnd();
                }
            } else if (!contours.empty()) {
                compilePolygons(contours, scale, extrusion);
            }
            glTranslatef(glyphMetrics.gmfCellIncX, glyphMetrics.gmfCellIncY, 0.0f);
        }
        glEndList();
    }
}
