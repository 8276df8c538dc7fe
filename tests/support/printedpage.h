#pragma once

#include "output/outputdialogs.h"
#include "output/picturemenu.h"
#include "tests/support/scopedhook.h"

#include <QAction>
#include <QMenu>
#include <QPrinter>
#include <QProcess>

// What one of poppler-utils' tools (pdftoppm, pdftotext, pdfimages) writes
// for arguments; empty when it is missing.
inline QByteArray PopplerOutput(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished();
    return process.readAllStandardOutput();
}

// Prints what the print entry of menu prints to pdf, its print dialog answered.
inline void PrintToPdf(const PictureMenu &menu, const QString &pdf)
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
