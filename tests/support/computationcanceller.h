#pragma once

#include "tests/support/nominalparameters.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

#include <functional>

// 10^8 integration steps, the most allowed: long enough for the progress dialog.
inline ModelParameters LongComputation()
{
    ModelParameters parameters = NominalParameters();
    parameters.TimeStep = 0.0001f;
    parameters.StopTime = 9999;
    return parameters;
}

// Cancels the next computation with Esc as soon as its progress dialog is up,
// after whileUp has looked at the dialog: construct before the computation.
class ComputationCanceller
{
public:
    explicit ComputationCanceller(std::function<void(const QProgressDialog &)> whileUp = {})
    {
        QObject::connect(&m_poll, &QTimer::timeout, &m_poll, [this, whileUp] {
            auto *dialog = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            m_poll.stop();
            if (whileUp)
                whileUp(*dialog);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        m_poll.start(10);
    }

    bool Cancelled() const { return !m_poll.isActive(); }

private:
    QTimer m_poll;
};
