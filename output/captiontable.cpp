#include "output/captiontable.h"

#include "output/picturemenu.h"
#include "services/plaintooltip.h"
#include "widgets/radiogroup.h"

#include <QAbstractButton>
#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>

namespace {

// The platform's font character sets by the letters they carry.
QFontDatabase::WritingSystem charsetWritingSystem(int charset)
{
    switch (charset) {
    case 0: // ANSI
    case 77: // Macintosh
    case 162: // Turkish
    case 186: // Baltic
    case 238: // Central European
    case 255: // OEM
        return QFontDatabase::Latin;
    case 2:
        return QFontDatabase::Symbol;
    case 128:
        return QFontDatabase::Japanese;
    case 129:
    case 130:
        return QFontDatabase::Korean;
    case 134:
        return QFontDatabase::SimplifiedChinese;
    case 136:
        return QFontDatabase::TraditionalChinese;
    case 161:
        return QFontDatabase::Greek;
    case 163:
        return QFontDatabase::Vietnamese;
    case 177:
        return QFontDatabase::Hebrew;
    case 178:
        return QFontDatabase::Arabic;
    case 204:
        return QFontDatabase::Cyrillic;
    case 222:
        return QFontDatabase::Thai;
    default: // 1, the default set, and unknown numbers
        return QFontDatabase::Any;
    }
}

// Controls without a font of their own follow the window's font; the others
// keep all of theirs, also what they took from the window so far.
void setWindowFont(QWidget &window, const QFont &font)
{
    for (QWidget *control : window.findChildren<QWidget *>()) {
        if (!control->testAttribute(Qt::WA_SetFont))
            continue;
        QFont own = control->font();
        own.setResolveMask(QFont::AllPropertiesResolved);
        control->setFont(own);
    }
    window.setFont(font);
}

void setFontCharset(QWidget &window, int charset)
{
    window.setProperty(FontCharsetProperty, charset);

    const QFontDatabase::WritingSystem system = charsetWritingSystem(charset);
    QFont font = window.font();
    const QString face = QFontInfo(font).family();
    if (system == QFontDatabase::Any || QFontDatabase::writingSystems(face).contains(system))
        return;
    // A face without the set's letters keeps its look where it has them.
    const QStringList fitting = QFontDatabase::families(system);
    if (fitting.isEmpty())
        return;
    font.setFamilies({ font.family(), fitting.first() });
    setWindowFont(window, font);
}

void setCaption(QWidget &window, const char *name, const QString &text)
{
    QWidget *control = window.findChild<QWidget *>(QLatin1String(name));
    if (auto *label = qobject_cast<QLabel *>(control)) {
        // A label sized to its caption keeps fitting it.
        const bool fitted = label->size() == label->sizeHint();
        label->setTextFormat(Qt::PlainText); // a caption is never markup
        label->setText(text);
        if (fitted)
            label->adjustSize();
    } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        button->setText(text);
    } else if (auto *box = qobject_cast<QGroupBox *>(control)) {
        box->setTitle(text);
    } else if (auto *entry = window.findChild<QAction *>(QLatin1String(name))) {
        entry->setText(text);
    }
}

void applyKey(QWidget &window, const SectionTable &table, const LocaleKey &key, const QString &text)
{
    switch (key.sets) {
    case Sets::Charset:
        setFontCharset(window, ToCharset(text));
        break;
    case Sets::WindowCaption:
        window.setWindowTitle(text);
        break;
    case Sets::Caption:
        setCaption(window, key.name, text);
        break;
    case Sets::RadioItem:
        if (auto *group = window.findChild<TRadioGroup *>(QLatin1String(table.radioGroup)))
            group->AddItem(text);
        break;
    case Sets::Text:
        if (QString *kept = key.text(window))
            *kept = text;
        break;
    case Sets::AccessibleName:
        if (auto *control = window.findChild<QWidget *>(QLatin1String(key.control)))
            control->setAccessibleName(text);
        break;
    case Sets::ToolTip:
        if (auto *control = window.findChild<QWidget *>(QLatin1String(key.control)))
            SetPlainToolTip(*control, text);
        break;
    case Sets::MenuText:
        if (auto *menu = window.findChild<PictureMenu *>(QString(), Qt::FindDirectChildrenOnly)) {
            PictureMenuTexts texts = menu->Texts();
            texts.*key.menuText = text;
            menu->SetTexts(texts);
        }
        break;
    }
}

} // namespace

void ApplyBuiltInCaptions(QWidget &window, const SectionTable &table)
{
    for (const LocaleKey &key : table.keys) {
        if (key.builtIn)
            applyKey(window, table, key, QString::fromUtf16(key.builtIn));
    }
}

void ApplyCaptionTable(QWidget &window, const SectionTable &table, const LocaleSection &entries)
{
    QWidget *rightAligned
        = table.rightAligned ? window.findChild<QWidget *>(table.rightAligned) : nullptr;
    const int formWidth = rightAligned ? rightAligned->width() : 0;

    if (table.radioGroup) {
        if (auto *group = window.findChild<TRadioGroup *>(QLatin1String(table.radioGroup)))
            group->ClearItems();
    }
    for (const LocaleEntry &entry : entries) {
        for (const std::span<const LocaleKey> keys : { table.keys, table.menuKeys }) {
            for (const LocaleKey &key : keys) {
                const QString name = QLatin1String(key.name);
                if (key.optional && !entry.contains(name))
                    continue;
                applyKey(window, table, key, entry.value(name));
            }
        }
    }

    if (rightAligned)
        rightAligned->move(
            rightAligned->x() + formWidth - rightAligned->width(), rightAligned->y());
}

int ToCharset(const QString &text)
{
    bool converted = false;
    const int number = text.toInt(&converted, 10);
    if (!converted)
        throw LocalisationError(
            QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    return number & 0xFF;
}
