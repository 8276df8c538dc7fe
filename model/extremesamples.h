#pragma once

#include <cstddef>
#include <span>
#include <vector>

// The samples of a series that draw the same line as all of them, at most
// limit of them: every sample when there are no more; otherwise the first and
// the last and, in each of (limit - 2) / 2 stretches of about equal length,
// its lowest and its highest in the order they come, so that no peak is lost.
// Their indices, in increasing order. A limit below 4 counts as 4.
std::vector<std::size_t> ExtremeSamples(std::span<const float> values, std::size_t limit);
