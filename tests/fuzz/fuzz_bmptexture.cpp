// The BMP texture reader on any file: it never reads or writes out of bounds,
// and a texture it gives has every pixel of its size.

#include "fuzzcheck.h"
#include "glpanel/bmptexture.h"

#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The reader takes a path: one file in memory, rewritten for every input.
    static const int file = memfd_create("texture", 0);
    static const QString path = QString::fromStdString("/proc/self/fd/" + std::to_string(file));
    FuzzRequire(file >= 0 && ftruncate(file, 0) == 0
            && pwrite(file, data, size, 0) == static_cast<ssize_t>(size),
        "the scratch file can be written");

    for (const bool alpha : { false, true }) {
        const std::unique_ptr<BMPTexture> texture = ReadBMPTexture(path, alpha);
        if (!texture)
            continue;
        const int components = alpha ? 4 : 3;
        FuzzRequire(texture->Width > 0 && texture->Height > 0, "a texture has pixels");
        FuzzRequire(texture->Components == components
                && texture->Pixels.size()
                    == std::size_t(texture->Width) * std::size_t(texture->Height) * components,
            "a texture holds every pixel of its size");
    }
    return 0;
}
