#include "glpanel/pixelformat.h"

#include <algorithm>

TPFDFlagSet ApplyPFDFlagsRule(TPFDFlagSet requested, TPFDFlagSet stored)
{
    const bool gdi = requested.contains(f_PFD_SUPPORT_GDI);
    const bool doubleBuffer = requested.contains(f_PFD_DOUBLEBUFFER);
    if (gdi && doubleBuffer)
        requested.remove(
            stored.contains(f_PFD_SUPPORT_GDI) ? f_PFD_SUPPORT_GDI : f_PFD_DOUBLEBUFFER);
    else if (!gdi && !doubleBuffer)
        requested.insert(
            stored.contains(f_PFD_SUPPORT_GDI) ? f_PFD_DOUBLEBUFFER : f_PFD_SUPPORT_GDI);
    return requested;
}

std::uint32_t PFDFlagBits(TPFDFlagSet flags)
{
    struct Member
    {
        TPFDFlags flag;
        std::uint32_t bit;
    };
    static constexpr Member members[] = {
        { f_PFD_DRAW_TO_WINDOW, PFD_DRAW_TO_WINDOW },
        { f_PFD_DRAW_TO_BITMAP, PFD_DRAW_TO_BITMAP },
        { f_PFD_SUPPORT_OPENGL, PFD_SUPPORT_OPENGL },
        { f_PFD_GENERIC_ACCELERATED, PFD_GENERIC_ACCELERATED },
        { f_PFD_GENERIC_FORMAT, PFD_GENERIC_FORMAT },
        { f_PFD_NEED_PALETTE, PFD_NEED_PALETTE },
        { f_PFD_NEED_SYSTEM_PALETTE, PFD_NEED_SYSTEM_PALETTE },
        { f_PFD_STEREO, PFD_STEREO },
        { f_PFD_SWAP_LAYER_BUFFERS, PFD_SWAP_LAYER_BUFFERS },
    };
    std::uint32_t bits = flags.contains(f_PFD_SUPPORT_GDI) ? PFD_SUPPORT_GDI : PFD_DOUBLEBUFFER;
    for (const Member &member : members) {
        if (flags.contains(member.flag))
            bits |= member.bit;
    }
    return bits;
}

PIXELFORMATDESCRIPTOR BuildPixelFormatRequest(
    TPFDFlagSet flags, std::uint8_t pixelTypeCode, std::uint8_t colorBits, std::uint8_t depthBits)
{
    PIXELFORMATDESCRIPTOR request;
    request.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    request.nVersion = 1;
    request.dwFlags = PFDFlagBits(flags);
    request.iPixelType = pixelTypeCode;
    request.cColorBits = colorBits;
    request.cDepthBits = depthBits;
    request.iLayerType = PFD_MAIN_PLANE;
    return request;
}

QSurfaceFormat SurfaceFormatFromRequest(const PIXELFORMATDESCRIPTOR &request)
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior((request.dwFlags & PFD_DOUBLEBUFFER) ? QSurfaceFormat::DoubleBuffer
                                                                : QSurfaceFormat::SingleBuffer);
    format.setStereo(request.dwFlags & PFD_STEREO);

    // Colour-index formats do not exist here; the nearest RGBA format of the depth stands in.
    const int colorBits = request.cColorBits;
    if (colorBits >= 24) {
        format.setRedBufferSize(8);
        format.setGreenBufferSize(8);
        format.setBlueBufferSize(8);
    } else if (colorBits >= 15) {
        format.setRedBufferSize(5);
        format.setGreenBufferSize(colorBits == 15 ? 5 : 6);
        format.setBlueBufferSize(5);
    } else if (colorBits > 0) {
        format.setRedBufferSize(3);
        format.setGreenBufferSize(3);
        format.setBlueBufferSize(2);
    }
    format.setAlphaBufferSize(request.cAlphaBits);
    format.setDepthBufferSize(std::min<int>(request.cDepthBits, 24));
    format.setStencilBufferSize(request.cStencilBits);
    return format;
}

PIXELFORMATDESCRIPTOR DescribeSurfaceFormat(const QSurfaceFormat &format)
{
    const auto bits = [](int size) { return std::uint8_t(std::clamp(size, 0, 255)); };

    PIXELFORMATDESCRIPTOR described;
    described.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    described.nVersion = 1;
    described.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if (format.swapBehavior() == QSurfaceFormat::SingleBuffer)
        described.dwFlags |= PFD_SUPPORT_GDI;
    else
        described.dwFlags |= PFD_DOUBLEBUFFER;
    if (format.stereo())
        described.dwFlags |= PFD_STEREO;
    described.iPixelType = PFD_TYPE_RGBA;
    described.cRedBits = bits(format.redBufferSize());
    described.cGreenBits = bits(format.greenBufferSize());
    described.cBlueBits = bits(format.blueBufferSize());
    described.cAlphaBits = bits(format.alphaBufferSize());
    described.cBlueShift = 0;
    described.cGreenShift = described.cBlueBits;
    described.cRedShift = bits(described.cGreenShift + described.cGreenBits);
    described.cAlphaShift
        = described.cAlphaBits ? bits(described.cRedShift + described.cRedBits) : 0;
    described.cColorBits = bits(described.cRedBits + described.cGreenBits + described.cBlueBits);
    if (described.cColorBits > 0 && described.cColorBits <= 8)
        described.dwFlags |= PFD_NEED_PALETTE;
    described.cDepthBits = bits(format.depthBufferSize());
    described.cStencilBits = bits(format.stencilBufferSize());
    described.iLayerType = PFD_MAIN_PLANE;
    return described;
}
