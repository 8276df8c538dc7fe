#include "app/localisationfile.h"

#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw LocalisationError(message.toStdString());
}

[[noreturn]] void failAt(const QString &message, qint64 line, qint64 column)
{
    fail(QStringLiteral("%1 (line %2, column %3)").arg(message).arg(line).arg(column));
}

[[noreturn]] void failIn(const QString &path, const QString &message)
{
    fail(path + QStringLiteral(": ") + message);
}

// A streaming pass before the document is built: it stops at a document type
// declaration before any entity in it could be used, and at a document whose
// size would make building it slow.
void checkStructure(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    const auto refuse = [&](const QString &message) {
        failAt(message, reader.lineNumber(), reader.columnNumber());
    };
    int depth = 0;
    int nodes = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::DTD)
            refuse(QStringLiteral("document type declarations are not allowed"));
        if (token == QXmlStreamReader::EndElement)
            --depth;
        if (token == QXmlStreamReader::StartElement) {
            if (++depth > MaxLocaleNesting)
                refuse(QStringLiteral("elements nested more than %1 deep").arg(MaxLocaleNesting));
            if (reader.attributes().size() > MaxLocaleAttributes)
                refuse(QStringLiteral("an element with more than %1 attributes")
                           .arg(MaxLocaleAttributes));
        }
        const bool node = token == QXmlStreamReader::StartElement
            || token == QXmlStreamReader::Comment
            || token == QXmlStreamReader::ProcessingInstruction
            || (token == QXmlStreamReader::Characters && !reader.isWhitespace());
        if (node && ++nodes > MaxLocaleNodes)
            refuse(QStringLiteral("more than %1 nodes").arg(MaxLocaleNodes));
    }
    if (reader.hasError())
        refuse(reader.errorString());
}

LocaleEntry attributesOf(const QDomNode &node)
{
    LocaleEntry entry;
    const QDomNamedNodeMap attributes = node.attributes();
    for (int i = 0; i < attributes.count(); ++i) {
        const QDomAttr attribute = attributes.item(i).toAttr();
        entry.insert(attribute.name(), attribute.value());
    }
    return entry;
}

// Each entry may add items to a window, so a section has few.
LocaleSection sectionOf(const QDomNode &node, qsizetype position)
{
    LocaleSection section;
    for (QDomNode entry = node.firstChild(); !entry.isNull(); entry = entry.nextSibling()) {
        if (section.size() == MaxLocaleEntries)
            fail(QStringLiteral("section %1 has more than %2 entries")
                     .arg(position)
                     .arg(MaxLocaleEntries));
        section.append(attributesOf(entry));
    }
    return section;
}

} // namespace

LocaleDocument ParseLocaleDocument(const QByteArray &xml)
{
    checkStructure(xml);
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(xml, &message, &line, &column))
        failAt(message, line, column);

    LocaleDocument sections;
    const QDomElement root = document.documentElement();
    sections.language = root.attribute(QStringLiteral("Language"));
    for (QDomNode node = root.firstChild(); !node.isNull(); node = node.nextSibling())
        sections.append(sectionOf(node, sections.size()));
    return sections;
}

LocaleDocument ReadLocaleFile(const QString &path)
{
    // A pipe or device under the name would block the read.
    if (!QFileInfo(path).isFile())
        failIn(path, QStringLiteral("not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        failIn(path, file.errorString());
    // Reading one byte past the bound tells a file that is too large.
    const QByteArray xml = file.read(MaxLocaleFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        failIn(path, file.errorString());
    if (xml.size() > MaxLocaleFileSize)
        failIn(path,
            QStringLiteral("larger than the %1 bytes a localisation file may have")
                .arg(MaxLocaleFileSize));
    try {
        return ParseLocaleDocument(xml);
    } catch (const LocalisationError &error) {
        failIn(path, QString::fromStdString(error.what()));
    }
}

QString LocaleLanguage(const LocaleDocument &document)
{
    if (!document.language.isEmpty())
        return document.language;
    // As the window applies them: the last entry's character set counts, and
    // only its low 8 bits.
    const LocaleSection *main = FindLocaleSection(document, 0);
    const int charset = main && !main->isEmpty()
        ? main->last().value(QStringLiteral("CharSet")).toInt() & 0xFF
        : 0;
    return charset == 204 ? QStringLiteral("ru") : QStringLiteral("en");
}

const LocaleSection &LocaleSectionAt(const LocaleDocument &document, int index)
{
    const LocaleSection *section = FindLocaleSection(document, index);
    if (!section)
        fail(QStringLiteral("List index out of bounds (%1)").arg(index));
    return *section;
}

const LocaleSection *FindLocaleSection(const LocaleDocument &document, int index)
{
    return index >= 0 && index < document.size() ? &document[index] : nullptr;
}
