#include "output/outputdialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

#include <utility>

namespace {

DialogAnswers &installedAnswers()
{
    static DialogAnswers answers;
    return answers;
}

// The folder of the last file chosen in this run; empty before.
QString &lastFolder()
{
    static QString folder;
    return folder;
}

QString startFolder()
{
    if (!lastFolder().isEmpty())
        return lastFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace

SaveFileAnswer AskSaveFileName(QWidget *parent, const SaveFileRequest &request)
{
    if (installedAnswers().saveFile)
        return installedAnswers().saveFile(request);
    QString filter = request.filters.value(0);
    // Qt's own dialog speaks the program's language; a desktop's or portal's
    // would speak the desktop's.
    const QString fileName = QFileDialog::getSaveFileName(parent, request.caption,
        QDir(startFolder()).filePath(request.suggestedName),
        request.filters.join(QStringLiteral(";;")), &filter, QFileDialog::DontUseNativeDialog);
    if (!fileName.isEmpty())
        lastFolder() = QFileInfo(fileName).absolutePath();
    return { fileName, std::max(0, int(request.filters.indexOf(filter))) };
}

bool AskPrinter(QWidget *parent, QPrinter &printer)
{
    if (installedAnswers().print)
        return installedAnswers().print(printer);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

DialogAnswers SetDialogAnswers(DialogAnswers answers)
{
    return std::exchange(installedAnswers(), std::move(answers));
}
