#pragma once

#include "glpanel/panelfailure.h"

#include <QStringList>

// Collects the OpenGL panel's failure reports for the lifetime of the object.
class PanelFailureCapture
{
public:
    PanelFailureCapture()
        : m_previous(SetPanelFailureReport([this](const QString &text) { reports.append(text); }))
    { }
    ~PanelFailureCapture() { SetPanelFailureReport(std::move(m_previous)); }
    PanelFailureCapture(const PanelFailureCapture &) = delete;
    PanelFailureCapture &operator=(const PanelFailureCapture &) = delete;

    QStringList reports;

private:
    PanelFailureReport m_previous;
};
