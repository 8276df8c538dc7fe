#include "runge.h"

#include <stdexcept>

namespace {

// Indexed by stage; stage 3 weighs 1 because k[3] is already doubled.
constexpr double Weight[5] = { 0, 1, 2, 1, 1 };

} // namespace

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

void runge::start_step()
{
    for (int i = 0; i <= last; ++i) {
        ys[i] = y[i];
        k[0][i] = 0;
    }
    stage = 1;
}

void runge::stage_step(double h)
{
    const int s = stage;
    if (s < 1 || s > 4)
        return;
    const double weight = Weight[s];
    const double *previous = k[s - 1];
    double *current = k[s];
    for (int i = 0; i <= last; ++i) {
        ys[i] = ys[i] - 0.5 * previous[i];
        current[i] = h * f[i];
        if (s == 3)
            current[i] = 2 * current[i];
        ys[i] = ys[i] + 0.5 * current[i];
        y[i] = y[i] + weight * current[i] * (1.0 / 6);
    }
    stage = s + 1;
}
