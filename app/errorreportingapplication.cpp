#include "app/errorreportingapplication.h"

#include "services/messagebox.h"

#include <csignal>
#include <exception>

namespace {

void ShowError(const std::exception &error)
{
    ShowMessageBox(QString::fromUtf8(error.what()), QString(), MessageBoxKind::Error);
}

} // namespace

ErrorReportingApplication::ErrorReportingApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("mirvane"));
    // A write past the file-size limit then fails as on a full disk, and is
    // reported, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
}

bool ErrorReportingApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ShowError(error);
        return false;
    }
}

int RunReportingErrors(const std::function<void()> &body)
{
    try {
        body();
    } catch (const std::exception &error) {
        ShowError(error);
    }
    return 0;
}
