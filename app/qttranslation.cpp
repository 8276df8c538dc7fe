#include "app/qttranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

QtTranslation::QtTranslation(const QString &language)
{
    // qtbase holds the dialogs and buttons; "de_AT" falls back to "de".
    if (m_translator.load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_translator);
}
