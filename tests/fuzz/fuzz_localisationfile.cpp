// The localisation reader on any input: it returns a document or raises
// LocalisationError, within the time and memory the test run allows.

#include "app/localisationfile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        ParseLocaleDocument(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    } catch (const LocalisationError &) { }
    return 0;
}
