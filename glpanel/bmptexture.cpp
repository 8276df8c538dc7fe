#include "glpanel/bmptexture.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QtEndian>

#include <cstring>
#include <new>

namespace {

// Whether the file holds every pixel its headers declare. Qt's reader gives a picture
// without an error for a file cut short or a pixel offset past its end, and leaves the
// rows it could not read as they were allocated.
bool holdsItsPixels(QFile &file)
{
    const QByteArray header = file.peek(54); // file header, then an info header of 40 bytes
    const auto at16 = [&header](int at) { return qFromLittleEndian<quint16>(header.data() + at); };
    const auto at32 = [&header](int at) { return qFromLittleEndian<qint32>(header.data() + at); };
    if (header.size() < 26 || !header.startsWith("BM"))
        return false;
    const qint64 offset = quint32(at32(10));
    const qint64 infoSize = quint32(at32(14));
    qint64 width = 0, height = 0, bits = 0, compression = 0;
    if (infoSize == 12) { // the OS/2 core header: 16-bit sizes
        width = at16(18);
        height = at16(20);
        bits = at16(24);
    } else if (infoSize >= 40 && header.size() == 54) {
        width = at32(18);
        height = qAbs(qint64(at32(22))); // negative: rows from the top
        bits = at16(28);
        compression = quint32(at32(30));
    } else {
        return false;
    }
    const qint64 pixelBytes = file.size() - offset;
    if (offset < 14 + infoSize || pixelBytes <= 0 || width <= 0 || height <= 0)
        return false;
    // Run-length data (1, 2) has no fixed size; uncompressed rows (0, 3: with colour masks)
    // are padded to four bytes each.
    if (compression == 1 || compression == 2)
        return true;
    const qint64 stride = (width * bits + 31) / 32 * 4;
    return stride > 0 && pixelBytes / height >= stride;
}

} // namespace

std::unique_ptr<BMPTexture> ReadBMPTexture(const QString &path, bool alpha)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !holdsItsPixels(file))
        return nullptr;
    QImageReader reader(&file, "bmp");
    reader.setAutoDetectImageFormat(false); // a picture in another format is not a BMP
    const QImage image = reader.read().convertToFormat(
        alpha ? QImage::Format_RGBX8888 : QImage::Format_RGB888); // RGBX: alpha 255
    if (image.isNull())
        return nullptr;

    try {
        auto texture = std::make_unique<BMPTexture>();
        texture->Components = alpha ? 4 : 3;
        texture->Width = image.width();
        texture->Height = image.height();
        texture->Format = alpha ? GL_RGBA : GL_RGB;
        texture->DataType = GL_UNSIGNED_BYTE;
        const std::size_t rowBytes = std::size_t(texture->Width) * texture->Components;
        texture->Pixels.resize(rowBytes * std::size_t(texture->Height));
        for (int i = 0; i < texture->Height; ++i) {
            std::memcpy(texture->Pixels.data() + rowBytes * std::size_t(i),
                image.constScanLine(texture->Height - 1 - i), rowBytes);
        }
        return texture;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}
