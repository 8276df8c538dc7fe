#pragma once

#include "app/applylocalisation.h"
#include "app/qttranslation.h"

#include <memory>

class TForm2;
class TForm3;
class TForm5;
class TForm8;
class TForm9;

// Owns one window and publishes it through its global instance while it lives.
template <typename Form> class GlobalWindow
{
public:
    explicit GlobalWindow(Form *&global)
        : m_global(global)
        , m_window(std::make_unique<Form>())
    {
        m_global = m_window.get();
    }
    ~GlobalWindow() { m_global = nullptr; }
    GlobalWindow(const GlobalWindow &) = delete;
    GlobalWindow &operator=(const GlobalWindow &) = delete;

private:
    Form *&m_global;
    std::unique_ptr<Form> m_window;
};

// The program's five windows, created in the order Form2, Form3, Form8,
// Form9, Form5 and destroyed in reverse; the main window's scene menu opens
// the analysis windows. All of them take their captions from the localisation
// file as read before the first, and Qt's dialogs speak its language. A
// window whose construction fails leaves the rest uncreated and the earlier
// ones destroyed.
class WindowSet
{
public:
    WindowSet();
    ~WindowSet();

private:
    LocalisationAtStart m_localisation; // outlives the windows
    QtTranslation m_qtTranslation { m_localisation.Language() }; // before any dialog
    GlobalWindow<TForm2> m_form2;
    GlobalWindow<TForm3> m_form3;
    GlobalWindow<TForm8> m_form8;
    GlobalWindow<TForm9> m_form9;
    GlobalWindow<TForm5> m_form5;
};

// Start-up: the window set, the main window's first showing and the event
// loop, with escaping errors shown once. Returns the exit code, 0.
int RunProgram();
