#pragma once

#include "modelparameters.h"

#include <QWidget>

// The main window: plays the computed motion back.
class TForm2 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm2(QWidget *parent = nullptr);
    ~TForm2() override;

    // Loads the parameter file into ModelParameters; on failure reports it,
    // asks the program to end and returns false.
    bool ReadParameterFile();

    ::ModelParameters ModelParameters;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
};

extern TForm2 *Form2;
