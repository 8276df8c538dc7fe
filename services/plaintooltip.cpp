#include "services/plaintooltip.h"

#include <QTextDocument>
#include <QWidget>

void SetPlainToolTip(QWidget &control, const QString &text)
{
    // A tooltip is rich text exactly when it looks like markup; only then does
    // the text need escaping, and every other one stays as it is.
    control.setToolTip(
        Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal) : text);
}
