#pragma once

#include <QSurfaceFormat>

#include <cstdint>
#include <initializer_list>

// The pixel-format descriptor of the original platform, byte for byte (40 bytes).
struct PIXELFORMATDESCRIPTOR
{
    std::uint16_t nSize = 0;
    std::uint16_t nVersion = 0;
    std::uint32_t dwFlags = 0;
    std::uint8_t iPixelType = 0;
    std::uint8_t cColorBits = 0;
    std::uint8_t cRedBits = 0;
    std::uint8_t cRedShift = 0;
    std::uint8_t cGreenBits = 0;
    std::uint8_t cGreenShift = 0;
    std::uint8_t cBlueBits = 0;
    std::uint8_t cBlueShift = 0;
    std::uint8_t cAlphaBits = 0;
    std::uint8_t cAlphaShift = 0;
    std::uint8_t cAccumBits = 0;
    std::uint8_t cAccumRedBits = 0;
    std::uint8_t cAccumGreenBits = 0;
    std::uint8_t cAccumBlueBits = 0;
    std::uint8_t cAccumAlphaBits = 0;
    std::uint8_t cDepthBits = 0;
    std::uint8_t cStencilBits = 0;
    std::uint8_t cAuxBuffers = 0;
    std::uint8_t iLayerType = 0;
    std::uint8_t bReserved = 0;
    std::uint32_t dwLayerMask = 0;
    std::uint32_t dwVisibleMask = 0;
    std::uint32_t dwDamageMask = 0;

    friend bool operator==(const PIXELFORMATDESCRIPTOR &, const PIXELFORMATDESCRIPTOR &) = default;
};
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40);

inline constexpr std::uint32_t PFD_DOUBLEBUFFER = 0x1;
inline constexpr std::uint32_t PFD_STEREO = 0x2;
inline constexpr std::uint32_t PFD_DRAW_TO_WINDOW = 0x4;
inline constexpr std::uint32_t PFD_DRAW_TO_BITMAP = 0x8;
inline constexpr std::uint32_t PFD_SUPPORT_GDI = 0x10;
inline constexpr std::uint32_t PFD_SUPPORT_OPENGL = 0x20;
inline constexpr std::uint32_t PFD_GENERIC_FORMAT = 0x40;
inline constexpr std::uint32_t PFD_NEED_PALETTE = 0x80;
inline constexpr std::uint32_t PFD_NEED_SYSTEM_PALETTE = 0x100;
inline constexpr std::uint32_t PFD_SWAP_LAYER_BUFFERS = 0x800;
inline constexpr std::uint32_t PFD_GENERIC_ACCELERATED = 0x1000;

inline constexpr std::uint8_t PFD_TYPE_RGBA = 0;
inline constexpr std::uint8_t PFD_TYPE_COLORINDEX = 1;
inline constexpr std::uint8_t PFD_MAIN_PLANE = 0;

enum TPFDPixelTypes { f_PFD_TYPE_RGBA = 0, f_PFD_TYPE_COLORINDEX = 1 };

enum TPFDFlags {
    f_PFD_DRAW_TO_WINDOW = 0,
    f_PFD_DRAW_TO_BITMAP = 1,
    f_PFD_SUPPORT_GDI = 2,
    f_PFD_SUPPORT_OPENGL = 3,
    f_PFD_GENERIC_ACCELERATED = 4,
    f_PFD_GENERIC_FORMAT = 5,
    f_PFD_NEED_PALETTE = 6,
    f_PFD_NEED_SYSTEM_PALETTE = 7,
    f_PFD_DOUBLEBUFFER = 8,
    f_PFD_STEREO = 9,
    f_PFD_SWAP_LAYER_BUFFERS = 10,
};

// A set of TPFDFlags, one bit per member.
class TPFDFlagSet
{
public:
    constexpr TPFDFlagSet() = default;
    constexpr TPFDFlagSet(std::initializer_list<TPFDFlags> members)
    {
        for (TPFDFlags member : members)
            insert(member);
    }

    constexpr bool contains(TPFDFlags member) const { return m_bits & bit(member); }
    constexpr TPFDFlagSet &insert(TPFDFlags member)
    {
        m_bits |= bit(member);
        return *this;
    }
    constexpr TPFDFlagSet &remove(TPFDFlags member)
    {
        m_bits &= ~bit(member);
        return *this;
    }
    constexpr std::uint16_t bits() const { return m_bits; }

    friend constexpr bool operator==(TPFDFlagSet, TPFDFlagSet) = default;

private:
    static constexpr std::uint16_t bit(TPFDFlags member) { return std::uint16_t(1u << member); }

    std::uint16_t m_bits = 0;
};

// The SetPFDFlags rule: exactly one of f_PFD_SUPPORT_GDI and f_PFD_DOUBLEBUFFER is in the
// result; when both or neither are asked for, the one the stored set lacked wins.
TPFDFlagSet ApplyPFDFlagsRule(TPFDFlagSet requested, TPFDFlagSet stored);

// dwFlags bits of a flag set; the double-buffer bit follows from the absence of SUPPORT_GDI.
std::uint32_t PFDFlagBits(TPFDFlagSet flags);

PIXELFORMATDESCRIPTOR BuildPixelFormatRequest(
    TPFDFlagSet flags, std::uint8_t pixelTypeCode, std::uint8_t colorBits, std::uint8_t depthBits);

// The surface format asked of Qt for a request. Depth is asked for as at most 24 bits, which
// every GLX driver has; GLX takes it as a minimum and may give 32 where it has them.
QSurfaceFormat SurfaceFormatFromRequest(const PIXELFORMATDESCRIPTOR &request);

// The descriptor that stands for a format actually obtained; channels are taken as packed
// blue lowest, then green, red and alpha. Formats of 8 colour bits or fewer need a palette.
PIXELFORMATDESCRIPTOR DescribeSurfaceFormat(const QSurfaceFormat &format);
