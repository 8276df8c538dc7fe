#include "glpanel/bmptexture.h"

#include <QFile>
#include <QList>
#include <QRgb>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <bit>
#include <new>
#include <optional>

namespace {

// Qt's image readers refuse larger pictures by default; a run-length file of a few kilobytes
// could otherwise ask for gigabytes.
constexpr qint64 MaxTextureBytes = qint64(256) << 20;
// Room for the largest texture at 32 bits a pixel, and then some.
constexpr qint64 MaxFileBytes = 2 * MaxTextureBytes;

enum Compression : quint32 { Uncompressed = 0, RunLength8 = 1, RunLength4 = 2, BitFields = 3 };

// The whole file at path if it is a regular one: opening a pipe would wait for a writer, and
// a device might never end.
std::optional<QByteArray> readRegularFile(const QString &path)
{
    const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info;
    QFile file;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > MaxFileBytes
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close(fd);
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// A colour channel of direct-colour pixels: one run of bits of the pixel value, scaled to
// 0..255.
struct Channel
{
    quint32 mask = 0;
    int shift = 0;
    quint64 max = 0; // mask >> shift

    GLubyte operator()(quint32 pixel) const
    {
        return GLubyte((((pixel & mask) >> shift) * 255 + max / 2) / max);
    }
};

// Null for a mask that is empty, not one run of bits, or beyond the pixel: such a channel
// would take nothing, or not only its own bits, from the file.
std::optional<Channel> channel(quint32 mask, int bits)
{
    if (mask == 0 || (bits < 32 && mask >> bits != 0))
        return std::nullopt;
    const int shift = std::countr_zero(mask);
    const quint64 max = mask >> shift;
    if ((max & (max + 1)) != 0)
        return std::nullopt;
    return Channel { mask, shift, max };
}

// Decodes a BMP file held in memory, failing unless the file gives every pixel.
class BmpDecoder
{
public:
    BmpDecoder(QByteArrayView file, bool alpha)
        : m_file(file)
        , m_components(alpha ? 4 : 3)
    { }

    std::unique_ptr<BMPTexture> decode();

private:
    // The little-endian number of size bytes at offset, which the caller knows to be there.
    quint32 at(qint64 offset, int size) const
    {
        quint32 value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | quint8(m_file[offset + i]);
        return value;
    }

    bool readHeaders();
    bool holdsItsPixels() const;
    qint64 stride() const { return (m_width * m_bits + 31) / 32 * 4; } // rows padded to 4 bytes
    bool readRows();
    bool readRunLengths();
    bool putIndex(qint64 x, qint64 y, quint32 index);
    void putColour(qint64 x, qint64 y, QRgb colour);

    QByteArrayView m_file;
    int m_components = 3;
    qint64 m_width = 0;
    qint64 m_height = 0;
    bool m_topDown = false;
    int m_bits = 0;
    quint32 m_compression = Uncompressed;
    qint64 m_pixelsAt = 0;
    std::vector<QRgb> m_palette;
    std::array<Channel, 3> m_channels; // red, green, blue
    std::vector<GLubyte> m_pixels; // as BMPTexture::Pixels
};

std::unique_ptr<BMPTexture> BmpDecoder::decode()
{
    if (!readHeaders() || !holdsItsPixels())
        return nullptr;
    m_pixels.resize(std::size_t(m_width * m_height * m_components));
    const bool runLengths = m_compression == RunLength8 || m_compression == RunLength4;
    if (!(runLengths ? readRunLengths() : readRows()))
        return nullptr;
    auto texture = std::make_unique<BMPTexture>();
    texture->Components = m_components;
    texture->Width = qint32(m_width);
    texture->Height = qint32(m_height);
    texture->Format = m_components == 4 ? GL_RGBA : GL_RGB;
    texture->DataType = GL_UNSIGNED_BYTE;
    texture->Pixels = std::move(m_pixels);
    return texture;
}

// The file header, an info header of 40 bytes or more (or OS/2's core header of 12), the
// colour masks, the palette, and where the pixels start.
bool BmpDecoder::readHeaders()
{
    if (m_file.size() < 18 || !m_file.startsWith("BM"))
        return false;
    m_pixelsAt = at(10, 4);
    const qint64 infoSize = at(14, 4);
    qint64 tableAt = 14 + infoSize; // masks after a 40-byte header, then the palette
    if (m_file.size() < tableAt)
        return false;
    int entrySize = 4;
    quint32 colours = 0;
    if (infoSize == 12) { // 16-bit sizes, palette entries of 3 bytes
        m_width = at(18, 2);
        m_height = at(20, 2);
        m_bits = int(at(24, 2));
        entrySize = 3;
    } else if (QList<qint64> { 40, 52, 56, 108, 124 }.contains(infoSize)) {
        m_width = qint32(at(18, 4));
        const qint32 height = qint32(at(22, 4));
        m_topDown = height < 0;
        m_height = qAbs(qint64(height));
        m_bits = int(at(28, 2));
        m_compression = at(30, 4);
        colours = at(46, 4);
        if (m_compression == BitFields && infoSize == 40)
            tableAt += 12;
    } else {
        return false;
    }

    const bool known
        = (m_compression == Uncompressed && QList { 1, 4, 8, 16, 24, 32 }.contains(m_bits))
        || (m_compression == RunLength8 && m_bits == 8)
        || (m_compression == RunLength4 && m_bits == 4)
        || (m_compression == BitFields && (m_bits == 16 || m_bits == 32));
    // Run-length rows go bottom up only.
    if (!known || (m_topDown && m_compression != Uncompressed && m_compression != BitFields)
        || m_width <= 0 || m_height <= 0 || m_pixelsAt < tableAt || m_pixelsAt >= m_file.size()
        || m_width * m_height > MaxTextureBytes / m_components)
        return false;

    if (m_bits <= 8) {
        const qint64 declared = colours != 0 ? qMin<qint64>(colours, 1 << m_bits) : 1 << m_bits;
        const qint64 count = qMin(declared, (m_pixelsAt - tableAt) / entrySize);
        for (qint64 entry = tableAt; entry < tableAt + count * entrySize; entry += entrySize)
            m_palette.push_back(
                qRgb(int(at(entry + 2, 1)), int(at(entry + 1, 1)), int(at(entry, 1))));
        return true;
    }
    std::array<quint32, 3> masks { 0xff0000, 0xff00, 0xff };
    if (m_compression == BitFields)
        masks = { at(54, 4), at(58, 4), at(62, 4) };
    else if (m_bits == 16)
        masks = { 0x7c00, 0x3e0, 0x1f };
    for (int i = 0; i < 3; ++i) {
        const std::optional<Channel> found = channel(masks[i], m_bits);
        if (!found)
            return false;
        m_channels[i] = *found;
    }
    return true;
}

// Whether the data is long enough for the picture the headers claim, checked before its memory
// is taken: a few bytes must not ask for a quarter of a gigabyte. A run of up to 255 pixels
// takes two bytes.
bool BmpDecoder::holdsItsPixels() const
{
    const qint64 data = m_file.size() - m_pixelsAt;
    if (m_compression == RunLength8 || m_compression == RunLength4)
        return m_width * m_height <= data / 2 * 255;
    return data / m_height >= stride();
}

bool BmpDecoder::readRows()
{
    for (qint64 row = 0; row < m_height; ++row) {
        const qint64 y = m_topDown ? m_height - 1 - row : row;
        const qint64 rowAt = m_pixelsAt + row * stride();
        for (qint64 x = 0; x < m_width; ++x) {
            const qint64 bit = x * m_bits;
            if (m_bits <= 8) {
                const quint32 byte = at(rowAt + bit / 8, 1);
                if (!putIndex(x, y, byte >> (8 - m_bits - bit % 8) & ((1u << m_bits) - 1)))
                    return false;
            } else {
                const quint32 value = at(rowAt + bit / 8, m_bits / 8);
                const auto &[red, green, blue] = m_channels;
                putColour(x, y, qRgb(red(value), green(value), blue(value)));
            }
        }
    }
    return true;
}

// Rows bottom up, each made of runs (a count, then the index to repeat, or two nibbles to
// alternate) and escapes (a zero count, then: 0 ends the row, 1 the picture, 2 jumps, more
// starts as many indices given one by one, padded to an even number of bytes).
bool BmpDecoder::readRunLengths()
{
    const bool nibbles = m_compression == RunLength4;
    qint64 x = 0, y = 0;
    // count pixels into the current row, the i-th taking index(i)
    const auto put = [&](qint64 count, const auto &index) {
        if (y >= m_height || x + count > m_width)
            return false;
        for (qint64 i = 0; i < count; ++i) {
            const quint32 byte = index(i);
            if (!putIndex(x++, y, nibbles ? (i % 2 ? byte & 15 : byte >> 4) : byte))
                return false;
        }
        return true;
    };
    for (qint64 pos = m_pixelsAt; pos + 2 <= m_file.size();) {
        const quint32 count = at(pos, 1), code = at(pos + 1, 1);
        pos += 2;
        if (count > 0) {
            if (!put(count, [code](qint64) { return code; }))
                return false;
        } else if (code == 0) { // a row ends only when it is full
            if (x != m_width)
                return false;
            x = 0;
            ++y;
        } else if (code == 1) {
            return y * m_width + x == m_width * m_height;
        } else if (code == 2) { // the pixels jumped over would stay unwritten
            return false;
        } else {
            const qint64 bytes = nibbles ? (code + 1) / 2 : code;
            if (m_file.size() - pos < (bytes + 1) / 2 * 2
                || !put(code, [&](qint64 i) { return at(pos + (nibbles ? i / 2 : i), 1); }))
                return false;
            pos += (bytes + 1) / 2 * 2;
        }
    }
    return false; // the data ended before its end code
}

bool BmpDecoder::putIndex(qint64 x, qint64 y, quint32 index)
{
    if (index >= m_palette.size())
        return false;
    putColour(x, y, m_palette[index]);
    return true;
}

void BmpDecoder::putColour(qint64 x, qint64 y, QRgb colour)
{
    GLubyte *pixel = m_pixels.data() + (y * m_width + x) * m_components;
    pixel[0] = GLubyte(qRed(colour));
    pixel[1] = GLubyte(qGreen(colour));
    pixel[2] = GLubyte(qBlue(colour));
    if (m_components == 4)
        pixel[3] = 255;
}

} // namespace

std::unique_ptr<BMPTexture> ReadBMPTexture(const QString &path, bool alpha)
{
    try {
        const std::optional<QByteArray> file = readRegularFile(path);
        return file ? BmpDecoder(*file, alpha).decode() : nullptr;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}
