#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

// Every file and print dialog of the program goes through AskSaveFileName and
// AskPrinter, so that tests can answer them instead of blocking on them.
struct SaveFileRequest
{
    QString caption;
    QString suggestedName;
    QStringList filters; // "Изображение PNG (*.png)", ...
    int selectedFilter = 0; // the one the dialog offers first
};

struct SaveFileAnswer
{
    QString fileName; // empty: cancelled
    int filter = 0; // index into the request's filters
};

// parent: the dialog's owner window, which keeps it for its next save, or
// null. The dialog opens in the user's documents folder (home without one),
// then in the folder of the last file chosen in this run.
SaveFileAnswer AskSaveFileName(QWidget *parent, const SaveFileRequest &request);
// The system print dialog sets printer up; false when it is cancelled.
bool AskPrinter(QWidget *parent, QPrinter &printer);

// While a member is set it answers in place of its dialog; empty members
// restore the real dialogs. Returns the previous answers.
struct DialogAnswers
{
    std::function<SaveFileAnswer(const SaveFileRequest &)> saveFile;
    std::function<bool(QPrinter &)> print;
};
DialogAnswers SetDialogAnswers(DialogAnswers answers);
