#pragma once

#include "forms/choice.h"
#include "forms/field.h"
#include "forms/graph.h"
#include "forms/input1.h"
#include "forms/phaseportrait.h"
#include "services/parameterfilelocation.h"
#include "tests/support/messageboxcapture.h"
#include "tests/support/nominalparameters.h"

#include <QFile>
#include <QTest>

#include <memory>

// A main window shown on a parameter file of the test's own, with the
// secondary windows it opens, and message boxes captured.
class MainWindowFixture
{
public:
    explicit MainWindowFixture(const ModelParameters &parameters = NominalParameters())
        : MainWindowFixture(FormatParameterFile(parameters))
    { }
    // On a file that holds fileText.
    explicit MainWindowFixture(const std::string &fileText)
    {
        QFile file(QString::fromStdString(ParameterFilePath()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(fileText.data(), qint64(fileText.size()));
        file.close();
        Form3 = m_form3.get();
        Form8 = m_form8.get();
        Form9 = m_form9.get();
        Form5 = m_form5.get();
        Form2 = m_form2.get();
        m_form2->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form2.get()));
    }
    ~MainWindowFixture()
    {
        m_form2.reset();
        Form2 = nullptr;
        Form3 = nullptr;
        Form8 = nullptr;
        Form9 = nullptr;
        Form5 = nullptr;
        QFile::remove(QString::fromStdString(ParameterFilePath()));
    }

    static void WriteParameters(const ModelParameters &parameters)
    {
        QVERIFY(WriteParameterFile(ParameterFilePath(), parameters));
    }

    TForm2 &window() { return *m_form2; }
    MessageBoxCapture boxes;

private:
    std::unique_ptr<TForm3> m_form3 = std::make_unique<TForm3>();
    std::unique_ptr<TForm8> m_form8 = std::make_unique<TForm8>();
    std::unique_ptr<TForm9> m_form9 = std::make_unique<TForm9>();
    std::unique_ptr<TForm5> m_form5 = std::make_unique<TForm5>();
    std::unique_ptr<TForm2> m_form2 = std::make_unique<TForm2>();
};
