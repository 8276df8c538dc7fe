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
    const char *label; // named in the caption table, which captions it
    const char *nominalLabel;
    const char *nominal;
    int precision; // significant digits shown
    int exponentDigits;
};

constexpr std::array<Row, 14> Rows { {
    { "Edit1", 19, "Label2", "Label23", "0.01", 5, 2 },
    { "Edit2", 45, "Label1", "Label24", "0,01", 4, 0 },
    { "Edit3", 71, "Label3", "Label25", "10", 5, 0 },
    { "Edit4", 97, "Label4", "Label26", "2", 6, 0 },
    { "Edit5", 123, "Label8", "Label27", "0", 6, 0 },
    { "Edit6", 149, "Label46", "Label28", "600", 5, 2 },
    { "Edit7", 175, "Label7", "Label32", "12", 5, 2 },
    { "Edit8", 201, "Label5", "Label33", "17,3205", 6, 0 },
    { "Edit9", 227, "Label10", "Label34", "0", 5, 0 },
    { "Edit10", 253, "Label11", "Label35", "30", 5, 0 },
    { "Edit11", 279, "Label12", "Label38", "9,8", 5, 0 },
    { "Edit12", 307, "Label6", "Label9", "0,4", 5, 0 },
    { "Edit13", 333, "Label17", "Label13", "0", 5, 0 },
    { "Edit14", 359, "Label16", "Label15", "0", 5, 0 },
} };

// The spring length is for reference and not edited.
constexpr int ReferenceRow = FieldIndex(ParameterField::SpringLength);

// A label sized to its caption, or to the caption it is given later.
QLabel *placeLabel(QWidget *parent, const char *name, const QString &caption, int left, int top)
{
    auto *label = PlaceControl(new QLabel(caption, parent), name, left, top, 0, 0);
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
    { .name = "CharSet", .sets = Sets::Charset },
    { "FormCaption", u"Параметры моделирования", Sets::WindowCaption },
    { "Button1", u"Принять" },
    { "Button2", u"Отмена" },
    { "Label14", u"Значение" },
    { "Label21", u"Наименование параметра" },
    { "Label22", u"Номинал" },
    { "Label2", u"Шаг расчета, с" },
    { "Label1", u"Шаг печати, с" },
    { "Label3", u"Время остановки счета,с" },
    { "Label4", u"Mасса точки,  кг" },
    { "Label8", u"Коэффициент демпфирования, Н.с/м" },
    { "Label46", u"Жесткость пружины, Н/м" },
    { "Label7", u"Амплитуда гармонической возмущающей силы, Н" },
    { "Label5", u"Частота гармонической возмущающей силы, 1/c" },
    { "Label10", u"Начальная фаза гармонической возмущающей силы, угл. град" },
    { "Label11", u"Угол наклонной плоскости,  угл. град" },
    { "Label12", u"Ускорение свободного падения м/c^2" },
    { "Label6", u"Длина недеформированной пружины (для определен начал с.к), м (справочно)" },
    { "Label17", u"Начальное отклонение точки, м" },
    { "Label16", u"Начальная скорость точки , м/c" },
    laterKey(textKey<TForm3, &TForm3::NotANumber>("NotANumber")),
    laterKey(textKey<TForm3, &TForm3::LostAsZero>("LostAsZero")),
};

constexpr SectionTable ParametersDialogCaptions { .keys = ParametersDialogKeys };

// The built-in caption of the key name.
QString builtInCaption(const char *name)
{
    for (const LocaleKey &key : ParametersDialogKeys) {
        if (qstrcmp(key.name, name) == 0)
            return QString::fromUtf16(key.builtIn);
    }
    return {};
}

} // namespace

TForm3::TForm3(QWidget *parent)
    : QDialog(parent)
{
    setFont(PixelFont(QStringLiteral("MS Sans Serif"), 10));
    PlaceWindow(*this, 175, 30, 741, 385, WindowSizing::Fixed);
    CreateControls();
    ApplyBuiltInCaptions(*this, ParametersDialogCaptions);
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

    Label14 = placeLabel(Panel1, "Label14", QString(), 33, 4);
    Label21 = placeLabel(Panel1, "Label21", QString(), 133, 4);
    Label22 = placeLabel(Panel1, "Label22", QString(), 613, 4);

    ScrollBox1 = PlaceControl(new QScrollArea(Panel1), "ScrollBox1", 12, 24, 699, 321);
    ScrollBox1->setFocusPolicy(Qt::NoFocus);
    // Fixed scroll ranges: the rows' area, whatever the box shows of it.
    auto *rows = new QWidget;
    rows->resize(666, 390);
    CreateRows(*rows);
    ScrollBox1->setWidget(rows);

    Button1 = PlaceControl(new QPushButton(Panel1), "Button1", 12, 354, 61, 20);
    Button2 = PlaceControl(new QPushButton(Panel1), "Button2", 84, 354, 61, 20);
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
        // The caption names its edit, also for a screen reader. The label is
        // sized to it here, in the font of the rows before they join the dialog.
        placeLabel(&rows, row.label, builtInCaption(row.label), 120, row.top + 4)
            ->setBuddy(Edits[i]);
        auto *bevel = new QFrame(&rows);
        bevel->setGeometry(599, row.top, 67, 21);
        bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
        QLabel *nominal
            = placeLabel(&rows, row.nominalLabel, QString::fromUtf8(row.nominal), 613, row.top + 4);
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
