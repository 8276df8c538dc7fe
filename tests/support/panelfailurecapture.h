#pragma once

#include "glpanel/panelfailure.h"
#include "tests/support/scopedhook.h"

#include <QStringList>

// Collects the OpenGL panel's failure reports for the lifetime of the object.
struct PanelFailureCapture
{
    QStringList reports;

private:
    ScopedHook<PanelFailureReport, SetPanelFailureReport> m_report { [this](const QString &text) {
        reports.append(text);
    } };
};
