// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "pluginwidgets.h"

#include <PythonQt.h>
#ifndef VELDMARK_REAL_PYTHONQT
#include <pythonqtregistry.h>
#endif

#include <QApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibrary>
#include <QMetaMethod>
#include <QPluginLoader>
#include <QPointer>
#include <QProcess>
#include <QTest>

using InstanceFunction = QObject *(*)();
using MetaDataFunction = const char *(*)();

class tst_VeldmarkPlugin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void rootObjectIsKeptUntilDeleted();
    void casts_data();
    void casts();
    void metaObjectDeclaresNothing();
    void metaDataThroughLoader();
    void rawMetaDataRecord();
    void exportsOnlyTheEntryPoints();
    void registerClassesBeforeTheBridgeWarns();
    void registerClassesTellsTheBridge();
    void decoratorConstructors();

private:
    QObject *rootObject();
    QList<QObject *> decoratorObjects() const;

    QLibrary library{QStringLiteral(VELDMARKPLUGIN_PATH)};
};

void tst_VeldmarkPlugin::initTestCase()
{
    QVERIFY2(library.load(), qPrintable(library.errorString()));
}

void tst_VeldmarkPlugin::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QObject *tst_VeldmarkPlugin::rootObject()
{
    auto instance = reinterpret_cast<InstanceFunction>(library.resolve("qt_plugin_instance"));
    return instance ? instance() : nullptr;
}

void tst_VeldmarkPlugin::rootObjectIsKeptUntilDeleted()
{
    QObject *first = rootObject();
    QVERIFY(first);
    QCOMPARE(rootObject(), first);
    QVERIFY(!first->parent());

    first->setProperty("marker", true);
    QPointer<QObject> guard(first);
    delete first;
    QVERIFY(guard.isNull());

    QObject *second = rootObject();
    QVERIFY(second);
    QVERIFY(second->inherits("VeldmarkPlugin"));
    QVERIFY(!second->property("marker").isValid());
    QCOMPARE(rootObject(), second);
}

void tst_VeldmarkPlugin::casts_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("class name") << QByteArray("VeldmarkPlugin") << "object";
    QTest::newRow("interface class") << QByteArray("PluginWidgets") << "interface";
    QTest::newRow("interface identifier")
        << QByteArray("Kestrane-Pyton-Qt-Widgets/1.0") << "interface";
    QTest::newRow("identifier spelled Python")
        << QByteArray("Kestrane-Python-Qt-Widgets/1.0") << "null";
    QTest::newRow("Designer interface")
        << QByteArray("org.qt-project.Qt.QDesignerCustomWidgetInterface") << "null";
    QTest::newRow("QObject") << QByteArray("QObject") << "object";
    QTest::newRow("null name") << QByteArray() << "null";
}

void tst_VeldmarkPlugin::casts()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, expected);

    QObject *root = rootObject();
    QVERIFY(root);
    auto *interface = qobject_cast<PluginWidgets *>(root);
    QVERIFY(interface);

    void *cast = root->qt_metacast(name.isNull() ? nullptr : name.constData());
    if (expected == QLatin1String("object"))
        QCOMPARE(cast, static_cast<void *>(root));
    else if (expected == QLatin1String("interface"))
        QCOMPARE(cast, static_cast<void *>(interface));
    else
        QCOMPARE(cast, nullptr);
}

void tst_VeldmarkPlugin::metaObjectDeclaresNothing()
{
    const QMetaObject *meta = rootObject()->metaObject();
    QCOMPARE(meta->className(), "VeldmarkPlugin");
    QCOMPARE(meta->superClass(), &QObject::staticMetaObject);
    QCOMPARE(meta->methodCount(), meta->methodOffset());
    QCOMPARE(meta->propertyCount(), meta->propertyOffset());
    QCOMPARE(meta->enumeratorCount(), meta->enumeratorOffset());
    QCOMPARE(meta->classInfoCount(), meta->classInfoOffset());
}

void tst_VeldmarkPlugin::metaDataThroughLoader()
{
    QPluginLoader loader(QStringLiteral(VELDMARKPLUGIN_PATH));
    const QJsonObject metaData = loader.metaData();
    QCOMPARE(metaData.value(QLatin1String("IID")).toString(),
             QStringLiteral("org.qt-project.Qt.QDesignerCustomWidgetInterface"));
    QCOMPARE(metaData.value(QLatin1String("className")).toString(),
             QStringLiteral("VeldmarkPlugin"));
    QCOMPARE(metaData.value(QLatin1String("debug")).toBool(true), false);
    const QJsonObject own = metaData.value(QLatin1String("MetaData")).toObject();
    QCOMPARE(own,
             QJsonObject({{QLatin1String("Keys"), QJsonArray({QLatin1String("veldmarkplugin")})}}));
    QVERIFY(qobject_cast<PluginWidgets *>(loader.instance()));
}

void tst_VeldmarkPlugin::rawMetaDataRecord()
{
    auto query = reinterpret_cast<MetaDataFunction>(library.resolve("qt_plugin_query_metadata"));
    QVERIFY(query);
    const char *record = query();
    QVERIFY(record);
    QCOMPARE(QByteArray(record, 12), QByteArray("QTMETADATA !"));
    QCOMPARE(int(record[12]), 0); // metadata format version
    QCOMPARE(int(record[13]), 5); // Qt major version
    QCOMPARE(int(record[14]), 15); // Qt minor version
    QCOMPARE(int(record[15]), 0); // release build, no extra instruction sets
}

void tst_VeldmarkPlugin::exportsOnlyTheEntryPoints()
{
    QProcess nm;
    nm.start(QStringLiteral(NM_PATH),
             {QStringLiteral("--dynamic"), QStringLiteral("--defined-only"),
              QStringLiteral(VELDMARKPLUGIN_PATH)});
    QVERIFY(nm.waitForFinished());
    QCOMPARE(nm.exitCode(), 0);

    QStringList symbols;
    const QList<QByteArray> lines = nm.readAllStandardOutput().split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() == 3)
            symbols << QString::fromLatin1(fields.at(2));
    }
    symbols.sort();
    QCOMPARE(symbols,
             QStringList({QStringLiteral("qt_plugin_instance"),
                          QStringLiteral("qt_plugin_query_metadata")}));
}

QList<QObject *> tst_VeldmarkPlugin::decoratorObjects() const
{
#ifdef VELDMARK_REAL_PYTHONQT
    // PythonQt keeps them under its private object.
    const QObject *owner = PythonQt::priv();
#else
    const QObject *owner = PythonQt::self();
#endif
    QList<QObject *> decorators;
    const QList<QObject *> held = owner->findChildren<QObject *>();
    for (QObject *object : held) {
        if (object->inherits("VeldmarkDecorators"))
            decorators << object;
    }
    return decorators;
}

// Runs before any test initialises the bridge; the next test then finds
// nothing registered and no decorator made.
void tst_VeldmarkPlugin::registerClassesBeforeTheBridgeWarns()
{
    QVERIFY(!PythonQt::self());
    auto *plugin = qobject_cast<PluginWidgets *>(rootObject());
    QVERIFY(plugin);

    QTest::ignoreMessage(QtWarningMsg,
                         "VeldmarkPlugin::registerClasses() was called before the Python bridge "
                         "exists (PythonQt::init()): the dialog classes are not registered");
    plugin->registerClasses();
    QVERIFY(!PythonQt::self());
}

void tst_VeldmarkPlugin::registerClassesTellsTheBridge()
{
    PythonQt::init();
    auto *plugin = qobject_cast<PluginWidgets *>(rootObject());
    QVERIFY(plugin);
    QCOMPARE(decoratorObjects().size(), 0);
#ifndef VELDMARK_REAL_PYTHONQT
    QCOMPARE(PythonQtRegistry::decoratorCount(), 0);
#endif

    plugin->registerClasses();

    PythonQtObjectPtr main = PythonQt::self()->getMainModule();
    main.evalScript(QStringLiteral("from PythonQt import Kestrane\n"));
    const QVariant classes =
        main.evalScript(QStringLiteral("[hasattr(Kestrane, name) for name in ('VeldmarkDisplay', "
                                       "'VeldmarkSelection', 'ProgressDialog')]"),
                        Py_eval_input);
    QCOMPARE(classes.toList(), QVariantList({true, true, true}));
#ifndef VELDMARK_REAL_PYTHONQT
    // What the bridge recorded, beyond what Python shows.
    QCOMPARE(PythonQtRegistry::decoratorCount(), 1);
    QStringList kestraneClasses;
    const auto registered = PythonQtRegistry::registeredClasses();
    for (const auto &entry : registered) {
        QCOMPARE(entry.package, QByteArray("Kestrane"));
        kestraneClasses << QString::fromLatin1(entry.className);
    }
    QCOMPARE(kestraneClasses,
             QStringList({QStringLiteral("VeldmarkDisplay"), QStringLiteral("VeldmarkSelection"),
                          QStringLiteral("ProgressDialog")}));
#endif
    QCOMPARE(decoratorObjects().size(), 1);

    // Nothing guards a second call: it registers again and adds a decorator.
    plugin->registerClasses();
    QCOMPARE(decoratorObjects().size(), 2);
#ifndef VELDMARK_REAL_PYTHONQT
    QCOMPARE(PythonQtRegistry::registeredClasses().size(), 3);
    QCOMPARE(PythonQtRegistry::decoratorCount(), 2);
#endif
}

void tst_VeldmarkPlugin::decoratorConstructors()
{
    const QList<QObject *> decorators = decoratorObjects();
    QVERIFY(!decorators.isEmpty());
    const QMetaObject *meta = decorators.first()->metaObject();
    QCOMPARE(meta->superClass(), &QObject::staticMetaObject);

    const QList<QByteArray> signatures = {
        "new_VeldmarkDisplay(QWidget*)",   "new_VeldmarkDisplay()",
        "new_VeldmarkSelection(QWidget*)", "new_VeldmarkSelection()",
        "new_ProgressDialog(QWidget*)",    "new_ProgressDialog()",
    };
    const QList<QByteArray> results = {"VeldmarkDisplay*",   "VeldmarkDisplay*",
                                       "VeldmarkSelection*", "VeldmarkSelection*",
                                       "ProgressDialog*",    "ProgressDialog*"};
    QCOMPARE(meta->methodCount() - meta->methodOffset(), signatures.size());
    for (int i = 0; i < signatures.size(); ++i) {
        const QMetaMethod method = meta->method(meta->methodOffset() + i);
        QCOMPARE(method.methodSignature(), signatures.at(i));
        QCOMPARE(QByteArray(method.typeName()), results.at(i));
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        QCOMPARE(method.access(), QMetaMethod::Public);
        const QList<QByteArray> parameters =
            i % 2 ? QList<QByteArray>() : QList<QByteArray>{"parent"};
        QCOMPARE(method.parameterNames(), parameters);
    }
    QCOMPARE(meta->propertyCount(), meta->propertyOffset());
}

QTEST_MAIN(tst_VeldmarkPlugin)
#include "tst_veldmarkplugin.moc"
