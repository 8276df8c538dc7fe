#pragma once

#include <QDialog>

// The choice of the curves the time graphs draw.
class TForm9 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm9(QWidget *parent = nullptr);
};

extern TForm9 *Form9;
