#include "pythonsession.h"

#include "pluginwidgets.h"

#include <QPluginLoader>

bool PythonSession::start(const QString &pluginPath)
{
    PythonQt::init();
    connect(PythonQt::self(), &PythonQt::pythonStdErr, this,
            [this](const QString &text) { errors << text; });

    QPluginLoader loader(pluginPath);
    auto plugin = qobject_cast<PluginWidgets *>(loader.instance());
    if (!plugin) {
        failure = loader.errorString();
        return false;
    }
    plugin->registerClasses();
    main = PythonQt::self()->getMainModule();
    return true;
}

void PythonSession::stop()
{
    main = PythonQtObjectPtr();
    PythonQt::cleanup();
}

bool PythonSession::run(const QString &code)
{
    PythonQt::self()->clearError();
    main.evalScript(code);
    return !PythonQt::self()->hadError();
}

QVariant PythonSession::value(const QString &expression)
{
    return main.evalScript(expression, Py_eval_input);
}

void PythonSession::addVariable(const QString &name, const QVariant &value)
{
    main.addVariable(name, value);
}

bool PythonSession::clearGlobals()
{
    return run(QStringLiteral(R"(
for name in [n for n in globals() if not n.startswith('__')]:
    del globals()[name]
import gc
gc.collect()
)"));
}
