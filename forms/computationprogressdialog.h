#pragma once

#include <QElapsedTimer>

#include <cstdint>
#include <memory>

class QProgressDialog;
class QWidget;

// The progress of one motion computation, for MotionModel::ComputeMotion: a
// computation that outlasts a moment gets a modal dialog with the step count
// and "Отмена" (Esc too), and the program keeps answering while it runs.
class ComputationProgressDialog
{
public:
    explicit ComputationProgressDialog(QWidget *parent);
    ~ComputationProgressDialog();
    ComputationProgressDialog(const ComputationProgressDialog &) = delete;
    ComputationProgressDialog &operator=(const ComputationProgressDialog &) = delete;

    // False once the user has cancelled.
    bool operator()(std::int64_t done, std::int64_t total);

private:
    QWidget *m_parent; // the dialog's, not owned
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sinceUpdate;
    std::unique_ptr<QProgressDialog> m_dialog;
};
