#pragma once

#include "services/captionsection.h"

#include <QString>
#include <QWidget>

#include <span>
#include <type_traits>

struct PictureMenuTexts;

// A window's table of caption keys, applied to the window entry by entry.

enum class Sets {
    Charset, // the window font's character set
    WindowCaption,
    Caption, // of the control or menu entry named like the key
    RadioItem, // appended to the table's radio group
    Text, // kept by the window, which captions and draws with it
    MenuText, // of the window's context menu
    AccessibleName, // of the control named in the key's entry
    ToolTip, // of the control named in the key's entry
};

// The text of a window that a Sets::Text key replaces; null for another window.
using TextOf = QString *(*)(QWidget &window);

struct LocaleKey
{
    const char *name;
    // The window's own text for a control's caption, its window caption or
    // radio item, its accessible name or tooltip; null for the other keys.
    const char16_t *builtIn = nullptr;
    Sets sets = Sets::Caption;
    TextOf text = nullptr;
    QString PictureMenuTexts::*menuText = nullptr;
    // An entry without the key leaves the text as it is, instead of emptying
    // it: the key came after the files made for the designed windows.
    bool optional = false;
    const char *control = nullptr;
};

namespace CaptionDetail {

template <auto Step> auto &stepInto(auto &owner)
{
    if constexpr (std::is_member_object_pointer_v<decltype(Step)>)
        return owner.*Step;
    else
        return owner[Step];
}

// The text the steps lead to from owner, one after the other: a member, as
// &ResonanceWindow::Captions, &ResonanceCaptions::Rule, or an index.
template <auto Step, auto... More> QString &follow(auto &owner)
{
    if constexpr (sizeof...(More) == 0)
        return stepInto<Step>(owner);
    else
        return follow<More...>(stepInto<Step>(owner));
}

template <typename Window, auto... Steps> QString *keptText(QWidget &window)
{
    auto *owner = qobject_cast<Window *>(&window);
    return owner ? &follow<Steps...>(*owner) : nullptr;
}

} // namespace CaptionDetail

// The key name replaces the text the steps lead to.
template <typename Window, auto... Steps> constexpr LocaleKey textKey(const char *name)
{
    return { .name = name, .sets = Sets::Text, .text = &CaptionDetail::keptText<Window, Steps...> };
}

// A key that files made before it lack: an entry without it leaves the text.
constexpr LocaleKey laterKey(LocaleKey key)
{
    key.optional = true;
    return key;
}

// A text of a control other than its caption: its accessible name, which a
// screen reader speaks, or its tooltip.
constexpr LocaleKey controlKey(
    const char *name, const char *control, Sets sets, const char16_t *builtIn)
{
    return laterKey({ .name = name, .builtIn = builtIn, .sets = sets, .control = control });
}

constexpr LocaleKey accessibleNameKey(
    const char *name, const char *control, const char16_t *builtIn)
{
    return controlKey(name, control, Sets::AccessibleName, builtIn);
}

constexpr LocaleKey menuKey(const char *name, QString PictureMenuTexts::*text)
{
    return laterKey({ .name = name, .sets = Sets::MenuText, .menuText = text });
}

// The keys of one window in the order an entry applies them.
struct SectionTable
{
    std::span<const LocaleKey> keys;
    // A label sized to its caption whose right edge stays.
    const char *rightAligned = nullptr;
    // The radio group whose items come from the entries instead of the form.
    const char *radioGroup = nullptr;
    // The keys of the window's context menu, applied after the others.
    std::span<const LocaleKey> menuKeys = {};
};

// Sets the built-in text of every key of the table that has one, as an entry
// with that text would, on the window as its constructor made it: a
// right-aligned label keeps the left edge its form gives it.
void ApplyBuiltInCaptions(QWidget &window, const SectionTable &table);

// Applies each entry in turn: every key of the table, and of its menu, sets
// its text; a key the entry lacks empties it, unless the key is optional.
void ApplyCaptionTable(QWidget &window, const SectionTable &table, const LocaleSection &entries);

// The character set a "CharSet" value names, its low 8 bits; raises a
// LocalisationError when it is no number.
int ToCharset(const QString &text);
