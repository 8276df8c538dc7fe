#pragma once

#include <QDialog>
#include <QString>

#include <array>

class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QShowEvent;

// The parameters dialog: shows the parameter file's fourteen values and
// writes them back. Modal results: 1 after a complete write, 2 on cancel.
class TForm3 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm3(QWidget *parent = nullptr);

    // The frame's close box cancels, as "Отмена" does.
    void reject() override;

    QFrame *Panel1 = nullptr;
    QLabel *Label14 = nullptr;
    QLabel *Label21 = nullptr;
    QLabel *Label22 = nullptr;
    QScrollArea *ScrollBox1 = nullptr;
    // Edit1 ... Edit14, one per parameter in file order.
    std::array<QLineEdit *, 14> Edits {};
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

    // The error shown for a field that is not a number; %1 its text.
    QString NotANumber = QStringLiteral("'%1' is not a valid floating point value");

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void CreateControls();
    void CreateRows(QWidget &rows);
    void FormShow();
    void Button1Click();
    void Button2Click();
};

extern TForm3 *Form3;
