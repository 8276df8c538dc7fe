#include "glpanel/bmptexture.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

#include <cstring>
#include <new>

std::unique_ptr<BMPTexture> ReadBMPTexture(const QString &path, bool alpha)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
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
