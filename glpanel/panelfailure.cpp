#include "glpanel/panelfailure.h"

#include <QDebug>

#include <utility>

namespace {

PanelFailureReport &installedReport()
{
    static PanelFailureReport report;
    return report;
}

} // namespace

PanelFailureReport SetPanelFailureReport(PanelFailureReport report)
{
    return std::exchange(installedReport(), std::move(report));
}

void ReportPanelFailure(const QString &text)
{
    if (installedReport())
        installedReport()(text);
    else
        qWarning().noquote() << text;
}
