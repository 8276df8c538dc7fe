#include "forms/choice.h"

#include "output/captiontable.h"
#include "services/localisationhook.h"
#include "widgets/formgeometry.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr LocaleKey GraphChoiceKeys[] = {
    { .name = "CharSet", .sets = Sets::Charset },
    { "GroupBox1", u"Какие графики выводить" },
    { "CheckBox1", u"Координата" },
    { "CheckBox2", u"Скорость" },
    laterKey({ "Button1", u"OK" }),
};

constexpr SectionTable GraphChoiceCaptions { .keys = GraphChoiceKeys };

} // namespace

TForm9 *Form9 = nullptr;

TForm9::TForm9(QWidget *parent)
    : QDialog(parent)
{
    // An empty title would let the window system show the program's name.
    setWindowTitle(QStringLiteral(" "));
    setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
    PlaceWindow(*this, 192, 114, 250, 138, WindowSizing::Sizeable);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Panel1);

    GroupBox1 = PlaceControl(new QGroupBox(Panel1), "GroupBox1", 12, 12, 221, 69);
    CheckBox1 = PlaceControl(new QCheckBox(GroupBox1), "CheckBox1", 8, 20, 161, 17);
    CheckBox2 = PlaceControl(new QCheckBox(GroupBox1), "CheckBox2", 8, 36, 165, 17);
    CheckBox1->setChecked(true);
    CheckBox2->setChecked(true);
    setTabOrder(CheckBox2, CheckBox1);

    Button1 = PlaceControl(new QPushButton(Panel1), "Button1", 80, 100, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TForm9::Button1Click);
    ApplyBuiltInCaptions(*this, GraphChoiceCaptions);

    RunLocalisationStep(*this, LocalisationSection::GraphChoice);
}

void TForm9::ApplyCaptions(const LocaleSection &entries)
{
    ApplyCaptionTable(*this, GraphChoiceCaptions, entries);
}

void TForm9::Button1Click()
{
    done(1);
}
