#pragma once

#include <utility>

// Installs hook through Set, which returns the hook it replaces, for the
// lifetime of the object, and puts the replaced one back at its end.
template <typename Hook, Hook (*Set)(Hook)> class ScopedHook
{
public:
    explicit ScopedHook(Hook hook)
        : m_previous(Set(std::move(hook)))
    { }
    ~ScopedHook() { Set(std::move(m_previous)); }
    ScopedHook(const ScopedHook &) = delete;
    ScopedHook &operator=(const ScopedHook &) = delete;

private:
    Hook m_previous;
};
