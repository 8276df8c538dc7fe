#include "services/messagebox.h"

#include "model/seam.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace {

Seam<MessageBoxSink> &installedSink()
{
    static Seam<MessageBoxSink> sink;
    return sink;
}

} // namespace

void ShowMessageBox(const QString &text, const QString &caption, MessageBoxKind kind)
{
    const MessageBoxRequest request { text,
        caption.isEmpty() ? QApplication::applicationName() : caption, kind };
    if (const MessageBoxSink &sink = *installedSink()) {
        sink(request);
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
    return installedSink().Install(std::move(sink));
}
