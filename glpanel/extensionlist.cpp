#include "glpanel/extensionlist.h"

bool ExtensionListContains(const char *list, QByteArrayView name)
{
    if (!list || name.isEmpty())
        return false;
    const QByteArrayView extensions(list);
    qsizetype start = 0;
    while (start < extensions.size()) {
        qsizetype end = extensions.indexOf(' ', start);
        if (end < 0)
            end = extensions.size();
        if (extensions.sliced(start, end - start) == name)
            return true;
        start = end + 1;
    }
    return false;
}
