#ifndef PYTHONSESSION_H
#define PYTHONSESSION_H

#include <PythonQt.h>

#include <QObject>
#include <QStringList>
#include <QVariant>

// The bridge with the plug-in's classes registered, driven the way a query
// script is: through code evaluated in the main module.
class PythonSession : public QObject
{
    Q_OBJECT

public:
    // Loads the plug-in through Qt's plug-in loader and registers its
    // classes; false, with the reason in `failure`, if that fails.
    bool start(const QString &pluginPath);
    void stop();

    // Runs statements; false if they raised (the traceback goes to errors).
    bool run(const QString &code);
    QVariant value(const QString &expression);
    void addVariable(const QString &name, const QVariant &value);
    // Drops every script object, so Python-owned dialogs are deleted.
    bool clearGlobals();

    QString failure;
    // What Python wrote to stderr.
    QStringList errors;

private:
    PythonQtObjectPtr main;
};

#endif // PYTHONSESSION_H
