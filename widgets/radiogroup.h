#pragma once

#include <QGroupBox>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

// A group box of exclusive radio items in columns, filled column by column.
// Nothing is selected until the user picks an item.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    TRadioGroup(const QString &caption, int columns, QWidget *parent = nullptr);

    void AddItem(const QString &text);
    void ClearItems();
    QStringList Items() const;
    QRadioButton *Item(int index) const;
    // -1 while no item is selected.
    int ItemIndex() const;

signals:
    // An item has become the checked one.
    void Clicked();

private:
    void arrangeItems();

    int m_columns = 1;
    QButtonGroup *m_buttons = nullptr;
    QGridLayout *m_layout = nullptr;
};
