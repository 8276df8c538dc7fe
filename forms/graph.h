#pragma once

#include <QDialog>

// The time graphs of coordinate and velocity.
class TForm8 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm8(QWidget *parent = nullptr);
};

extern TForm8 *Form8;
