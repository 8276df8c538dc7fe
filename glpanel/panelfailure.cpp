#include "glpanel/panelfailure.h"

#include "model/seam.h"

#include <QDebug>

#include <utility>

namespace {

Seam<PanelFailureReport> &installedReport()
{
    static Seam<PanelFailureReport> report;
    return report;
}

} // namespace

PanelFailureReport SetPanelFailureReport(PanelFailureReport report)
{
    return installedReport().Install(std::move(report));
}

void ReportPanelFailure(const QString &text)
{
    if (const PanelFailureReport &report = *installedReport())
        report(text);
    else
        qWarning().noquote() << text;
}
