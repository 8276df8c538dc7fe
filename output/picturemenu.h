#pragma once

#include "model/csvtable.h"
#include "output/picturemenutexts.h"
#include "output/printedpage.h"

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <functional>
#include <optional>

class QAction;
class QImage;
class QKeySequence;
class QMenu;
class QWidget;
class TOpenGLPanel;
class TPaintBox;

// What the export writes, made when it is asked for; nothing when there is
// nothing computed to export.
using TableSource = std::function<std::optional<CsvTable>()>;
// What a chart's printed page says besides the chart, at the time of printing.
using HandoutSource = std::function<Handout()>;

// The context menu of a picture: the main window's scene or a chart's canvas.
// A right click over the picture, the menu key or Shift+F10 opens it, as the
// picture's tooltip says; every entry is also a shortcut of the window, which
// the entry names. AddOutputEntries adds printing, saving (a chart also as
// SVG), copying and the export of the computed data as CSV.
class PictureMenu : public QObject
{
    Q_OBJECT

public:
    // Parented to window; the panel or the canvas lies in it.
    PictureMenu(TOpenGLPanel &panel, QWidget &window);
    PictureMenu(TPaintBox &canvas, QWidget &window);

    // Appends an entry that runs handler.
    QAction *AddEntry(
        const QString &text, const QKeySequence &shortcut, const std::function<void()> &handler);
    // Appends, after a separator: "Печать…", "Сохранить изображение…",
    // "Копировать" and "Экспорт данных (CSV)…" of what table gives at the time.
    // The save dialogs propose fileName with their suffix ("mirvane-graphs"
    // gives "mirvane-graphs.csv") and first offer the file type chosen last in
    // this run, in any window.
    void AddOutputEntries(const QString &fileName, TableSource table);
    // A canvas prints with handout's title and parameters; without a source,
    // under the window's caption alone.
    void SetHandout(HandoutSource handout) { m_handout = std::move(handout); }
    QMenu *Menu() const { return m_menu; }

    const PictureMenuTexts &Texts() const { return m_texts; }
    // Relabels the output entries and the tooltip.
    void SetTexts(const PictureMenuTexts &texts);

protected:
    // The panel draws in a native window of its own, which gets the mouse
    // instead of the panel widget.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PictureMenu(QWidget &picture, QObject &input, TOpenGLPanel *panel, QWidget &window);
    void Popup(const QPoint &globalPosition);
    void Print();
    // What the source gives; without one, the window's caption.
    Handout PageHandout() const;
    void SaveImage();
    void Copy();
    void ExportCsv();
    void ShowToolTip();
    // What the screen shows; null, with a message, when there is none.
    QImage Picture();
    void ReportWriteFailure(const QString &fileName, const std::exception &failure);

    QWidget &m_picture;
    TOpenGLPanel *m_panel = nullptr; // null for a canvas
    TPaintBox *m_canvas = nullptr; // null for the panel
    QWidget &m_window;
    QMenu *m_menu = nullptr;
    PictureMenuTexts m_texts;
    QAction *m_print = nullptr;
    QAction *m_saveImage = nullptr;
    QAction *m_copy = nullptr;
    QAction *m_exportCsv = nullptr;
    QString m_fileName; // without a suffix
    TableSource m_table;
    HandoutSource m_handout;
    QTimer m_toolTipDelay; // runs while the mouse rests over the scene
    QPoint m_toolTipPosition;
};
