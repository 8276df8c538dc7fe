#include "model/extremesamples.h"

#include <algorithm>
#include <numeric>

std::vector<std::size_t> ExtremeSamples(std::span<const float> values, std::size_t limit)
{
    const std::size_t count = values.size();
    std::vector<std::size_t> kept;
    if (count <= limit) {
        kept.resize(count);
        std::iota(kept.begin(), kept.end(), std::size_t(0));
        return kept;
    }
    const std::size_t stretches = (std::max(limit, std::size_t(4)) - 2) / 2;
    kept.reserve(2 * stretches + 2);
    kept.push_back(0);
    for (std::size_t s = 0; s < stretches; ++s) {
        // Bounds by share, so that the last stretch ends at the last sample.
        const auto begin = values.begin() + std::ptrdiff_t(s * count / stretches);
        const auto end = values.begin() + std::ptrdiff_t((s + 1) * count / stretches);
        const auto [low, high] = std::minmax_element(begin, end);
        for (const auto extreme : { std::min(low, high), std::max(low, high) }) {
            const auto index = std::size_t(extreme - values.begin());
            if (index != kept.back())
                kept.push_back(index);
        }
    }
    if (kept.back() != count - 1)
        kept.push_back(count - 1);
    return kept;
}
