#pragma once

#include <QString>

#include <functional>

// Every message box of the program goes through ShowMessageBox, so that
// tests can take the boxes instead of blocking on them.
enum class MessageBoxKind {
    Plain, // text and OK, no icon
    Error, // the error display: an error icon
};

struct MessageBoxRequest
{
    QString text;
    QString caption;
    MessageBoxKind kind = MessageBoxKind::Plain;
};

// Shows a modal box with an OK button and returns when it is closed; the text
// is plain text. An empty caption stands for the application's name.
void ShowMessageBox(const QString &text, const QString &caption = QString(),
    MessageBoxKind kind = MessageBoxKind::Plain);

// Routes boxes to sink instead of the screen while it is set; an empty sink
// restores the real boxes. Returns the previous sink.
using MessageBoxSink = std::function<void(const MessageBoxRequest &)>;
MessageBoxSink SetMessageBoxSink(MessageBoxSink sink);
