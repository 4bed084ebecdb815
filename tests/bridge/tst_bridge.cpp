// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "pythonqtregistry.h"
#include "pythonsession.h"
#include "testobjects.h"

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// Drives the bridge the way a script does: everything through evalScript.
class tst_Bridge : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void registrationOrderAndPackages();
    void decoratorsAreHeldAndNullIgnored();
    void conversions_data();
    void conversions();
    void overloads_data();
    void overloads();
    void errors_data();
    void errors();
    void constructors();
    void propertiesSlotsAndBuiltins();
    void destroyedObjectRaises();
    void objectDeletedByCppRaises();
    void pythonOwnedObjectDiesWithLastReference();
    void parentedObjectFollowsQt();
    void sameObjectSameWrapper();
    void staleWrapperNotReusedForNewObject();
    void signalConnections();
    void callbackExceptionIsPrintedNotPropagated();
    void destroyedSignalReachesPython();
    void outputIsRedirected();
    void modalExecEndedByTimer();
    void evalReportsErrors();
    void threeArgumentConnectChecksArguments();
    void wrapperLetsGoWhenDestructionStarts();
    void methodsWithManyParameters();
    void deletionWaitsForTheOutermostCall();
    void pythonSubclasses();
    void classLevelSlotsDirAndWeakReferences();
    void boundMethodsTakePartInGarbageCollection();
    void connectingAgainAndAgain();
    void outputFromThreadsInOrder();
    void genericallyStoredArguments_data();
    void genericallyStoredArguments();
    void valueClassArguments_data();
    void valueClassArguments();
    void pythonCodeInsideACallDeletesTheTarget_data();
    void pythonCodeInsideACallDeletesTheTarget();
    void setParentRefusesCycles_data();
    void setParentRefusesCycles();
    void otherThreadsAreRefused();
    void lastReferenceDroppedInAnotherThread();
    void signalIntoItsOwnSenderEndsInRecursionError_data();
    void signalIntoItsOwnSenderEndsInRecursionError();
    void selfReferringCallbacksAreCollected();
    void callbacksOfObjectsQtOwnsSurviveCollection();
    void collectionWhileChildrenAreDeleted();
    void destroyedEmittedByScriptLeaksNothing();
    void valueErrorsQuoteShortly_data();
    void valueErrorsQuoteShortly();
    void bridgeStartedAgainKnowsWhatAScriptKept();
    void metaObjectOutlivesItsObjectAndIsHeldOnce();

private:
    // (exception type, message) raised by the code, or an empty list.
    QStringList raised(const QString &code);
    // What every test here expects: SystemExit handled, the test classes registered.
    static void prepareBridge();

    PythonSession python;
};

QStringList tst_Bridge::raised(const QString &code)
{
    python.addVariable(QStringLiteral("code"), code);
    return python.value(QStringLiteral("raised(code)")).toStringList();
}

void tst_Bridge::initTestCase()
{
    python.startBridge();
    PythonQt *bridge = PythonQt::self();
    QVERIFY(bridge);
    // As in PythonQt, SystemExit ends the process unless the host asks otherwise.
    QVERIFY(!bridge->systemExitExceptionHandlerEnabled());
    prepareBridge();
}

void tst_Bridge::prepareBridge()
{
    PythonQt *bridge = PythonQt::self();
    bridge->setSystemExitExceptionHandlerEnabled(true);
    bridge->registerClass(&ConversionTarget::staticMetaObject, "Tests");
    bridge->registerClass(&TestDialog::staticMetaObject, "Tests");
    bridge->addDecorators(new TestDecorators);
}

void tst_Bridge::cleanupTestCase()
{
    QVERIFY2(python.run(QStringLiteral(
                 "from PythonQt.Tests import TestDialog\n"
                 "kept = TestDialog()\nkept.finished.connect(lambda code: kept.show())")),
             qPrintable(python.errors.join(QString())));
    python.stop();
    QVERIFY(!PythonQt::self());
    // As with PythonQt, what a script still holds is the host's to delete,
    // and its callbacks no longer run.
    QCOMPARE(TestDialog::liveCount, 1);
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(windows.size(), 1);
    static_cast<QDialog *>(windows.first())->done(1);
    QVERIFY(!windows.first()->isVisible());
    delete windows.first();
    QCOMPARE(TestDialog::liveCount, 0);
    QCOMPARE(ConversionTarget::liveCount, 0);
    QCOMPARE(TestDialog::deletedWhileRunning, 0);
}

void tst_Bridge::init()
{
    QVERIFY(python.run(QStringLiteral(R"(
import gc
from PythonQt.Tests import ConversionTarget, TestDialog

def raised(code):
    try:
        exec(code, globals())
    except Exception as e:
        return (type(e).__name__, str(e))
    return None

t = ConversionTarget()
)")));
}

void tst_Bridge::cleanup()
{
    QVERIFY2(python.endTest(), qPrintable(python.failure));
    QCOMPARE(ConversionTarget::liveCount, 0);
}

void tst_Bridge::registrationOrderAndPackages()
{
    PythonQt::self()->registerClass(&TestDialog::staticMetaObject, "Tests");
    const QVector<PythonQtRegistry::RegisteredClass> classes =
        PythonQtRegistry::registeredClasses();
    QCOMPARE(classes.size(), 2);
    QCOMPARE(classes.at(0).className, QByteArray("ConversionTarget"));
    QCOMPARE(classes.at(0).package, QByteArray("Tests"));
    QCOMPARE(classes.at(1).className, QByteArray("TestDialog"));
    QCOMPARE(classes.at(1).package, QByteArray("Tests"));
    // Bases come along, in the same package; QObject is PythonQt's own.
    QCOMPARE(PythonQtRegistry::packageOf("QDialog"), QByteArray("Tests"));
    QCOMPARE(PythonQtRegistry::packageOf("QObject"), QByteArray("private"));

    // As in PythonQt, each class derives from the wrapper type directly: the
    // C++ bases give their members, not Python base classes.
    QVERIFY(python.run(QStringLiteral(R"(
import sys
import PythonQt
from PythonQt.Tests import QDialog, QWidget
registered = (sys.modules['PythonQt.Tests'] is PythonQt.Tests,
              issubclass(TestDialog, QDialog), isinstance(TestDialog(), QWidget),
              'QObject' in dir(PythonQt.Tests), PythonQt.private.QObject.__name__,
              TestDialog.__module__, TestDialog.__name__)
)")));
    QCOMPARE(python.value(QStringLiteral("registered")).toList(),
             QVariantList({true, false, false, false, QStringLiteral("QObject"),
                           QStringLiteral("PythonQt.Tests"), QStringLiteral("TestDialog")}));
    QCOMPARE(python.value(QStringLiteral("TestDialog is PythonQt.Tests.TestDialog")),
             QVariant(true));
}

void tst_Bridge::decoratorsAreHeldAndNullIgnored()
{
    QCOMPARE(PythonQtRegistry::decoratorCount(), 1);
    PythonQt::self()->addDecorators(nullptr);
    QCOMPARE(PythonQtRegistry::decoratorCount(), 1);
    QCOMPARE(PythonQt::self()->findChildren<TestDecorators *>().size(), 1);
}

void tst_Bridge::conversions_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("type");

    QTest::newRow("str") << "t.echoString('h\u00e9llo \U0001F600')"
                         << "'h\u00e9llo \U0001F600'"
                         << "str";
    QTest::newRow("null QString is empty str") << "t.nullString()"
                                               << "''"
                                               << "str";
    QTest::newRow("QString from int, leniently") << "t.echoString(12)"
                                                 << "'12'"
                                                 << "str";
    QTest::newRow("QStringList from list") << "t.echoStringList(['a', 'b'])"
                                           << "('a', 'b')"
                                           << "tuple";
    QTest::newRow("QStringList from tuple") << "t.echoStringList(('x',))"
                                            << "('x',)"
                                            << "tuple";
    QTest::newRow("QStringList empty") << "t.echoStringList([])"
                                       << "()"
                                       << "tuple";
    QTest::newRow("QByteArray from bytes") << "t.echoByteArray(b'\\x00ab').data()"
                                           << "b'\\x00ab'"
                                           << "bytes";
    QTest::newRow("QByteArray from str as UTF-8") << "t.echoByteArray('\u00e9').data()"
                                                  << "'\u00e9'.encode()"
                                                  << "bytes";
    QTest::newRow("QByteArray result is an object") << "t.echoByteArray(b'x')"
                                                    << "b'x'"
                                                    << "QByteArray";
    QTest::newRow("QByteArray str() shows the bytes") << "str(t.echoByteArray('\u00e9'))"
                                                      << "\"b'\\\\xc3\\\\xa9'\""
                                                      << "str";
    QTest::newRow("QByteArray equal") << "t.echoByteArray(b'ab') == b'ab'"
                                      << "True"
                                      << "bool";
    QTest::newRow("QByteArray not equal") << "t.echoByteArray(b'a') == b'b'"
                                          << "False"
                                          << "bool";
    QTest::newRow("QVariantMap keys through str()")
        << "t.echoMap({'a': 1, 2: 'b', 'n': None, 'l': [1, 2]})"
        << "{'a': 1, '2': 'b', 'n': None, 'l': (1, 2)}"
        << "dict";
    QTest::newRow("QVariantList") << "t.echoList([1, 'a', 2.5, True, None])"
                                  << "(1, 'a', 2.5, True, None)"
                                  << "tuple";
    QTest::newRow("QVariant nested") << "t.echoVariant({'k': [1, {'x': ['y']}]})"
                                     << "{'k': (1, {'x': ('y',)})}"
                                     << "dict";
    QTest::newRow("QVariant None") << "t.echoVariant(None)"
                                   << "None"
                                   << "NoneType";
    QTest::newRow("QVariant large int") << "t.echoVariant(2**40)"
                                        << "2**40"
                                        << "int";
    QTest::newRow("QVariant float") << "t.echoVariant(0.5)"
                                    << "0.5"
                                    << "float";
    QTest::newRow("QVariant bytes") << "t.echoVariant(b'z').data()"
                                    << "b'z'"
                                    << "bytes";
    QTest::newRow("QVariant wrapper") << "t.echoVariant(t) is t"
                                      << "True"
                                      << "bool";
    QTest::newRow("bool") << "t.echoBool(False)"
                          << "False"
                          << "bool";
    QTest::newRow("bool from int, leniently") << "t.echoBool(3)"
                                              << "True"
                                              << "bool";
    QTest::newRow("int") << "t.echoInt(-7)"
                         << "-7"
                         << "int";
    QTest::newRow("int from float floors") << "t.echoInt(2.7)"
                                           << "2"
                                           << "int";
    QTest::newRow("int from bool") << "t.echoInt(True)"
                                   << "1"
                                   << "int";
    QTest::newRow("double") << "t.echoDouble(2.5)"
                            << "2.5"
                            << "float";
    QTest::newRow("double from int") << "t.echoDouble(3)"
                                     << "3.0"
                                     << "float";
    QTest::newRow("QObject* same wrapper") << "t.echoObject(t) is t"
                                           << "True"
                                           << "bool";
    QTest::newRow("QObject* None") << "t.echoObject(None)"
                                   << "None"
                                   << "NoneType";
    QTest::newRow("QWidget* most derived class") << "type(t.echoWidget(TestDialog())).__name__"
                                                 << "'TestDialog'"
                                                 << "str";
    QTest::newRow("enumeration parameter") << "t.modeValue(t.Fancy)"
                                           << "101"
                                           << "int";
    QTest::newRow("enumeration property") << "(setattr(t, 'mode', t.Fancy), t.mode)[1]"
                                          << "1"
                                          << "int";
    QTest::newRow("Q_INVOKABLE") << "t.invokable()"
                                 << "42"
                                 << "int";
    QTest::newRow("decorator instance slot") << "(setattr(t, 'count', 4), t.doubledCount())[1]"
                                             << "8"
                                             << "int";
}

void tst_Bridge::conversions()
{
    QFETCH(QString, call);
    QFETCH(QString, expected);
    QFETCH(QString, type);
    QVERIFY2(python.run(QStringLiteral("result = ") + call),
             qPrintable(python.errors.join(QString())));
    QCOMPARE(python.value(QStringLiteral("type(result).__name__")).toString(), type);
    QVERIFY2(python.value(QStringLiteral("result == (%1)").arg(expected)).toBool(),
             qPrintable(python.value(QStringLiteral("repr(result)")).toString()));
}

void tst_Bridge::overloads_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("int matches strictly") << "t.overloaded(1)" << QVariant("int 1");
    QTest::newRow("float picks double") << "t.overloaded(1.5)" << QVariant("double 1.5");
    QTest::newRow("str picks QString") << "t.overloaded('x')" << QVariant("string x");
    QTest::newRow("two arguments") << "t.overloaded(1, 2)" << QVariant("two 1 2");
    QTest::newRow("bool leniently to the first, int") << "t.overloaded(True)" << QVariant("int 1");
    QTest::newRow("default argument left out") << "t.withDefault(1)" << QVariant(12);
    QTest::newRow("default argument given") << "t.withDefault(1, 5)" << QVariant(15);
}

void tst_Bridge::overloads()
{
    QFETCH(QString, call);
    QFETCH(QVariant, expected);
    QCOMPARE(python.value(call), expected);
}

void tst_Bridge::errors_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("message");

    QTest::newRow("wrong argument type")
        << "t.echoInt('x')"
        << "ValueError"
        << "Called echoInt(int value) -> int with wrong arguments: ('x',)";
    QTest::newRow("wrong argument count")
        << "t.echoInt()"
        << "ValueError"
        << "Called echoInt(int value) -> int with wrong number of arguments: ()";
    QTest::newRow("int out of range") << "t.echoInt(2**40)"
                                      << "ValueError"
                                      << "Called echoInt(int value) -> int "
                                         "with wrong arguments: (1099511627776,)";
    QTest::newRow("no overload matches")
        << "t.overloaded(1, 'x')"
        << "ValueError"
        << "Could not find matching overload for given arguments:\n(1, 'x')\n"
           " The following slots are available:\n"
           "overloaded(int value) -> QString\n"
           "overloaded(double value) -> QString\n"
           "overloaded(QString value) -> QString\n"
           "overloaded(int first, int second) -> QString\n";
    QTest::newRow("keyword arguments")
        << "t.echoInt(value=1)"
        << "ValueError"
        << "Called echoInt(int value) -> int with keyword arguments, but called slot does not "
           "support kwargs.";
    QTest::newRow("keyword arguments to a built-in") << "t.inherits(name='QObject')"
                                                     << "TypeError"
                                                     << "inherits() takes no keyword arguments";
    QTest::newRow("wrong object class")
        << "t.echoWidget(t)"
        << "ValueError"
        << "Called echoWidget(QWidget value) -> QWidget "
           "with wrong arguments: (ConversionTarget (ConversionTarget at: 0x";
    QTest::newRow("unknown attribute") << "t.nothing"
                                       << "AttributeError"
                                       << "ConversionTarget has no attribute named 'nothing'";
    QTest::newRow("protected slot is hidden")
        << "t.protectedSlot()"
        << "AttributeError"
        << "ConversionTarget has no attribute named 'protectedSlot'";
    QTest::newRow("bool property's getter is not a slot")
        << "TestDialog().isVisible()"
        << "AttributeError"
        << "TestDialog has no attribute named 'isVisible'";
    QTest::newRow("new attribute") << "t.extra = 1"
                                   << "AttributeError"
                                   << "'extra' does not exist on ConversionTarget and creating new "
                                      "attributes on C++ objects is not allowed";
    QTest::newRow("slot overwritten")
        << "t.echoInt = 1"
        << "AttributeError"
        << "Slot 'echoInt' can not be overwritten on ConversionTarget object";
    QTest::newRow("read-only property")
        << "t.label = 'x'"
        << "AttributeError"
        << "Property 'label' of ConversionTarget object is not writable";
    QTest::newRow("property of wrong type")
        << "t.count = 'many'"
        << "AttributeError"
        << "Property 'count' of type 'int' does not accept an object of type str ('many')";
    QTest::newRow("constructor arguments")
        << "ConversionTarget(1, 2)"
        << "ValueError"
        << "Could not find matching overload for given arguments:\n(1, 2)\n"
           " The following slots are available:\n"
           "ConversionTarget(QObject parent) -> ConversionTarget\n"
           "ConversionTarget() -> ConversionTarget\n";
    QTest::newRow("constructor keyword arguments")
        << "ConversionTarget(parent=None)"
        << "ValueError"
        << "Called ConversionTarget(QObject parent) -> ConversionTarget with keyword arguments";
    QTest::newRow("bytes() of a QByteArray") << "bytes(t.echoByteArray(b'x'))"
                                             << "TypeError"
                                             << "cannot convert";
    QTest::newRow("len() of a QByteArray") << "len(t.echoByteArray(b'x'))"
                                           << "TypeError"
                                           << "object of type";
    QTest::newRow("class slot without an instance")
        << "ConversionTarget.echoInt(1)"
        << "ValueError"
        << "slot echoInt(int value) -> int requires ConversionTarget instance as first argument, "
           "got int";
    QTest::newRow("class slot of another class")
        << "ConversionTarget.echoInt(TestDialog(), 1)"
        << "ValueError"
        << "slot echoInt(int value) -> int requires ConversionTarget instance as first argument, "
           "got TestDialog";
}

void tst_Bridge::errors()
{
    QFETCH(QString, code);
    QFETCH(QString, type);
    QFETCH(QString, message);
    const QStringList error = raised(code);
    QCOMPARE(error.value(0), type);
    QVERIFY2(error.value(1).startsWith(message), qPrintable(error.value(1)));
}

void tst_Bridge::constructors()
{
    QVERIFY(python.run(QStringLiteral(R"(
plain = TestDialog()
none = TestDialog(None)
child = TestDialog(plain)
)")));
    QCOMPARE(python.value(QStringLiteral("plain.parent() is None and none.parent() is None")),
             QVariant(true));
    QCOMPARE(python.value(QStringLiteral("child.parent() is plain")), QVariant(true));
    QCOMPARE(python.value(QStringLiteral("plain is not none")), QVariant(true));
    QCOMPARE(TestDialog::liveCount, 3);
    auto child =
        qobject_cast<TestDialog *>(python.value(QStringLiteral("child")).value<QObject *>());
    QVERIFY(child);
    QVERIFY(child->parentWidget());
    QCOMPARE(child->parentWidget(), python.value(QStringLiteral("plain")).value<QObject *>());
}

void tst_Bridge::propertiesSlotsAndBuiltins()
{
    QVERIFY(python.run(QStringLiteral(R"(
d = TestDialog()
d.setWindowTitle('Query')
d.objectName = 'queryDialog'
d.show()
shown = d.visible
d.close()
facts = (d.windowTitle, d.objectName, shown, d.visible, d.className(),
         d.inherits('QDialog'), t.count, t.label, t.Fancy, ConversionTarget.Plain)
)")));
    QCOMPARE(python.value(QStringLiteral("facts")).toList(),
             QVariantList({QStringLiteral("Query"), QStringLiteral("queryDialog"), true, false,
                           QStringLiteral("TestDialog"), true, 0, QStringLiteral("target"), 1, 0}));
    QVERIFY(python.run(QStringLiteral("t.count = 7")));
    QCOMPARE(python.value(QStringLiteral("t.count")), QVariant(7));
    // exec_ is the old spelling of exec.
    QCOMPARE(python.value(QStringLiteral("d.exec_ == d.exec and d.exec_ != d.show")),
             QVariant(true));
    QVERIFY(python.value(QStringLiteral("repr(d.exec_)"))
                .toString()
                .startsWith(QStringLiteral("<qt slot exec of TestDialog instance at 0x")));
    // QObject's property() and setProperty(), dynamic properties included.
    QVERIFY(python.run(QStringLiteral(R"(
declared = d.setProperty('windowTitle', 'Other')
dynamic = d.setProperty('note', 5)
d.note = 6
props = (declared, dynamic, d.property('windowTitle'), d.property('note'), d.note,
         d.property('unknown'))
)")));
    QCOMPARE(python.value(QStringLiteral("props")).toList(),
             QVariantList({true, false, QStringLiteral("Other"), 6, 6, QVariant()}));
}

void tst_Bridge::destroyedObjectRaises()
{
    QVERIFY(python.run(QStringLiteral(R"(
parent = TestDialog()
child = TestDialog(parent)
parent.delete()
)")));
    QCOMPARE(TestDialog::liveCount, 0);
    QCOMPARE(python.value(QStringLiteral("bool(child)")), QVariant(false));
    QCOMPARE(raised(QStringLiteral("child.show()")),
             QStringList({"ValueError", "Trying to call 'show' on a destroyed TestDialog object"}));
    // The class name stays known, as in PythonQt.
    QCOMPARE(python.value(QStringLiteral("child.className()")), QVariant("TestDialog"));
    QCOMPARE(
        raised(QStringLiteral("child.children()")),
        QStringList({"ValueError", "Trying to call 'children' on a destroyed TestDialog object"}));
    QCOMPARE(
        raised(QStringLiteral("child.windowTitle")),
        QStringList({"ValueError",
                     "Trying to read property 'windowTitle' from a destroyed TestDialog object"}));
    QCOMPARE(raised(QStringLiteral("child.windowTitle = 'x'")).value(0),
             QStringLiteral("AttributeError"));
    QCOMPARE(raised(QStringLiteral("child.finished.connect(print)")).value(0),
             QStringLiteral("ValueError"));
    QCOMPARE(raised(QStringLiteral("t.echoObject(child)")).value(0), QStringLiteral("ValueError"));
}

void tst_Bridge::objectDeletedByCppRaises()
{
    auto target = new ConversionTarget;
    python.addObject(QStringLiteral("fromCpp"), target);
    QVERIFY(python.run(QStringLiteral("echo = fromCpp.echoInt")));
    delete target;
    QCOMPARE(raised(QStringLiteral("echo(1)")),
             QStringList({"ValueError",
                          "Trying to call 'echoInt' on a destroyed ConversionTarget object"}));
    QCOMPARE(python.value(QStringLiteral("bool(fromCpp)")), QVariant(false));
}

void tst_Bridge::pythonOwnedObjectDiesWithLastReference()
{
    QCOMPARE(ConversionTarget::liveCount, 1);
    QVERIFY(python.run(QStringLiteral("other = t.echoObject(t)\ndel t")));
    QCOMPARE(ConversionTarget::liveCount, 1);
    QVERIFY(python.run(QStringLiteral("del other")));
    QCOMPARE(ConversionTarget::liveCount, 0);

    // An object that C++ handed over stays with C++.
    QPointer<ConversionTarget> kept = new ConversionTarget;
    python.addObject(QStringLiteral("kept"), kept);
    QVERIFY(python.run(QStringLiteral("del kept\ngc.collect()")));
    QVERIFY(kept);
    delete kept;
}

void tst_Bridge::parentedObjectFollowsQt()
{
    QVERIFY(python.run(QStringLiteral(R"(
child = ConversionTarget(t)
later = ConversionTarget()
later.setParent(t)
del child, later
)")));
    QCOMPARE(ConversionTarget::liveCount, 3);
    QVERIFY(python.run(QStringLiteral("children = t.children()")));
    QCOMPARE(python.value(QStringLiteral("[c.className() for c in children]")).toStringList(),
             QStringList({"ConversionTarget", "ConversionTarget"}));
    QVERIFY(python.run(QStringLiteral("del t, children")));
    QCOMPARE(ConversionTarget::liveCount, 0);
}

void tst_Bridge::sameObjectSameWrapper()
{
    QVERIFY(python.run(QStringLiteral("d = TestDialog()\nc = TestDialog(d)")));
    QCOMPARE(python.value(QStringLiteral("t.echoWidget(d) is d and c.parent() is d")),
             QVariant(true));
    QCOMPARE(python.value(QStringLiteral("[x for x in d.children() if x is c] == [c]")),
             QVariant(true));
}

void tst_Bridge::staleWrapperNotReusedForNewObject()
{
    // Whatever address the next object gets, it must get a wrapper of its own.
    for (int round = 0; round < 20; ++round) {
        auto first = new ConversionTarget;
        python.addObject(QStringLiteral("first"), first);
        delete first;
        auto second = new ConversionTarget;
        python.addObject(QStringLiteral("second"), second);
        QCOMPARE(python.value(QStringLiteral("first is not second and bool(second) and not first")),
                 QVariant(true));
        delete second;
    }
}

void tst_Bridge::signalConnections()
{
    QTest::ignoreMessage(
        QtWarningMsg,
        "PythonQt: QObject::connect() signal 'nothing()' does not exist on ConversionTarget");
    QTest::ignoreMessage(
        QtWarningMsg,
        "PythonQt: QObject::connect() signal 'countChanged' does not exist on ConversionTarget");
    QVERIFY(python.run(QStringLiteral(R"(
got = []
def onCount(value):
    got.append(('by name', value))
t.connect('countChanged(int)', onCount)
t.countChanged.connect(lambda value: got.append(('attribute', value)))
t.twoArguments.connect(lambda number: got.append(('first only', number)))
t.connect('2twoArguments(int,QString)', lambda *args: got.append(('all',) + args))
t.count = 5
t.twoArguments(3, 'x')
t.disconnect('countChanged(int)', onCount)
t.count = 6
unknown = t.connect('nothing()', onCount)
bare = t.connect('countChanged', onCount)
)")));
    QCOMPARE(python.value(QStringLiteral("got")).toList(),
             QVariantList({QVariantList({"by name", 5}), QVariantList({"attribute", 5}),
                           QVariantList({"first only", 3}), QVariantList({"all", 3, "x"}),
                           QVariantList({"attribute", 6})}));
    QCOMPARE(python.value(QStringLiteral("unknown")), QVariant(false));
    // PythonQt takes signatures only.
    QCOMPARE(python.value(QStringLiteral("bare")), QVariant(false));
}

void tst_Bridge::callbackExceptionIsPrintedNotPropagated()
{
    QVERIFY(python.run(QStringLiteral(R"(
after = []
def failing(value):
    raise KeyError('from callback')
t.countChanged.connect(failing)
t.countChanged.connect(after.append)
target = t
)")));
    auto target =
        qobject_cast<ConversionTarget *>(python.value(QStringLiteral("target")).value<QObject *>());
    QVERIFY(target);
    target->setCount(9);
    QCOMPARE(target->count(), 9);
    QCOMPARE(python.value(QStringLiteral("after")).toList(), QVariantList({9}));
    const QString printed = python.errors.join(QString());
    QVERIFY2(printed.contains(QStringLiteral("Traceback")), qPrintable(printed));
    QVERIFY(printed.contains(QStringLiteral("KeyError: 'from callback'")));
    // Reported like every other error, so the host knows the script failed.
    QVERIFY(PythonQt::self()->hadError());
    PythonQt::self()->clearError();
    python.errors.clear();
}

void tst_Bridge::destroyedSignalReachesPython()
{
    QVERIFY(python.run(QStringLiteral(R"(
seen = []
t.destroyed.connect(lambda gone: seen.append(gone))
d = TestDialog()
d.connect('destroyed()', lambda: seen.append('dialog'))
t.delete()
del d
)")));
    QCOMPARE(python.value(QStringLiteral("seen")).toList(), QVariantList({QVariant(), "dialog"}));
}

void tst_Bridge::outputIsRedirected()
{
    QSignalSpy stdOut(PythonQt::self(), &PythonQt::pythonStdOut);
    QVERIFY(python.run(QStringLiteral("print('out', 1)\nimport sys\nsys.stderr.write('problem')")));
    QCOMPARE(python.output.join(QString()), QStringLiteral("out 1\n"));
    QCOMPARE(stdOut.size(), python.output.size());
    QCOMPARE(python.errors, QStringList({"problem"}));
    python.errors.clear();
}

void tst_Bridge::modalExecEndedByTimer()
{
    QVERIFY(python.run(QStringLiteral(R"(
d = TestDialog()
results = []
def onFinished(result):
    # Runs inside the modal loop, while run() is still on the stack.
    d.setWindowTitle('finished %d' % result)
    results.append(result)
d.finished.connect(onFinished)
)")));
    QTimer closer;
    closer.setInterval(10);
    connect(&closer, &QTimer::timeout, this, [] {
        if (auto dialog = qobject_cast<TestDialog *>(QApplication::activeModalWidget()))
            dialog->accept();
    });
    QTimer safetyNet;
    safetyNet.setSingleShot(true);
    connect(&safetyNet, &QTimer::timeout, this, [] {
        if (auto dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dialog->done(-1);
    });
    closer.start();
    safetyNet.start(10000);
    QVERIFY(python.run(QStringLiteral("accepted = d.run()\ncode = d.exec_()")));
    QVERIFY(safetyNet.isActive());
    QCOMPARE(python.value(QStringLiteral("(accepted, code, results, d.windowTitle)")).toList(),
             QVariantList({true, 1, QVariantList({1, 1}), QStringLiteral("finished 1")}));
}

void tst_Bridge::evalReportsErrors()
{
    QCOMPARE(python.value(QStringLiteral("6 * 7")), QVariant(42));
    QVERIFY(!PythonQt::self()->hadError());
    QVERIFY(!python.run(QStringLiteral("1 / 0")));
    QVERIFY(python.errors.join(QString()).contains(QStringLiteral("ZeroDivisionError")));
    PythonQt::self()->clearError();
    QVERIFY(!PythonQt::self()->hadError());
    python.errors.clear();

    QSignalSpy exits(PythonQt::self(), &PythonQt::systemExitExceptionRaised);
    QVERIFY(python.run(QStringLiteral("import sys\nsys.exit(3)")));
    QCOMPARE(exits.size(), 1);
    QCOMPARE(exits.first().first(), QVariant(3));
}

void tst_Bridge::threeArgumentConnectChecksArguments()
{
    // finished(int) into setWindowTitle(QString) would read an int as a
    // QString when the signal fires: Qt's check refuses it.
    QTest::ignoreMessage(
        QtWarningMsg,
        "QObject::connect: Incompatible sender/receiver arguments\n"
        "        TestDialog::finished(int) --> TestDialog::setWindowTitle(QString)");
    QVERIFY(python.run(QStringLiteral(R"(
d = TestDialog()
other = TestDialog()
mismatched = d.connect('finished(int)', d, 'setWindowTitle(QString)')
matching = d.connect('finished(int)', other, 'close()')
other.show()
d.done(3)
result = (mismatched, matching, d.windowTitle, other.visible)
)")));
    QCOMPARE(python.value(QStringLiteral("result")).toList(),
             QVariantList({false, true, QString(), false}));
}

void tst_Bridge::wrapperLetsGoWhenDestructionStarts()
{
    // In the dialog's own destroyed callback, and in its child's, the
    // dialog's C++ part is already gone.
    QVERIFY(python.run(QStringLiteral(R"py(
d = TestDialog()
child = ConversionTarget(d)
seen = []
def check(*args):
    seen.append((bool(d), raised("d.setNote('x')"), raised("d.windowTitle")))
d.destroyed.connect(check)
child.destroyed.connect(check)
d.delete()
)py")));
    const QVariantList dead = {
        false,
        QVariantList({"ValueError", "Trying to call 'setNote' on a destroyed TestDialog object"}),
        QVariantList({"ValueError",
                      "Trying to read property 'windowTitle' "
                      "from a destroyed TestDialog object"})};
    QCOMPARE(python.value(QStringLiteral("seen")).toList(), QVariantList({dead, dead}));
    QCOMPARE(TestDialog::liveCount, 0);
}

void tst_Bridge::methodsWithManyParameters()
{
    QVERIFY(python.run(QStringLiteral(R"(
got = []
t.elevenArguments.connect(lambda *args: got.append(args))
t.elevenArguments(*range(10), 'eleventh')
total = t.sumOfEleven(*range(1, 12))
)")));
    QCOMPARE(python.value(QStringLiteral("total")), QVariant(66));
    QCOMPARE(python.value(QStringLiteral("got == [tuple(range(10)) + ('eleventh',)]")),
             QVariant(true));
    QCOMPARE(raised(QStringLiteral("t.sumOfEleven(*range(12))")).value(0),
             QStringLiteral("ValueError"));
}

void tst_Bridge::deletionWaitsForTheOutermostCall()
{
    // finished() fires inside run(): the deletion the callback asks for must
    // wait until run() has returned, though run()'s own event loop goes on.
    QVERIFY(python.run(QStringLiteral(R"(
d = TestDialog()
inside = []
def onFinished(result):
    d.delete()
    inside.append(bool(d))
d.finished.connect(onFinished)
)")));
    QPointer<QObject> dialog = python.value(QStringLiteral("d")).value<QObject *>();
    QVERIFY(dialog);
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [] {
        if (auto modal = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            modal->accept();
    });
    closer.start(10);
    QVERIFY(python.run(QStringLiteral("accepted = d.run()")));
    QCOMPARE(python.value(QStringLiteral("(accepted, inside)")).toList(),
             QVariantList({true, QVariantList({false})}));
    QCOMPARE(TestDialog::deletedWhileRunning, 0);
    QVERIFY(!dialog);
}

void tst_Bridge::pythonSubclasses()
{
    QVERIFY(python.run(QStringLiteral(R"(
class Named(TestDialog):
    def __init__(self, title, parent=None):
        super().__init__(parent)
        self.title = title
        self.setWindowTitle(title)

class Plain(TestDialog):
    pass

named = Named('Query')
child = Named('Child', named)
plain = Plain(None)
class NoInit(TestDialog):
    def __init__(self):
        pass
empty = NoInit()
facts = (named.title, named.windowTitle, child.parent() is named, child.title,
         type(plain).__name__, plain.className(), bool(empty), TestDialog.setWindowTitle(plain, 'p'),
         plain.windowTitle)
)")));
    QCOMPARE(
        python.value(QStringLiteral("facts")).toList(),
        QVariantList({"Query", "Query", true, "Child", "Plain", "Plain", false, QVariant(), "p"}));
    QCOMPARE(TestDialog::liveCount, 3);
    QCOMPARE(raised(QStringLiteral("empty.show()")),
             QStringList({"ValueError", "Trying to call 'show' on a destroyed TestDialog object"}));
    QVERIFY(python.run(QStringLiteral("del named, child, plain, empty")));
    QCOMPARE(TestDialog::liveCount, 0);
}

void tst_Bridge::classLevelSlotsDirAndWeakReferences()
{
    QVERIFY(python.run(QStringLiteral(R"(
import weakref
d = TestDialog()
names = dir(d)
reference = weakref.ref(d)
facts = ('setNote' in names, 'finished' in names, 'windowTitle' in names, 'connect' in names,
         'isVisible' in names or 'setNote' not in dir(TestDialog), reference() is d,
         repr(TestDialog.setNote), TestDialog.windowTitle,
         TestDialog.setNote.__get__(d) == d.setNote, d.finished == d.finished,
         d.setNote.parameterNames(), d.setNote.parameterTypes(), d.finished.typeName(),
         d.run.typeName())
del d
gone = reference() is None
)")));
    QCOMPARE(python.value(QStringLiteral("facts")).toList(),
             QVariantList({true, true, true, true, false, true,
                           "<unbound qt slot setNote of TestDialog type>", QVariant(), true, true,
                           QVariantList({QVariantList({"text"})}),
                           QVariantList({QVariantList({"QString"})}), QVariantList({""}),
                           QVariantList({"bool"})}));
    QCOMPARE(python.value(QStringLiteral("gone")), QVariant(true));
    QCOMPARE(TestDialog::liveCount, 0);
}

void tst_Bridge::boundMethodsTakePartInGarbageCollection()
{
    QVERIFY(python.run(QStringLiteral(R"(
class Keeper(TestDialog):
    def __init__(self):
        super().__init__()
        self.keep = self.setNote
        self.signal = self.finished
for i in range(5):
    Keeper()
gc.collect()
)")));
    QCOMPARE(TestDialog::liveCount, 0);
}

void tst_Bridge::connectingAgainAndAgain()
{
    QVERIFY(python.run(QStringLiteral(R"(
got = []
def first(value):
    got.append(('first', value))
for i in range(2000):
    t.countChanged.connect(first)
    t.countChanged.disconnect(first)
    t.connect('countChanged(int)', first)
    t.disconnect('countChanged(int)', first)
t.countChanged.connect(first)
t.countChanged.connect(lambda value: got.append(('second', value)))
t.count = 3
dropped = t.countChanged.disconnect(first)
t.count = 4
)")));
    QCOMPARE(python.value(QStringLiteral("(dropped, got)")).toList(),
             QVariantList({true,
                           QVariantList({QVariantList({"first", 3}), QVariantList({"second", 3}),
                                         QVariantList({"second", 4})})}));
}

void tst_Bridge::outputFromThreadsInOrder()
{
    QVERIFY(python.run(QStringLiteral(R"(
import threading
def work():
    for i in range(50):
        print('line', i)
    raise RuntimeError('worker failed')
worker = threading.Thread(target=work)
worker.start()
worker.join()
print('joined')
)")));
    QStringList expected;
    for (int i = 0; i < 50; ++i)
        expected << QStringLiteral("line %1\n").arg(i);
    expected << QStringLiteral("joined\n");
    QCOMPARE(python.output.join(QString()), expected.join(QString()));
    QVERIFY2(python.errors.join(QString()).contains(QStringLiteral("RuntimeError: worker failed")),
             qPrintable(python.errors.join(QString())));
    python.errors.clear();
}

void tst_Bridge::genericallyStoredArguments_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("short") << "t.echoShort(-12)" << QVariant(-12);
    QTest::newRow("unsigned short") << "t.echoUShort(65535)" << QVariant(65535);
    QTest::newRow("long") << "t.echoLong(-2**40)" << QVariant(Q_INT64_C(-1099511627776));
    QTest::newRow("qint8") << "t.echoInt8(-5)" << QVariant(-5);
    QTest::newRow("QUrl as C++ reads it")
        << "t.urlHost('https://example.org/a?b=1')" << QVariant("example.org");
    QTest::newRow("QUrl there and back")
        << "t.echoUrl('https://example.org/a?b=1')" << QVariant("https://example.org/a?b=1");
    QTest::newRow("QDate as C++ reads it") << "t.dateYear('2026-12-10')" << QVariant(2026);
    QTest::newRow("QDate there and back") << "t.echoDate('2026-12-10')" << QVariant("2026-12-10");
    QTest::newRow("QTime there and back") << "t.echoTime('16:55:00')" << QVariant("16:55:00.000");
    QTest::newRow("short property") << "(setattr(t, 'level', 7), t.level)[1]" << QVariant(7);
    QTest::newRow("QDate property")
        << "(setattr(t, 'day', '2026-01-02'), t.day)[1]" << QVariant("2026-01-02");
}

void tst_Bridge::genericallyStoredArguments()
{
    QFETCH(QString, expression);
    QFETCH(QVariant, expected);
    const QVariant result = python.value(expression);
    QVERIFY2(python.errors.isEmpty(), qPrintable(python.errors.join(QString())));
    QCOMPARE(result.toString(), expected.toString());
}

void tst_Bridge::valueClassArguments_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("QSize as C++ reads it") << "t.sizeArea(QSize(3, 4))" << QVariant(12);
    QTest::newRow("QPoint as C++ reads it") << "t.pointText(QPoint(-1, 2))" << QVariant("-1;2");
    QTest::newRow("QRect there and back")
        << "repr(t.echoRect(QRect(1, 2, 3, 4))).split(', at')[0]" << QVariant("QRect (1, 2, 3, 4");
    QTest::newRow("QRect result compares")
        << "t.echoRect(QRect(1, 2, 3, 4)) == QRect(1, 2, 3, 4)" << QVariant(true);
    QTest::newRow("QFont as C++ reads it")
        << "t.fontFamily(d.font) == d.font.family()" << QVariant(true);
    QTest::newRow("a changed copy as C++ reads it")
        << "(s.setWidth(5), t.sizeArea(s))[1]" << QVariant(15);
    QTest::newRow("QSize in a variant, back in its class")
        << "repr(t.echoVariant(QSize(1, 2))).split(', at')[0]" << QVariant("QSize (1, 2");
    QTest::newRow("QSize in a list") << "str(t.echoList([QSize(1, 2)])[0])" << QVariant("1, 2");
    QTest::newRow("QSize in a map")
        << "str(t.echoMap({'s': QSize(1, 2)})['s'])" << QVariant("1, 2");
    QTest::newRow("a tuple is no QSize") << "refused(t.sizeArea, (3, 4))" << QVariant(true);
    QTest::newRow("a QPoint is no QSize") << "refused(t.sizeArea, QPoint(3, 4))" << QVariant(true);
    QTest::newRow("a QSize is no int") << "refused(t.echoInt, QSize(3, 4))" << QVariant(true);
    QTest::newRow("a QSize is no text") << "refused(t.echoString, QSize(3, 4))" << QVariant(true);
    QTest::newRow("a font's text is no QFont")
        << "refused(t.fontFamily, d.font.toString())" << QVariant(true);
    QTest::newRow("a method kept on its own value is collected") << "collected()" << QVariant(true);
}

void tst_Bridge::valueClassArguments()
{
    QFETCH(QString, expression);
    QFETCH(QVariant, expected);
    QVERIFY(python.run(QStringLiteral(R"(
import weakref
from PythonQt.QtCore import QPoint, QRect, QSize
d = TestDialog()
s = QSize(2, 3)
def refused(slot, value):
    try:
        slot(value)
    except ValueError:
        return True
    return False
class Size(QSize):
    pass
def collected():
    v = Size(1, 2)
    v.w = v.width
    kept = weakref.ref(v)
    del v
    gc.collect()
    return kept() is None
)")));
    const QVariant result = python.value(expression);
    QVERIFY2(python.errors.isEmpty(), qPrintable(python.errors.join(QString())));
    QCOMPARE(result.toString(), expected.toString());
    QVERIFY(python.run(QStringLiteral("d.delete()")));
}

void tst_Bridge::pythonCodeInsideACallDeletesTheTarget_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("error");

    // Each runs Python code of the script's own while the bridge holds the
    // dialog: a __str__, an __iter__ or an __eq__ that deletes it.
    QTest::newRow("property write, __str__")
        << "d.windowTitle = DeletesOnStr()"
        << QStringList({"AttributeError",
                        "Trying to set property 'windowTitle' on a destroyed TestDialog object"});
    QTest::newRow("setProperty(), __iter__")
        << "d.setProperty('note', DeletesOnIter())"
        << QStringList(
               {"ValueError", "Trying to call 'setProperty' on a destroyed TestDialog object"});
    QTest::newRow("dynamic attribute, __iter__")
        << "d.setProperty('note', 1)\nd.note = DeletesOnIter()"
        << QStringList({"AttributeError",
                        "Trying to set property 'note' on a destroyed TestDialog object"});
    QTest::newRow("signal's disconnect(), __eq__")
        << "d.finished.connect(print)\nd.finished.connect(len)\n"
           "d.finished.disconnect(DeletesOnEq())"
        << QStringList(
               {"ValueError", "Trying to disconnect 'finished' on a destroyed TestDialog object"});
    QTest::newRow("disconnect() by signature, __eq__")
        << "d.finished.connect(print)\nd.finished.connect(len)\n"
           "d.disconnect('finished(int)', DeletesOnEq())"
        << QStringList(
               {"ValueError", "Trying to call 'disconnect' on a destroyed TestDialog object"});
    QTest::newRow("slot call, __str__")
        << "d.setNote(DeletesOnStr())"
        << QStringList({"ValueError", "Trying to call 'setNote' on a destroyed TestDialog object"});
}

void tst_Bridge::pythonCodeInsideACallDeletesTheTarget()
{
    QFETCH(QString, code);
    QFETCH(QStringList, error);
    QVERIFY(python.run(QStringLiteral(R"(
d = TestDialog()
class DeletesOnStr:
    def __str__(self):
        d.delete()
        return 'text'
# A sequence, as only sequences become lists in a variant.
class DeletesOnIter:
    def __len__(self):
        return 2
    def __getitem__(self, i):
        return [1, 2][i]
    def __iter__(self):
        d.delete()
        return iter([1, 2])
class DeletesOnEq:
    def __eq__(self, other):
        d.delete()
        return False
    __hash__ = object.__hash__
)")));
    QCOMPARE(TestDialog::liveCount, 1);
    QCOMPARE(raised(code), error);
    QCOMPARE(TestDialog::liveCount, 0);
    QCOMPARE(python.value(QStringLiteral("bool(d)")), QVariant(false));
}

void tst_Bridge::setParentRefusesCycles_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");

    QTest::newRow("a dialog its own parent")
        << "d.setParent(d)"
        << "setParent(): a TestDialog can not be its own parent";
    QTest::newRow("a dialog under its child")
        << "d.setParent(child)"
        << "setParent(): a TestDialog can not be its own ancestor";
    QTest::newRow("a dialog under its grandchild")
        << "d.setParent(grandchild)"
        << "setParent(): a TestDialog can not be its own ancestor";
    QTest::newRow("an object its own parent")
        << "t.setParent(t)"
        << "setParent(): a ConversionTarget can not be its own parent";
    QTest::newRow("an object under its child")
        << "t.setParent(ConversionTarget(t))"
        << "setParent(): a ConversionTarget can not be its own ancestor";
}

void tst_Bridge::setParentRefusesCycles()
{
    QFETCH(QString, code);
    QFETCH(QString, message);
    QVERIFY(python.run(QStringLiteral("d = TestDialog()\nchild = TestDialog(d)\n"
                                      "grandchild = TestDialog(child)")));
    QCOMPARE(raised(code), QStringList({"ValueError", message}));
    QCOMPARE(python
                 .value(QStringLiteral("(d.parent(), t.parent(), child.parent() is d, "
                                       "grandchild.parent() is child)"))
                 .toList(),
             QVariantList({QVariant(), QVariant(), true, true}));
}

void tst_Bridge::otherThreadsAreRefused()
{
    QVERIFY(python.run(QStringLiteral(R"(
import threading
d = TestDialog()
d.setProperty('note', 1)
attempts = {
    'show': lambda: d.show(),
    'run': lambda: d.run(),
    'unbound slot': lambda: TestDialog.show(d),
    'built-in': lambda: d.setProperty('other', 2),
    'property read': lambda: d.windowTitle,
    'property write': lambda: setattr(d, 'windowTitle', 'x'),
    'dynamic property': lambda: d.note,
    'emit': lambda: d.finished.emit(1),
    'connect': lambda: d.finished.connect(print),
    'construct': lambda: TestDialog(),
}
outcomes = {}
def work():
    for name, attempt in attempts.items():
        try:
            attempt()
            outcomes[name] = 'ran'
        except Exception as e:
            outcomes[name] = (type(e).__name__, str(e))
worker = threading.Thread(target=work)
worker.start()
worker.join()
)")));
    const QVariantMap outcomes = python.value(QStringLiteral("outcomes")).toMap();
    QCOMPARE(outcomes.size(), 10);
    for (auto it = outcomes.cbegin(); it != outcomes.cend(); ++it) {
        const QStringList error = it.value().toStringList();
        QCOMPARE(error.value(0), QStringLiteral("RuntimeError"));
        QVERIFY2(error.value(1).endsWith(QStringLiteral(
                     "object from a thread that is not the GUI thread: Qt objects may only be "
                     "used from the GUI thread")),
                 qPrintable(it.key() + QStringLiteral(": ") + error.value(1)));
    }
    QCOMPARE(outcomes.value(QStringLiteral("show")).toStringList().value(1),
             QStringLiteral("Trying to call 'show' of a TestDialog object from a thread that is "
                            "not the GUI thread: Qt objects may only be used from the GUI thread"));
    // Nothing reached Qt.
    QCOMPARE(
        python.value(QStringLiteral("(d.visible, d.windowTitle, d.property('other'))")).toList(),
        QVariantList({false, QString(), QVariant()}));
    QCOMPARE(TestDialog::liveCount, 1);
    // The GUI thread goes on as before.
    QVERIFY(python.run(QStringLiteral("d.show()\nd.close()")));
}

void tst_Bridge::lastReferenceDroppedInAnotherThread()
{
    QVERIFY(python.run(QStringLiteral(R"(
import threading
holder = [TestDialog()]
dialog = holder[0]
)")));
    QPointer<QObject> dialog = python.value(QStringLiteral("dialog")).value<QObject *>();
    QVERIFY(dialog);
    QVERIFY(python.run(QStringLiteral(R"(
del dialog
worker = threading.Thread(target=holder.clear)
worker.start()
worker.join()
)")));
    // The GUI thread deletes it, from its event loop.
    QVERIFY(dialog);
    QTRY_VERIFY(!dialog);
    QCOMPARE(TestDialog::liveCount, 0);
}

void tst_Bridge::signalIntoItsOwnSenderEndsInRecursionError_data()
{
    QTest::addColumn<QString>("code");

    QTest::newRow("signal into its own dialog's slot")
        << "d.rejected.connect(d.reject)\nd.reject()";
    QTest::newRow("signal into itself") << "d.finished.connect(d.finished)\nd.done(2)";
    QTest::newRow("by signature into a lambda calling the slot")
        << "d.connect('rejected()', lambda: TestDialog.reject(d))\nd.reject()";
}

void tst_Bridge::signalIntoItsOwnSenderEndsInRecursionError()
{
    QFETCH(QString, code);
    QVERIFY(python.run(QStringLiteral("d = TestDialog()")));
    python.addVariable(QStringLiteral("code"), code);
    // The error goes where every callback's error goes: printed, not raised.
    QVERIFY(!python.run(QStringLiteral("exec(code)\nafter = 'went on'")));
    QCOMPARE(python.value(QStringLiteral("after")), QVariant("went on"));
    const QString printed = python.errors.join(QString());
    QVERIFY2(printed.contains(QStringLiteral("RecursionError: maximum recursion depth exceeded")),
             qPrintable(printed.left(2000)));
    // Printing it needs Python code too, which must not hit the limit again.
    QVERIFY2(!printed.contains(QStringLiteral("sys.excepthook")), qPrintable(printed.left(2000)));
    QVERIFY2(!printed.contains(QStringLiteral("lost sys.stderr")), qPrintable(printed.left(2000)));
    PythonQt::self()->clearError();
    python.errors.clear();
    // Once unwound, the script and the dialog go on.
    QVERIFY(python.run(QStringLiteral("d.disconnect('rejected()')\nd.finished.disconnect()\n"
                                      "d.setWindowTitle('after')")));
    QCOMPARE(python.value(QStringLiteral("d.windowTitle")), QVariant("after"));
}

void tst_Bridge::selfReferringCallbacksAreCollected()
{
    QVERIFY(python.run(QStringLiteral(R"(
import weakref
references = []
gone = []
def make():
    d = TestDialog()
    d.destroyed.connect(lambda: gone.append(bool(d)))
    d.rejected.connect(lambda: d.setNote('rejected'))
    d.connect('finished(int)', lambda result: d.setNote(str(result)))
    # A callback on the dialog's child that refers to the dialog.
    child = ConversionTarget(d)
    child.countChanged.connect(lambda value: d.setNote('count'))
    references.append(weakref.ref(d))
for i in range(20):
    make()
)")));
    QCOMPARE(TestDialog::liveCount, 20);
    QVERIFY(python.run(QStringLiteral("gc.collect()")));
    QCOMPARE(TestDialog::liveCount, 0);
    QCOMPARE(ConversionTarget::liveCount, 1);
    QCOMPARE(python.value(QStringLiteral("[r() for r in references if r() is not None]")),
             QVariant(QVariantList()));
    // Freed as any dropped dialog is: its destroyed() callbacks ran, and saw it gone.
    QCOMPARE(python.value(QStringLiteral("gone")).toList(), QVector<QVariant>(20, false).toList());
}

void tst_Bridge::callbacksOfObjectsQtOwnsSurviveCollection()
{
    // A parented dialog, or one C++ holds, is not the wrapper's to free:
    // its callbacks keep working however Python collects.
    auto held = new TestDialog;
    python.addObject(QStringLiteral("held"), held);
    QVERIFY(python.run(QStringLiteral(R"(
owner = TestDialog()
got = []
def make(parent):
    c = TestDialog(parent)
    c.finished.connect(lambda result: got.append((result, bool(c))))
def watch(dialog):
    dialog.finished.connect(lambda result: got.append((result, bool(dialog))))
make(owner)
watch(held)
del held
gc.collect()
)")));
    QCOMPARE(TestDialog::liveCount, 3);
    const auto children =
        python.value(QStringLiteral("owner")).value<QObject *>()->findChildren<TestDialog *>();
    QCOMPARE(children.size(), 1);
    children.first()->done(3);
    held->done(4);
    QCOMPARE(python.value(QStringLiteral("got")).toList(),
             QVariantList({QVariantList({3, true}), QVariantList({4, true})}));
    delete held;
}

void tst_Bridge::collectionWhileChildrenAreDeleted()
{
    // The collector walks the owned dialog's children while one of them is
    // deleting its own.
    QVERIFY(python.run(QStringLiteral(R"(
d = TestDialog()
d.finished.connect(lambda result: d.setNote('finished'))
child = TestDialog(d)
grandchild = ConversionTarget(child)
collected = []
grandchild.destroyed.connect(lambda: collected.append(gc.collect() >= 0))
child.delete()
)")));
    QCOMPARE(python.value(QStringLiteral("(collected, bool(child), bool(d))")).toList(),
             QVariantList({QVariantList({true}), false, true}));
    QCOMPARE(TestDialog::liveCount, 1);
}

void tst_Bridge::destroyedEmittedByScriptLeaksNothing()
{
    QVERIFY(python.run(QStringLiteral(R"(
seen = []
owner = TestDialog()
alone = TestDialog()
child = TestDialog(owner)
named = TestDialog()
silent = TestDialog()
bystander = TestDialog()
alone.destroyed.connect(lambda *args: seen.append(('alone',) + args))
alone.finished.connect(lambda *args: seen.append(('alone finished',) + args))
child.destroyed.connect(lambda *args: seen.append(('child',) + args))
named.destroyed.connect(lambda *args: seen.append(('named',) + args))
alone.destroyed.emit()
child.destroyed.emit()
# Passing itself, as Qt does when it really goes, still comes from the script.
named.destroyed.emit(named)
# No callback of its own; the object it names is none of its business.
silent.destroyed.emit(bystander)
facts = (bool(alone), bool(child), bool(named), bool(silent), bool(bystander),
         child.parent() is owner)
# What each callback got: None, or a wrapper that still works.
heard = [(tag, None if arg is None else arg.className()) for tag, arg in seen]
# Those were their last signals: the connections are gone, as in PythonQt.
alone.destroyed.emit()
alone.done(1)
heard_again = len(seen)
)")));
    // The dialogs live on, whole and usable.
    QCOMPARE(python.value(QStringLiteral("facts")).toList(),
             QVariantList({true, true, true, true, true, true}));
    QCOMPARE(TestDialog::liveCount, 6);
    QCOMPARE(python.value(QStringLiteral("heard")).toList(),
             QVariantList({QVariantList({"alone", QVariant()}), QVariantList({"child", QVariant()}),
                           QVariantList({"named", "TestDialog"})}));
    QCOMPARE(python.value(QStringLiteral("heard_again")).toInt(), 3);
    QVERIFY(python.run(QStringLiteral("owner.delete()")));
    QCOMPARE(TestDialog::liveCount, 4);
    // Their callbacks heard nothing more, and letting go deletes the rest.
    QCOMPARE(python.value(QStringLiteral("len(seen)")).toInt(), 3);
    QVERIFY(python.run(QStringLiteral("del alone, child, named, silent, bystander, seen, heard")));
    QCOMPARE(TestDialog::liveCount, 0);
}

void tst_Bridge::valueErrorsQuoteShortly_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("message");

    QTest::newRow("property write, long value")
        << "t.count = 'x' * 10_000_000"
        << "AttributeError"
        << "Property 'count' of type 'int' does not accept an object of type str ('"
            + QString(299, 'x') + "...";
    QTest::newRow("property write, value nested too deeply to show")
        << "t.count = deep"
        << "AttributeError"
        << "Property 'count' of type 'int' does not accept an object of type list (<list object>)";
    QTest::newRow("setProperty(), long value")
        << "t.setProperty('note', {'x' * 10_000_000: 10**100})"
        << "ValueError"
        << "{'" + QString(298, 'x') + "...";
    QTest::newRow("setProperty(), value nested too deeply to show")
        << "t.setProperty('note', deep)"
        << "ValueError"
        << "<list object> can not be stored in property 'note'";
    QTest::newRow("dynamic attribute, long value")
        << "t.setProperty('note', 1)\nt.note = {'x' * 10_000_000: 10**100}"
        << "ValueError"
        << "{'" + QString(298, 'x') + "...";
    QTest::newRow("slot, value nested too deeply to show")
        << "t.echoList(deep)"
        << "ValueError"
        << "Called echoList(QVariantList value) -> QVariantList with wrong arguments: <tuple "
           "object>";
}

void tst_Bridge::valueErrorsQuoteShortly()
{
    QFETCH(QString, code);
    QFETCH(QString, type);
    QFETCH(QString, message);
    QVERIFY(python.run(QStringLiteral("deep = []\nfor _ in range(100_000):\n    deep = [deep]")));
    const QStringList error = raised(code);
    QCOMPARE(error.value(0), type);
    QVERIFY2(error.value(1).startsWith(message), qPrintable(error.value(1).left(1000)));
    QVERIFY2(error.value(1).size() < 1000, qPrintable(error.value(1).left(1000)));
}

// The host may clean the bridge up and start it again: what a script kept
// from before is still a QByteArray, a QSize, a slot of the new bridge's.
void tst_Bridge::bridgeStartedAgainKnowsWhatAScriptKept()
{
    QVERIFY(python.run(QStringLiteral(R"(
from PythonQt.QtCore import QByteArray, QSize
kept_bytes = QByteArray(b'ab')
kept_size = QSize(3, 4)
kept_types = (type(t.echoList), type(t.countChanged), type(type(t)), type(t).__base__)
t.delete()
)")));
    python.stop();
    python.startBridge();
    prepareBridge();
    QVERIFY2(python.run(QStringLiteral(R"(
from PythonQt.QtCore import QByteArray, QSize
from PythonQt.Tests import ConversionTarget
t = ConversionTarget()
facts = (isinstance(kept_bytes, QByteArray), (kept_bytes + b'c').data(),
         t.echoByteArray(kept_bytes).data(), isinstance(kept_size, QSize), t.sizeArea(kept_size),
         (type(t.echoList), type(t.countChanged), type(type(t)), type(t).__base__) == kept_types)
)")),
             qPrintable(python.errors.join(QString())));
    QCOMPARE(python.value(QStringLiteral("facts")).toList(),
             QVariantList({true, QByteArray("abc"), QByteArray("ab"), true, 12, true}));
}

void tst_Bridge::metaObjectOutlivesItsObjectAndIsHeldOnce()
{
    QVERIFY2(python.run(QStringLiteral(R"(
import sys, weakref
d = TestDialog()
meta = d.metaObject()
references = sys.getrefcount(meta)
for _ in range(100):
    d.metaObject().superClass().methodCount()
    d.metaObject().normalizedSignature('finished( int )')
    ConversionTarget().metaObject().indexOfSlot('x()')
held = sys.getrefcount(meta) == references
names = []
step = meta
while step is not None:
    names.append(step.getClassName())
    step = step.superClass()
d.delete()
afterDelete = (meta.getClassName(), meta.indexOfSignal('finished(int)') >= 0)
gone = weakref.ref(meta)
meta.delete()
fresh = TestDialog().metaObject()
renewed = (fresh is not gone(), fresh == gone(), fresh is TestDialog().metaObject())
del meta
released = gone() is None
)")),
             qPrintable(python.errors.join(QString())));
    // A call handed out must not keep a reference of its own behind.
    QCOMPARE(python.value(QStringLiteral("held")), QVariant(true));
    QCOMPARE(python.value(QStringLiteral("names")),
             QVariant(QStringList({"TestDialog", "QDialog", "QWidget", "QObject"})));
    QCOMPARE(python.value(QStringLiteral("afterDelete")),
             QVariant(QVariantList({"TestDialog", true})));
    QCOMPARE(python.value(QStringLiteral("renewed")), QVariant(QVariantList({true, true, true})));
    // After delete() the bridge holds it no more: the script's was the last reference.
    QCOMPARE(python.value(QStringLiteral("released")), QVariant(true));
    QVERIFY(python.run(QStringLiteral("del d, fresh")));
}

QTEST_MAIN(tst_Bridge)
#include "tst_bridge.moc"
