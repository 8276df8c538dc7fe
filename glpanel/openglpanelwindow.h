#pragma once

#include <QWindow>

class TOpenGLPanel;

// The panel's native child window: an OpenGL surface whose events go to the panel.
class OpenGLPanelWindow : public QWindow
{
    Q_OBJECT
public:
    explicit OpenGLPanelWindow(TOpenGLPanel *panel);

    // The panel forgets the window before it goes, so late events find nobody.
    void detachPanel() { m_panel = nullptr; }

protected:
    bool event(QEvent *event) override;

private:
    TOpenGLPanel *m_panel = nullptr;
};
