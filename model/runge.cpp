#include "model/runge.h"

#include <stdexcept>

runge::runge(int n)
{
    if (n < 0)
        throw std::invalid_argument("runge: negative number of equations");
    // y, ys, f and k[0] ... k[4]. Zero-filled so nothing is ever undefined.
    const std::size_t size = static_cast<std::size_t>(n);
    m_storage = std::make_unique<double[]>(8 * size);
    double *block = m_storage.get();
    y = block;
    ys = block + size;
    f = block + 2 * size;
    for (int s = 0; s < 5; ++s)
        k[s] = block + (3 + s) * size;
    last = n - 1;
}
