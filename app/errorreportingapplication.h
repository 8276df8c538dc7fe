#pragma once

#include <QApplication>

#include <functional>

// Shows an exception that escapes an event handler in the error box and lets
// the event loop go on. A write past the file-size limit fails as on a full
// disk, where the system's signal would end the program.
class ErrorReportingApplication : public QApplication
{
    Q_OBJECT

public:
    ErrorReportingApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

// Runs body; an exception that escapes it is shown once in the error box.
// Always returns the exit code 0.
int RunReportingErrors(const std::function<void()> &body);
