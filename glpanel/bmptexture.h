#pragma once

#include <QString>
#include <QtGui/qopengl.h>

#include <memory>
#include <vector>

// A picture laid out for glTexImage2D: internal format Components, Width, Height, Format,
// DataType, Pixels.
struct BMPTexture
{
    qint32 UserValue = 0; // the caller's; never set or read here
    qint32 Components = 0; // 3, or 4 with alpha
    qint32 Width = 0;
    qint32 Height = 0;
    GLenum Format = 0; // GL_RGB, or GL_RGBA with alpha
    GLenum DataType = 0; // GL_UNSIGNED_BYTE
    // Width x Height x Components bytes: rows from the bottom of the picture up, no padding,
    // each pixel red, green, blue (and alpha 255).
    std::vector<GLubyte> Pixels;
};

// The BMP file at path as a texture, or null when it is missing, not a regular file, not a BMP
// that gives every pixel (uncompressed, run-length or with colour masks), or too large for
// memory.
std::unique_ptr<BMPTexture> ReadBMPTexture(const QString &path, bool alpha);
