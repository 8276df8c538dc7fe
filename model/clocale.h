#pragma once

#include <clocale>
#include <locale.h>

// Switches the calling thread to the "C" locale for its lifetime, so that
// printf and scanf use "." whatever locale the process runs under.
class ScopedCLocale
{
public:
    ScopedCLocale()
        : m_cLocale(newlocale(LC_ALL_MASK, "C", locale_t(0)))
        , m_previous(m_cLocale ? uselocale(m_cLocale) : locale_t(0))
    { }
    ~ScopedCLocale()
    {
        if (m_cLocale) {
            uselocale(m_previous);
            freelocale(m_cLocale);
        }
    }
    ScopedCLocale(const ScopedCLocale &) = delete;
    ScopedCLocale &operator=(const ScopedCLocale &) = delete;

private:
    locale_t m_cLocale;
    locale_t m_previous;
};
