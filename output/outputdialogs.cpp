#include "output/outputdialogs.h"

#include "model/seam.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

#include <memory>
#include <utility>

namespace {

Seam<DialogAnswers> &installedAnswers()
{
    static Seam<DialogAnswers> answers;
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

// The save dialog of parent, made at its first use and kept, hidden, as its
// child: every new dialog brings icons of its own, whose pixmaps Qt caches,
// so a dialog made per save made the program grow with every export. Without
// a parent, the dialog is made for the one call and owned by ownDialog.
QFileDialog &saveDialog(QWidget *parent, std::unique_ptr<QFileDialog> &ownDialog)
{
    const QString name = QStringLiteral("SaveFileDialog");
    if (parent) {
        if (auto *kept = parent->findChild<QFileDialog *>(name, Qt::FindDirectChildrenOnly))
            return *kept;
    }
    auto *dialog = new QFileDialog(parent);
    if (!parent)
        ownDialog.reset(dialog);
    dialog->setObjectName(name);
    // Qt's own dialog speaks the program's language; a desktop's or portal's
    // would speak the desktop's.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    return *dialog;
}

} // namespace

SaveFileAnswer AskSaveFileName(QWidget *parent, const SaveFileRequest &request)
{
    if (installedAnswers()->saveFile)
        return installedAnswers()->saveFile(request);
    std::unique_ptr<QFileDialog> ownDialog;
    QFileDialog &dialog = saveDialog(parent, ownDialog);
    dialog.setWindowTitle(request.caption);
    dialog.setNameFilters(request.filters);
    dialog.selectNameFilter(request.filters.value(request.selectedFilter));
    dialog.setDirectory(startFolder());
    dialog.selectFile(request.suggestedName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QString fileName = dialog.selectedFiles().value(0);
    if (!fileName.isEmpty())
        lastFolder() = QFileInfo(fileName).absolutePath();
    return { fileName, std::max(0, int(request.filters.indexOf(dialog.selectedNameFilter()))) };
}

bool AskPrinter(QWidget *parent, QPrinter &printer)
{
    if (installedAnswers()->print)
        return installedAnswers()->print(printer);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

DialogAnswers SetDialogAnswers(DialogAnswers answers)
{
    return installedAnswers().Install(std::move(answers));
}
