#pragma once

class QString;
class QWidget;

// Gives control text as its tooltip, shown as written: a caption from a file
// may look like markup, which a tooltip would render (and fetch its images).
void SetPlainToolTip(QWidget &control, const QString &text);
