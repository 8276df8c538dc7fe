#pragma once

#include "services/captionedwindow.h"

#include <QDialog>

class QCheckBox;
class QFrame;
class QGroupBox;
class QPushButton;

// The choice of the curves the time graphs draw. However it is closed, its
// check boxes count as they stand; the choice lasts for the whole run.
class TForm9 : public QDialog, public CaptionedWindow
{
    Q_OBJECT

public:
    explicit TForm9(QWidget *parent = nullptr);

    QFrame *Panel1 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QCheckBox *CheckBox1 = nullptr; // the coordinate curve
    QCheckBox *CheckBox2 = nullptr; // the velocity curve
    QPushButton *Button1 = nullptr;

private:
    void ApplyCaptions(const LocaleSection &entries) override;
    void Button1Click();
};

extern TForm9 *Form9;
