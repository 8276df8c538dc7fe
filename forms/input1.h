#pragma once

#include "services/captionedwindow.h"

#include <QDialog>
#include <QString>

#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QShowEvent;
struct Handout;
struct ModelParameters;

// The parameters dialog: shows the parameter file's fourteen values and
// writes them back. Modal results: 1 after a complete write, 2 on cancel.
class TForm3 : public QDialog, public CaptionedWindow
{
    Q_OBJECT

public:
    explicit TForm3(QWidget *parent = nullptr);

    // The frame's close box cancels, as "Отмена" does.
    void reject() override;

    // The caption of parameter field (0-based, file order) as the dialog
    // shows it: windows and printouts that name a parameter use the same words.
    QString ParameterCaption(std::size_t field) const;

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
    // The error shown for a value other than 0 that the file would write as 0;
    // %1 the field's name, %2 the smallest value the file holds there.
    QString LostAsZero = QStringLiteral("Значение поля «%1» слишком мало: в файл оно записалось "
                                        "бы как 0. Наименьшее значение, которое хранит файл: %2");

protected:
    void showEvent(QShowEvent *event) override;

private:
    void ApplyCaptions(const LocaleSection &entries) override;
    void CreateControls();
    void CreateRows(QWidget &rows);
    void FormShow();
    void Button1Click();
    void Button2Click();
    // Shows message about a field and puts the cursor in it.
    void RefuseField(std::size_t row, const QString &message);
};

extern TForm3 *Form3;

// The printed page of a chart in window drawn from values: the window's
// caption, and values as Form3 names and shows them; the caption alone while
// there is no Form3.
Handout ParameterHandout(const QWidget &window, const ModelParameters &values);
