#pragma once

#include "output/outputdialogs.h"
#include "output/picturemenu.h"
#include "tests/support/scopedhook.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

// The page the print entry of menu prints, read back at dpi; null when none
// was printed or poppler-utils' pdftoppm is missing.
inline QImage PrintedPage(const PictureMenu &menu, int dpi)
{
    const QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("page.pdf"));
    {
        const ScopedHook<DialogAnswers, SetDialogAnswers> answers(
            { .saveFile = {}, .print = [&pdf](QPrinter &printer) {
                 printer.setOutputFileName(pdf); // a PDF by the suffix
                 return true;
             } });
        for (QAction *entry : menu.Menu()->actions()) {
            if (entry->text() == menu.Texts().Print)
                entry->trigger();
        }
    }
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), { "-r", QString::number(dpi), "-png", pdf });
    render.waitForFinished();
    return QImage::fromData(render.readAllStandardOutput());
}
