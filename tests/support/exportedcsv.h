#pragma once

#include "output/outputdialogs.h"
#include "output/picturemenu.h"
#include "tests/support/scopedhook.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

// What the CSV entry of menu writes, its save dialog answered with a file of
// the test's own; empty when it writes none.
inline QByteArray ExportedCsv(const PictureMenu &menu)
{
    const QTemporaryDir folder;
    const QString fileName = folder.filePath(QStringLiteral("export.csv"));
    const ScopedHook<DialogAnswers, SetDialogAnswers> answers(
        { .saveFile = [&fileName](const SaveFileRequest &) { return SaveFileAnswer { fileName }; },
            .print = {} });
    for (QAction *entry : menu.Menu()->actions()) {
        if (entry->text() == menu.Texts().ExportCsv)
            entry->trigger();
    }
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
