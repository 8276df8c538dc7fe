#pragma once

#include <QDialog>

// The phase portrait: velocity against coordinate.
class TForm5 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm5(QWidget *parent = nullptr);
};

extern TForm5 *Form5;
