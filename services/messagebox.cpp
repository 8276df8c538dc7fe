#include "services/messagebox.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace {

MessageBoxSink &currentSink()
{
    static MessageBoxSink sink;
    return sink;
}

} // namespace

void ShowMessageBox(const QString &text, const QString &caption, MessageBoxKind kind)
{
    const MessageBoxRequest request { text,
        caption.isEmpty() ? QApplication::applicationName() : caption, kind };
    if (currentSink()) {
        currentSink()(request);
        return;
    }
    QMessageBox box(kind == MessageBoxKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
        request.caption, request.text, QMessageBox::Ok, QApplication::activeWindow());
    // What a user typed or a file held is never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

MessageBoxSink SetMessageBoxSink(MessageBoxSink sink)
{
    return std::exchange(currentSink(), std::move(sink));
}
