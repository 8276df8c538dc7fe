#pragma once

#include "services/messagebox.h"
#include "tests/support/scopedhook.h"

#include <QList>

// Collects the program's message boxes for the lifetime of the object.
struct MessageBoxCapture
{
    QList<MessageBoxRequest> boxes;

private:
    ScopedHook<MessageBoxSink, SetMessageBoxSink> m_sink { [this](const MessageBoxRequest &box) {
        boxes.append(box);
    } };
};
