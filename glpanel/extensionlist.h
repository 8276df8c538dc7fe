#pragma once

#include <QByteArrayView>

// Whether the space-separated list holds name as one whole entry; exact and case-sensitive.
// A null list or an empty name never matches.
bool ExtensionListContains(const char *list, QByteArrayView name);
