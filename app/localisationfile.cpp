#include "localisationfile.h"

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
// declaration before any entity in it could be used, and at nesting the
// document builder would need very long for.
void checkStructure(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            failAt(QStringLiteral("document type declarations are not allowed"),
                    reader.lineNumber(), reader.columnNumber());
        case QXmlStreamReader::StartElement:
            if (++depth > MaxLocaleNesting)
                failAt(QStringLiteral("elements are nested more than %1 deep").arg(MaxLocaleNesting),
                        reader.lineNumber(), reader.columnNumber());
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        failAt(reader.errorString(), reader.lineNumber(), reader.columnNumber());
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

LocaleSection sectionOf(const QDomNode &node, int position)
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
    for (QDomNode node = root.firstChild(); !node.isNull(); node = node.nextSibling())
        sections.append(sectionOf(node, int(sections.size())));
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
        failIn(path, QStringLiteral("larger than the %1 bytes a localisation file may have")
                             .arg(MaxLocaleFileSize));
    try {
        return ParseLocaleDocument(xml);
    } catch (const LocalisationError &error) {
        failIn(path, QString::fromStdString(error.what()));
    }
}

const LocaleSection &LocaleSectionAt(const LocaleDocument &document, int index)
{
    if (index < 0 || index >= document.size())
        fail(QStringLiteral("List index out of bounds (%1)").arg(index));
    return document[index];
}
