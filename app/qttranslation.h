#pragma once

#include <QString>
#include <QTranslator>

// Qt's own texts (the file and print dialogs, their questions, the standard
// buttons) in the language of the captions, while this lives. A language Qt
// has no translation for leaves Qt's English.
class QtTranslation
{
public:
    explicit QtTranslation(const QString &language);

private:
    QTranslator m_translator; // takes itself out of the application when destroyed
};
