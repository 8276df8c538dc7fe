#pragma once

#include <QElapsedTimer>
#include <QString>

#include <cstdint>
#include <memory>

class QProgressDialog;
class QWidget;

// The texts of the progress dialog.
struct ComputationProgressTexts
{
    QString Caption = QStringLiteral("Расчет движения");
    // %1 the steps done, %2 all steps.
    QString Step = QStringLiteral("Шаг %1 из %2");
    QString Cancel = QStringLiteral("Отмена");

    bool operator==(const ComputationProgressTexts &) const = default;
};

// The progress of one motion computation, for MotionModel::ComputeMotion: a
// computation that outlasts a moment gets a modal dialog with the step count
// and a cancel button (Esc too), and the wait cursor, and the program keeps
// answering while it runs. A shorter one shows nothing.
class ComputationProgressDialog
{
public:
    ComputationProgressDialog(QWidget *parent, const ComputationProgressTexts &texts);
    ~ComputationProgressDialog();
    ComputationProgressDialog(const ComputationProgressDialog &) = delete;
    ComputationProgressDialog &operator=(const ComputationProgressDialog &) = delete;

    // False once the user has cancelled.
    bool operator()(std::int64_t done, std::int64_t total);

private:
    QWidget *m_parent; // the dialog's, not owned
    const ComputationProgressTexts m_texts;
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sinceUpdate;
    std::unique_ptr<QProgressDialog> m_dialog;
    bool m_waitCursor = false;
};
