#pragma once

#include <QString>

#include <functional>

// How the panel reports a failing platform call: the call's name, a colon and
// the error code, or a sentence of its own. The panel carries on afterwards.
// The program sets a report that shows the text to the user; without one the
// text goes to the warning log.
using PanelFailureReport = std::function<void(const QString &text)>;

// Returns the previous report; an empty one restores the warning log.
PanelFailureReport SetPanelFailureReport(PanelFailureReport report);
void ReportPanelFailure(const QString &text);
