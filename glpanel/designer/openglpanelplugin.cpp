#include "openglpanelplugin.h"
#include "glpanel/openglpanel.h"

#include <QIcon>

OpenGLPanelPlugin::OpenGLPanelPlugin(QObject *parent)
    : QObject(parent)
{ }

QString OpenGLPanelPlugin::name() const
{
    return QStringLiteral("TOpenGLPanel");
}

QString OpenGLPanelPlugin::group() const
{
    return QStringLiteral("mirvane");
}

QString OpenGLPanelPlugin::toolTip() const
{
    return QStringLiteral("OpenGL panel");
}

QString OpenGLPanelPlugin::whatsThis() const
{
    return QStringLiteral("A panel that owns an OpenGL context and calls its handlers with it.");
}

QString OpenGLPanelPlugin::includeFile() const
{
    return QStringLiteral("openglpanel.h");
}

QIcon OpenGLPanelPlugin::icon() const
{
    return {};
}

bool OpenGLPanelPlugin::isContainer() const
{
    return false;
}

QWidget *OpenGLPanelPlugin::createWidget(QWidget *parent)
{
    return new TOpenGLPanel(parent); // owned by parent, the form being designed
}

bool OpenGLPanelPlugin::isInitialized() const
{
    return m_initialized;
}

void OpenGLPanelPlugin::initialize(QDesignerFormEditorInterface *)
{
    m_initialized = true;
}

QString OpenGLPanelPlugin::domXml() const
{
    return QStringLiteral(R"(<ui language="c++">
 <widget class="TOpenGLPanel" name="OpenGLPanel1">
  <property name="geometry"><rect><x>0</x><y>0</y><width>185</width><height>41</height></rect></property>
 </widget>
</ui>
)");
}
