#include "services/parameterfilelocation.h"

#include "services/buildvariant.h"
#include "services/messagebox.h"

#include <QCoreApplication>
#include <QMetaObject>

std::string ParameterFilePath()
{
    return ParameterFilePathFor(QCoreApplication::applicationFilePath().toLocal8Bit().toStdString(),
        CurrentBuildVariant().naming);
}

void ReportParameterFileFailure()
{
    ShowMessageBox(
        QString::fromUtf8(CurrentBuildVariant().openFailureMessage), QStringLiteral(" "));
    // Queued: the failing read may run before the loop has started.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}
