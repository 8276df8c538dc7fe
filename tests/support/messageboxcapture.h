#pragma once

#include "services/messagebox.h"

#include <QList>

// Collects the program's message boxes for the lifetime of the object.
class MessageBoxCapture
{
public:
    MessageBoxCapture()
        : m_previous(SetMessageBoxSink([this](const MessageBoxRequest &box) { boxes.append(box); }))
    { }
    ~MessageBoxCapture() { SetMessageBoxSink(std::move(m_previous)); }
    MessageBoxCapture(const MessageBoxCapture &) = delete;
    MessageBoxCapture &operator=(const MessageBoxCapture &) = delete;

    QList<MessageBoxRequest> boxes;

private:
    MessageBoxSink m_previous;
};
