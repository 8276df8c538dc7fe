#pragma once

#include <utility>

// A piece of behaviour the program sets once and tests replace: the value in
// force, and Install, which puts another in and returns the one it replaces,
// so that the caller can put that back.
template <typename T> class Seam
{
public:
    explicit Seam(T initial = {})
        : m_value(std::move(initial))
    { }
    const T &operator*() const { return m_value; }
    const T *operator->() const { return &m_value; }
    T Install(T replacement) { return std::exchange(m_value, std::move(replacement)); }

private:
    T m_value;
};
