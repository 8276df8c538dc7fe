#include "forms/input1.h"

#include "model/modelparameters.h"
#include "model/texttofloat.h"
#include "output/captiontable.h"
#include "output/printedpage.h"
#include "services/localisationhook.h"
#include "services/messagebox.h"
#include "services/numberstyles.h"
#include "services/parameterfilelocation.h"
#include "widgets/dialogkeys.h"
#include "widgets/formgeometry.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>

#include <cmath>
#include <limits>

TForm3 *Form3 = nullptr;

namespace {

// One parameter: its edit, name label and nominal text, and how it is shown.
struct Row
{
    const char *edit;
    int top;
    const char *label;
    const char *caption;
    const char *nominalLabel;
    const char *nominal;
    int precision; // significant digits shown
    int exponentDigits;
};

constexpr std::array<Row, 14> Rows { {
    { "Edit1", 19, "Label2", "Шаг расчета, с", "Label23", "0.01", 5, 2 },
    { "Edit2", 45, "Label1", "Шаг печати, с", "Label24", "0,01", 4, 0 },
    { "Edit3", 71, "Label3", "Время остановки счета,с", "Label25", "10", 5, 0 },
    { "Edit4", 97, "Label4", "Mасса точки,  кг", "Label26", "2", 6, 0 },
    { "Edit5", 123, "Label8", "Коэффициент демпфирования, Н.с/м", "Label27", "0", 6, 0 },
    { "Edit6", 149, "Label46", "Жесткость пружины, Н/м", "Label28", "600", 5, 2 },
    { "Edit7", 175, "Label7", "Амплитуда гармонической возмущающей силы, Н", "Label32", "12", 5,
        2 },
    { "Edit8", 201, "Label5", "Частота гармонической возмущающей силы, 1/c", "Label33", "17,3205",
        6, 0 },
    { "Edit9", 227, "Label10", "Начальная фаза гармонической возмущающей силы, угл. град",
        "Label34", "0", 5, 0 },
    { "Edit10", 253, "Label11", "Угол наклонной плоскости,  угл. град", "Label35", "30", 5, 0 },
    { "Edit11", 279, "Label12", "Ускорение свободного падения м/c^2", "Label38", "9,8", 5, 0 },
    { "Edit12", 307, "Label6",
        "Длина недеформированной пружины (для определен начал с.к), м (справочно)", "Label9", "0,4",
        5, 0 },
    { "Edit13", 333, "Label17", "Начальное отклонение точки, м", "Label13", "0", 5, 0 },
    { "Edit14", 359, "Label16", "Начальная скорость точки , м/c", "Label15", "0", 5, 0 },
} };

// The spring length is for reference and not edited.
constexpr int ReferenceRow = FieldIndex(ParameterField::SpringLength);

QLabel *placeLabel(QWidget *parent, const char *name, const char *caption, int left, int top)
{
    auto *label
        = PlaceControl(new QLabel(QString::fromUtf8(caption), parent), name, left, top, 0, 0);
    label->adjustSize();
    return label;
}

// The number a row's text stands for. The largest float, shown with four
// digits, rounds beyond the float range ("3,403E38"); the row's own text of it
// reads back as it.
float rowValue(const Row &row, const QString &text)
{
    try {
        return UserTextToFloat(text);
    } catch (const ConvertError &) {
        const float largest = std::numeric_limits<float>::max();
        for (const float limit : { largest, -largest }) {
            if (text.trimmed() == GeneralStyle(limit, row.precision, row.exponentDigits))
                return limit;
        }
        throw;
    }
}

// value as row's edit shows it.
QString rowText(const Row &row, float value)
{
    return GeneralStyle(value, row.precision, row.exponentDigits);
}

// Whether Accept takes text on row i.
bool acceptable(std::size_t i, const QString &text)
{
    try {
        return !WrittenAsZero(int(i), rowValue(Rows[i], text));
    } catch (const ConvertError &) {
        return false;
    }
}

constexpr LocaleKey ParametersDialogKeys[] = {
    { "CharSet", Sets::Charset },
    { "FormCaption", Sets::WindowCaption },
    { "Button1" },
    { "Button2" },
    { "Label14" },
    { "Label21" },
    { "Label22" },
    { "Label2" },
    { "Label1" },
    { "Label3" },
    { "Label4" },
    { "Label8" },
    { "Label46" },
    { "Label7" },
    { "Label5" },
    { "Label10" },
    { "Label11" },
    { "Label12" },
    { "Label6" },
    { "Label17" },
    { "Label16" },
    laterKey(textKey<TForm3, &TForm3::NotANumber>("NotANumber")),
    laterKey(textKey<TForm3, &TForm3::LostAsZero>("LostAsZero")),
};

constexpr SectionTable ParametersDialogCaptions { .keys = ParametersDialogKeys };

} // namespace

TForm3::TForm3(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Параметры моделирования"));
    setFont(PixelFont(QStringLiteral("MS Sans Serif"), 10));
    PlaceWindow(*this, 175, 30, 741, 385, WindowSizing::Fixed);
    CreateControls();
    RunLocalisationStep(*this, LocalisationSection::ParametersDialog);
}

void TForm3::ApplyCaptions(const LocaleSection &entries)
{
    ApplyCaptionTable(*this, ParametersDialogCaptions, entries);
}

void TForm3::CreateControls()
{
    Panel1 = PlaceControl(new QFrame(this), "Panel1", 0, 0, 741, 385);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    Label14 = placeLabel(Panel1, "Label14", "Значение", 33, 4);
    Label21 = placeLabel(Panel1, "Label21", "Наименование параметра", 133, 4);
    Label22 = placeLabel(Panel1, "Label22", "Номинал", 613, 4);

    ScrollBox1 = PlaceControl(new QScrollArea(Panel1), "ScrollBox1", 12, 24, 699, 321);
    ScrollBox1->setFocusPolicy(Qt::NoFocus);
    // Fixed scroll ranges: the rows' area, whatever the box shows of it.
    auto *rows = new QWidget;
    rows->resize(666, 390);
    CreateRows(*rows);
    ScrollBox1->setWidget(rows);

    Button1 = PlaceControl(
        new QPushButton(QStringLiteral("Принять"), Panel1), "Button1", 12, 354, 61, 20);
    Button2 = PlaceControl(
        new QPushButton(QStringLiteral("Отмена"), Panel1), "Button2", 84, 354, 61, 20);
    WithoutDefaultAndCancel(*this);
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);

    setTabOrder(Edits.back(), Button2);
    setTabOrder(Button2, Button1);
    // A field that gets the focus is scrolled into view, also when Tab comes
    // round from the buttons, which the box itself does not see.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && ScrollBox1->widget()->isAncestorOf(now))
            ScrollBox1->ensureWidgetVisible(now);
    });
}

void TForm3::CreateRows(QWidget &rows)
{
    QFont nominalFont = font();
    nominalFont.setPixelSize(11);
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        const Row &row = Rows[i];
        Edits[i] = PlaceControl(new QLineEdit(&rows), row.edit, 8, row.top, 99, 21);
        Edits[i]->setMaxLength(std::numeric_limits<int>::max()); // no length limit
        // The caption names its edit, also for a screen reader.
        placeLabel(&rows, row.label, row.caption, 120, row.top + 4)->setBuddy(Edits[i]);
        auto *bevel = new QFrame(&rows);
        bevel->setGeometry(599, row.top, 67, 21);
        bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
        QLabel *nominal = placeLabel(&rows, row.nominalLabel, row.nominal, 613, row.top + 4);
        if (i < 2) {
            nominal->setFont(nominalFont);
            nominal->adjustSize();
        }
    }
    Edits[ReferenceRow]->setEnabled(false);
}

void TForm3::reject()
{
    done(2);
}

void TForm3::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Restoring a minimised window is a spontaneous show, not a new showing.
    if (!event->spontaneous())
        FormShow();
}

void TForm3::FormShow()
{
    ModelParameters values;
    // The reader leaves what the file does not hold untouched: NaN marks it.
    for (float *value : values.fields())
        *value = std::numeric_limits<float>::quiet_NaN();
    if (!ReadParameterFile(ParameterFilePath(), values)) {
        ReportParameterFileFailure();
        return;
    }
    const auto fields = values.fields();
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        const float value = *fields[i];
        // Nothing is invented for a missing value: the user must supply it.
        Edits[i]->setText(std::isnan(value) ? QString() : rowText(Rows[i], value));
    }
    // The reference value stays closed to editing only while Accept can take
    // it; otherwise no Accept could ever succeed.
    QLineEdit *reference = Edits[ReferenceRow];
    reference->setEnabled(!acceptable(ReferenceRow, reference->text()));
}

void TForm3::Button1Click()
{
    // Every field is converted before the file is touched, so a mistyped
    // field costs nothing of the saved parameters.
    ModelParameters values;
    const auto fields = values.fields();
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        const Row &row = Rows[i];
        try {
            *fields[i] = rowValue(row, Edits[i]->text());
        } catch (const ConvertError &error) {
            // The message quotes the text only, which for an empty field says
            // nothing: the cursor shows which field it is.
            RefuseField(i, NotANumber.arg(QString::fromUtf8(error.Text())));
            return;
        }
        if (WrittenAsZero(int(i), *fields[i])) {
            RefuseField(i,
                LostAsZero.arg(ParameterCaption(i),
                    GeneralStyle(SmallestWrittenValue(int(i)), row.precision, row.exponentDigits)));
            return;
        }
    }
    if (!WriteParameterFile(ParameterFilePath(), values)) {
        ReportParameterFileFailure();
        return;
    }
    done(1);
}

void TForm3::RefuseField(std::size_t row, const QString &message)
{
    ShowMessageBox(message, QString(), MessageBoxKind::Error);
    ScrollBox1->ensureWidgetVisible(Edits[row]);
    Edits[row]->setFocus();
    Edits[row]->selectAll();
}

void TForm3::Button2Click()
{
    done(2);
}

QString TForm3::ParameterCaption(std::size_t field) const
{
    const auto *name
        = ScrollBox1->widget()->findChild<QLabel *>(QLatin1String(Rows.at(field).label));
    return name->text();
}

Handout ParameterHandout(const QWidget &window, const ModelParameters &values)
{
    Handout handout;
    handout.title = window.windowTitle();
    if (!Form3)
        return handout;
    handout.parametersCaption = Form3->windowTitle();
    const auto fields = values.fields();
    for (std::size_t i = 0; i < Rows.size(); ++i)
        handout.parameters.append({ Form3->ParameterCaption(i), rowText(Rows[i], *fields[i]) });
    return handout;
}
