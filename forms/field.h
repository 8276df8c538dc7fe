#pragma once

#include "forms/computationprogressdialog.h"
#include "forms/motionmessages.h"
#include "model/csvtable.h"
#include "model/modelparameters.h"
#include "model/motionmodel.h"
#include "services/captionedwindow.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;
class QToolButton;
class PictureMenu;
class TOpenGLPanel;

// The main window: plays the computed motion back.
class TForm2 : public QWidget, public CaptionedWindow
{
    Q_OBJECT

public:
    explicit TForm2(QWidget *parent = nullptr);
    ~TForm2() override;

    // Loads the parameter file into ModelParameters; on failure reports it,
    // asks the program to end and returns false. A file read only in part is
    // warned about once the event loop runs.
    bool ReadParameterFile();
    void AllocateSeries();
    void FreeSeries();
    // Computes the whole motion from ModelParameters under the wait cursor,
    // with a progress dialog when it takes long; cancelled, it leaves no result.
    void ComputeMotion();
    void UpdateReadouts();
    // After the parameter file changed: stops playback, computes the motion
    // afresh from the file and shows its first sample.
    void ReloadParameterFile();

    ::ModelParameters ModelParameters;
    MotionModel Motion;
    int PlaybackIndex = 0;
    // Time, coordinate, velocity, resistance, elastic and driving force, origin.
    std::array<QString, 7> ReadoutPrefixes;

    int SceneWidth = 0; // of the view, in scene units

    QFrame *Bevel1 = nullptr;
    TOpenGLPanel *OpenGLPanel1 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    // In the scene's corner: opens the scene menu, where a new user finds the
    // windows beyond the design.
    QToolButton *SpeedButton2 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button4 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QLabel *Label7 = nullptr;
    QSlider *TrackBar3 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    QCheckBox *CheckBox3 = nullptr;
    QCheckBox *CheckBox4 = nullptr;
    // Label1, Label4, Label5, Label6, Label8, Label9, Label2, top to bottom.
    std::array<QLabel *, 7> Readouts {};
    QTimer *Timer1 = nullptr;
    // Right click on the scene: the resonance curve, the energy balance, the
    // explore window and the output of the picture and the series.
    PictureMenu *SceneMenu = nullptr;

    // What the reading and the computation report, as the user reads it.
    MotionMessageTexts Messages;
    ComputationProgressTexts ProgressTexts;

signals:
    // The scene menu's first three entries: the windows beyond the design
    // open from here, and whoever made them answers.
    void ResonanceRequested();
    void EnergyRequested();
    void ExploreRequested();
    // The parameter file was read again and its motion computed.
    void ParameterFileReloaded();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Also gives the scene's text the character set the section names.
    void ApplyCaptions(const LocaleSection &entries) override;
    void CreateControls();
    void FormShow();
    void FormHide();
    void SpeedButton1Click();
    void Timer1Timer();
    void BitBtn1Click();
    void BitBtn2Click();
    void Button3Click();
    void TrackBar3Change();
    void CheckBox1Click();
    void Button1Click();
    void Button2Click();
    void Button4Click();
    void OpenGLPanel1Init();
    void OpenGLPanel1Resize();
    void OpenGLPanel1Paint();

    // Reads the parameters and computes the motion; false when the file could
    // not be read and the program is ending.
    bool ComputeFromParameterFile();
    void ShowPendingWarnings();
    void StopPlayback();
    void RepaintScene();
    // The last sample playback may reach.
    int PlaybackEnd() const;

    void CreateSceneMenu();
    void CreateSceneMenuButton();
    void RaiseSceneMenuButton();
    // What the last reading and computation found wrong, not yet shown.
    QStringList m_pendingWarnings;
};

extern TForm2 *Form2;

// The computed series of Form2 for an export, read in place; none while there
// is no main window or no result.
std::optional<CsvTable> MainWindowSeries();
