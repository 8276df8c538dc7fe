#include "forms/computationprogressdialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QProgressDialog>

#include <algorithm>

namespace {

// A computation still running after this gets the dialog ...
constexpr qint64 ShowAfterMs = 250;
// ... which is brought up to date, and the events handled, this often.
constexpr qint64 UpdateEveryMs = 100;

constexpr int Scale = 1000; // the bar in thousandths

} // namespace

ComputationProgressDialog::ComputationProgressDialog(
    QWidget *parent, const ComputationProgressTexts &texts)
    : m_parent(parent)
    , m_texts(texts)
{
    m_sinceStart.start();
}

ComputationProgressDialog::~ComputationProgressDialog()
{
    if (m_waitCursor)
        QGuiApplication::restoreOverrideCursor();
}

bool ComputationProgressDialog::operator()(std::int64_t done, std::int64_t total)
{
    if (!m_dialog) {
        if (m_sinceStart.elapsed() < ShowAfterMs)
            return true;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_waitCursor = true;
        m_dialog = std::make_unique<QProgressDialog>(QString(), m_texts.Cancel, 0, Scale, m_parent);
        m_dialog->setObjectName(QStringLiteral("ComputationProgress"));
        m_dialog->setWindowTitle(m_texts.Caption);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setAutoReset(false);
        m_dialog->setMinimumDuration(0);
        m_dialog->setMinimumWidth(320); // room for the step counts to grow
        m_dialog->findChild<QLabel *>()->setTextFormat(Qt::PlainText); // the step is no markup
        // Esc and the close box reject the dialog; either cancels, as the button does.
        QObject::connect(
            m_dialog.get(), &QDialog::rejected, m_dialog.get(), &QProgressDialog::cancel);
    } else if (m_dialog->wasCanceled()
        || (m_sinceUpdate.isValid() && m_sinceUpdate.elapsed() < UpdateEveryMs)) {
        // A cancelled dialog brought up to date would show again.
        return !m_dialog->wasCanceled();
    }
    m_sinceUpdate.start();
    const QLocale locale;
    m_dialog->setLabelText(
        m_texts.Step.arg(locale.toString(qint64(done)), locale.toString(qint64(total))));
    // A modal dialog handles the pending events here, the cancel button's too.
    m_dialog->setValue(total > 0 ? int(std::min<std::int64_t>(done, total) * Scale / total) : 0);
    return !m_dialog->wasCanceled();
}
