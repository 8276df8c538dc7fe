#include "widgets/radiogroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

TRadioGroup::TRadioGroup(const QString &caption, int columns, QWidget *parent)
    : QGroupBox(caption, parent)
    , m_columns(columns)
    , m_buttons(new QButtonGroup(this))
    , m_layout(new QGridLayout(this))
{
    m_layout->setContentsMargins(6, 2, 4, 2);
    m_layout->setSpacing(2);
    // Any way an item gets checked counts: a click, a key, a screen reader's
    // toggle or code.
    connect(m_buttons, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            emit Clicked();
    });
}

void TRadioGroup::AddItem(const QString &text)
{
    auto *item = new QRadioButton(text, this);
    m_buttons->addButton(item, m_buttons->buttons().size());
    arrangeItems();
}

void TRadioGroup::ClearItems()
{
    const QList<QAbstractButton *> items = m_buttons->buttons();
    for (QAbstractButton *item : items) {
        m_buttons->removeButton(item);
        delete item;
    }
}

QStringList TRadioGroup::Items() const
{
    QStringList texts;
    for (int i = 0; i < m_buttons->buttons().size(); ++i)
        texts.append(Item(i)->text());
    return texts;
}

QRadioButton *TRadioGroup::Item(int index) const
{
    return static_cast<QRadioButton *>(m_buttons->button(index));
}

int TRadioGroup::ItemIndex() const
{
    return m_buttons->checkedId();
}

void TRadioGroup::arrangeItems()
{
    const int count = m_buttons->buttons().size();
    const int rows = (count + m_columns - 1) / m_columns;
    for (int i = 0; i < count; ++i)
        m_layout->removeWidget(Item(i));
    for (int i = 0; i < count; ++i)
        m_layout->addWidget(Item(i), i % rows, i / rows);
}
