// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "pythonsession.h"

#include "pluginwidgets.h"

#include <QApplication>
#include <QPluginLoader>
#include <QTest>
#include <QWidget>

void PythonSession::startBridge()
{
    PythonQt::init();
    // Direct: output written from Python threads arrives at once and in order.
    connect(
        PythonQt::self(), &PythonQt::pythonStdOut, this,
        [this](const QString &text) { output << text; }, Qt::DirectConnection);
    connect(
        PythonQt::self(), &PythonQt::pythonStdErr, this,
        [this](const QString &text) { errors << text; }, Qt::DirectConnection);
    main = PythonQt::self()->getMainModule();
}

bool PythonSession::start(const QString &pluginPath)
{
    startBridge();
    QPluginLoader loader(pluginPath);
    auto plugin = qobject_cast<PluginWidgets *>(loader.instance());
    if (!plugin) {
        failure = loader.errorString();
        return false;
    }
    plugin->registerClasses();
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

QVariant PythonSession::call(const QString &function, const QString &argument)
{
    main.addVariable(QStringLiteral("argument"), argument);
    return value(function + QStringLiteral("(argument)"));
}

void PythonSession::addVariable(const QString &name, const QVariant &value)
{
    main.addVariable(name, value);
}

void PythonSession::addObject(const QString &name, QObject *object)
{
    main.addObject(name, object);
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

bool PythonSession::endTest()
{
    failure.clear();
    if (!clearGlobals())
        failure = QStringLiteral("the script's objects could not be dropped\n");
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget *window : windows)
        failure += QStringLiteral("a window is left: %1\n")
                       .arg(QString::fromLatin1(window->metaObject()->className()));
    if (!errors.isEmpty())
        failure += QStringLiteral("the script wrote to stderr:\n") + errors.join(QString());
    output.clear();
    errors.clear();
    return failure.isEmpty();
}

void PluginSessionTest::initTestCase()
{
    QVERIFY2(python.start(QStringLiteral(VELDMARKPLUGIN_PATH)), qPrintable(python.failure));
}

void PluginSessionTest::cleanupTestCase()
{
    python.stop();
}

void PluginSessionTest::cleanup()
{
    QVERIFY2(python.endTest(), qPrintable(python.failure));
}
