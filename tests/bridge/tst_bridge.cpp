#include "PythonQt.h"
#include "pythonqtregistry.h"
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

private:
    bool run(const QString &code);
    QVariant value(const QString &expression);
    // (exception type, message) raised by the code, or an empty list.
    QStringList raised(const QString &code);

    PythonQtObjectPtr main;
    QStringList out;
    QStringList err;
};

bool tst_Bridge::run(const QString &code)
{
    PythonQt::self()->clearError();
    main.evalScript(code);
    return !PythonQt::self()->hadError();
}

QVariant tst_Bridge::value(const QString &expression)
{
    return main.evalScript(expression, Py_eval_input);
}

QStringList tst_Bridge::raised(const QString &code)
{
    main.addVariable(QStringLiteral("code"), code);
    return value(QStringLiteral("raised(code)")).toStringList();
}

void tst_Bridge::initTestCase()
{
    PythonQt::init();
    PythonQt *python = PythonQt::self();
    QVERIFY(python);
    connect(python, &PythonQt::pythonStdOut, this, [this](const QString &text) { out << text; });
    connect(python, &PythonQt::pythonStdErr, this, [this](const QString &text) { err << text; });
    python->registerClass(&ConversionTarget::staticMetaObject, "Tests");
    python->registerClass(&TestDialog::staticMetaObject, "Tests");
    python->addDecorators(new TestDecorators);
    main = python->getMainModule();
}

void tst_Bridge::cleanupTestCase()
{
    main = PythonQtObjectPtr();
    PythonQt::cleanup();
    QVERIFY(!PythonQt::self());
    QCOMPARE(TestDialog::liveCount, 0);
    QCOMPARE(ConversionTarget::liveCount, 0);
}

void tst_Bridge::init()
{
    out.clear();
    err.clear();
    QVERIFY(run(QStringLiteral(R"(
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
    QVERIFY(run(QStringLiteral(R"(
for name in [n for n in globals() if not n.startswith('__')]:
    del globals()[name]
import gc
gc.collect()
)")));
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
    QCOMPARE(ConversionTarget::liveCount, 0);
    QVERIFY2(err.isEmpty(), qPrintable(err.join(QString())));
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
    // Bases come along, in the same package.
    QCOMPARE(PythonQtRegistry::packageOf("QDialog"), QByteArray("Tests"));
    QCOMPARE(PythonQtRegistry::packageOf("QObject"), QByteArray("Tests"));

    QVERIFY(run(QStringLiteral(R"(
import sys
import PythonQt
from PythonQt.Tests import QDialog, QWidget
registered = (sys.modules['PythonQt.Tests'] is PythonQt.Tests,
              issubclass(TestDialog, QDialog), issubclass(QDialog, QWidget),
              TestDialog.__module__, TestDialog.__name__)
)")));
    QCOMPARE(value(QStringLiteral("registered")).toList(),
             QVariantList({true, true, true, QStringLiteral("PythonQt.Tests"),
                           QStringLiteral("TestDialog")}));
    QCOMPARE(value(QStringLiteral("TestDialog is PythonQt.Tests.TestDialog")), QVariant(true));
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

    QTest::newRow("str") << "t.echoString('h\u00e9llo \U0001F600')" << "'h\u00e9llo \U0001F600'" << "str";
    QTest::newRow("null QString is empty str") << "t.nullString()" << "''" << "str";
    QTest::newRow("QString from int, leniently") << "t.echoString(12)" << "'12'" << "str";
    QTest::newRow("QStringList from list") << "t.echoStringList(['a', 'b'])" << "('a', 'b')" << "tuple";
    QTest::newRow("QStringList from tuple") << "t.echoStringList(('x',))" << "('x',)" << "tuple";
    QTest::newRow("QStringList empty") << "t.echoStringList([])" << "()" << "tuple";
    QTest::newRow("QByteArray from bytes") << "t.echoByteArray(b'\\x00ab').data()" << "b'\\x00ab'" << "bytes";
    QTest::newRow("QByteArray from str as UTF-8") << "t.echoByteArray('\u00e9').data()" << "'\u00e9'.encode()" << "bytes";
    QTest::newRow("QByteArray result is an object") << "t.echoByteArray(b'x')" << "b'x'" << "QByteArray";
    QTest::newRow("QByteArray bytes()") << "bytes(t.echoByteArray(b'xy'))" << "b'xy'" << "bytes";
    QTest::newRow("QByteArray str()") << "str(t.echoByteArray('\u00e9'))" << "'\u00e9'" << "str";
    QTest::newRow("QByteArray len()") << "len(t.echoByteArray(b'abc'))" << "3" << "int";
    QTest::newRow("QByteArray not equal") << "t.echoByteArray(b'a') == b'b'" << "False" << "bool";
    QTest::newRow("QVariantMap keys through str()")
        << "t.echoMap({'a': 1, 2: 'b', 'n': None, 'l': [1, 2]})"
        << "{'a': 1, '2': 'b', 'n': None, 'l': (1, 2)}" << "dict";
    QTest::newRow("QVariantList") << "t.echoList([1, 'a', 2.5, True, None])"
                                  << "(1, 'a', 2.5, True, None)" << "tuple";
    QTest::newRow("QVariant nested") << "t.echoVariant({'k': [1, {'x': ['y']}]})"
                                     << "{'k': (1, {'x': ('y',)})}" << "dict";
    QTest::newRow("QVariant None") << "t.echoVariant(None)" << "None" << "NoneType";
    QTest::newRow("QVariant large int") << "t.echoVariant(2**40)" << "2**40" << "int";
    QTest::newRow("QVariant float") << "t.echoVariant(0.5)" << "0.5" << "float";
    QTest::newRow("QVariant bytes") << "t.echoVariant(b'z').data()" << "b'z'" << "bytes";
    QTest::newRow("QVariant wrapper") << "t.echoVariant(t) is t" << "True" << "bool";
    QTest::newRow("bool") << "t.echoBool(False)" << "False" << "bool";
    QTest::newRow("bool from int, leniently") << "t.echoBool(3)" << "True" << "bool";
    QTest::newRow("int") << "t.echoInt(-7)" << "-7" << "int";
    QTest::newRow("int from float floors") << "t.echoInt(2.7)" << "2" << "int";
    QTest::newRow("int from bool") << "t.echoInt(True)" << "1" << "int";
    QTest::newRow("double") << "t.echoDouble(2.5)" << "2.5" << "float";
    QTest::newRow("double from int") << "t.echoDouble(3)" << "3.0" << "float";
    QTest::newRow("QObject* same wrapper") << "t.echoObject(t) is t" << "True" << "bool";
    QTest::newRow("QObject* None") << "t.echoObject(None)" << "None" << "NoneType";
    QTest::newRow("QWidget* most derived class")
        << "type(t.echoWidget(TestDialog())).__name__" << "'TestDialog'" << "str";
    QTest::newRow("enumeration parameter") << "t.modeValue(t.Fancy)" << "101" << "int";
    QTest::newRow("enumeration property") << "(setattr(t, 'mode', t.Fancy), t.mode)[1]" << "1" << "int";
    QTest::newRow("Q_INVOKABLE") << "t.invokable()" << "42" << "int";
    QTest::newRow("decorator instance slot") << "(setattr(t, 'count', 4), t.doubledCount())[1]"
                                             << "8" << "int";
}

void tst_Bridge::conversions()
{
    QFETCH(QString, call);
    QFETCH(QString, expected);
    QFETCH(QString, type);
    QVERIFY2(run(QStringLiteral("result = ") + call), qPrintable(err.join(QString())));
    QCOMPARE(value(QStringLiteral("type(result).__name__")).toString(), type);
    QVERIFY2(value(QStringLiteral("result == (%1)").arg(expected)).toBool(),
             qPrintable(value(QStringLiteral("repr(result)")).toString()));
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
    QCOMPARE(value(call), expected);
}

void tst_Bridge::errors_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("message");

    QTest::newRow("wrong argument type")
        << "t.echoInt('x')" << "ValueError"
        << "Called ConversionTarget.echoInt(int value) -> int with wrong arguments: ('x',)";
    QTest::newRow("wrong argument count")
        << "t.echoInt()" << "ValueError"
        << "Called ConversionTarget.echoInt(int value) -> int with wrong number of arguments: ()";
    QTest::newRow("int out of range") << "t.echoInt(2**40)" << "ValueError"
                                      << "Called ConversionTarget.echoInt(int value) -> int "
                                         "with wrong arguments: (1099511627776,)";
    QTest::newRow("no overload matches")
        << "t.overloaded(1, 'x')" << "ValueError"
        << "Could not find matching overload for given arguments:\n(1, 'x')\n"
           " The following slots are available:\n"
           "ConversionTarget.overloaded(int value) -> QString\n"
           "ConversionTarget.overloaded(double value) -> QString\n"
           "ConversionTarget.overloaded(QString value) -> QString\n"
           "ConversionTarget.overloaded(int first, int second) -> QString\n";
    QTest::newRow("keyword arguments") << "t.echoInt(value=1)" << "ValueError"
                                       << "ConversionTarget.echoInt(): keyword arguments are not supported";
    QTest::newRow("wrong object class") << "t.echoWidget(t)" << "ValueError"
                                        << "Called ConversionTarget.echoWidget(QWidget* value) -> QWidget* "
                                           "with wrong arguments: (<ConversionTarget object at ";
    QTest::newRow("unknown attribute") << "t.nothing" << "AttributeError"
                                       << "ConversionTarget has no attribute named 'nothing'";
    QTest::newRow("protected slot is hidden") << "t.protectedSlot()" << "AttributeError"
                                              << "ConversionTarget has no attribute named 'protectedSlot'";
    QTest::newRow("new attribute") << "t.extra = 1" << "AttributeError"
                                   << "ConversionTarget has no attribute named 'extra'; new attributes can not be added";
    QTest::newRow("read-only property") << "t.label = 'x'" << "AttributeError"
                                        << "Property 'label' of ConversionTarget is read-only";
    QTest::newRow("property of wrong type") << "t.count = 'many'" << "ValueError"
                                            << "Property 'count' of ConversionTarget (int) can not be set to 'many'";
    QTest::newRow("constructor arguments")
        << "ConversionTarget(1, 2)" << "ValueError"
        << "Could not find matching overload for given arguments:\n(1, 2)\n"
           " The following slots are available:\n"
           "ConversionTarget(QObject* parent) -> ConversionTarget*\n"
           "ConversionTarget() -> ConversionTarget*\n";
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
    QVERIFY(run(QStringLiteral(R"(
plain = TestDialog()
none = TestDialog(None)
child = TestDialog(plain)
)")));
    QCOMPARE(value(QStringLiteral("plain.parent() is None and none.parent() is None")), QVariant(true));
    QCOMPARE(value(QStringLiteral("child.parent() is plain")), QVariant(true));
    QCOMPARE(value(QStringLiteral("plain is not none")), QVariant(true));
    QCOMPARE(TestDialog::liveCount, 3);
    auto child = qobject_cast<TestDialog *>(value(QStringLiteral("child")).value<QObject *>());
    QVERIFY(child);
    QVERIFY(child->parentWidget());
    QCOMPARE(child->parentWidget(), value(QStringLiteral("plain")).value<QObject *>());
}

void tst_Bridge::propertiesSlotsAndBuiltins()
{
    QVERIFY(run(QStringLiteral(R"(
d = TestDialog()
d.setWindowTitle('Query')
d.objectName = 'queryDialog'
d.show()
shown = d.isVisible()
d.close()
facts = (d.windowTitle, d.objectName, shown, d.isVisible(), d.className(),
         d.inherits('QDialog'), t.count, t.label, t.Fancy, ConversionTarget.Plain)
)")));
    QCOMPARE(value(QStringLiteral("facts")).toList(),
             QVariantList({QStringLiteral("Query"), QStringLiteral("queryDialog"), true, false,
                           QStringLiteral("TestDialog"), true, 0, QStringLiteral("target"), 1, 0}));
    QVERIFY(run(QStringLiteral("t.count = 7")));
    QCOMPARE(value(QStringLiteral("t.count")), QVariant(7));
    // exec_ is the old spelling of exec.
    QCOMPARE(value(QStringLiteral("repr(d.exec_)")), QVariant("<method TestDialog.exec>"));
}

void tst_Bridge::destroyedObjectRaises()
{
    QVERIFY(run(QStringLiteral(R"(
parent = TestDialog()
child = TestDialog(parent)
parent.delete()
)")));
    QCOMPARE(TestDialog::liveCount, 0);
    QCOMPARE(value(QStringLiteral("bool(child)")), QVariant(false));
    QCOMPARE(raised(QStringLiteral("child.show()")),
             QStringList({"ValueError", "Trying to call 'show' on a destroyed TestDialog object"}));
    QCOMPARE(raised(QStringLiteral("child.className()")),
             QStringList({"ValueError", "Trying to call 'className' on a destroyed TestDialog object"}));
    QCOMPARE(raised(QStringLiteral("child.windowTitle")).value(0), QStringLiteral("ValueError"));
    QCOMPARE(raised(QStringLiteral("child.windowTitle = 'x'")).value(0), QStringLiteral("AttributeError"));
    QCOMPARE(raised(QStringLiteral("child.finished.connect(print)")).value(0), QStringLiteral("ValueError"));
    QCOMPARE(raised(QStringLiteral("t.echoObject(child)")).value(0), QStringLiteral("ValueError"));
}

void tst_Bridge::objectDeletedByCppRaises()
{
    auto target = new ConversionTarget;
    main.addObject(QStringLiteral("fromCpp"), target);
    QVERIFY(run(QStringLiteral("echo = fromCpp.echoInt")));
    delete target;
    QCOMPARE(raised(QStringLiteral("echo(1)")),
             QStringList({"ValueError", "Trying to call 'echoInt' on a destroyed ConversionTarget object"}));
    QCOMPARE(value(QStringLiteral("bool(fromCpp)")), QVariant(false));
}

void tst_Bridge::pythonOwnedObjectDiesWithLastReference()
{
    QCOMPARE(ConversionTarget::liveCount, 1);
    QVERIFY(run(QStringLiteral("other = t.echoObject(t)\ndel t")));
    QCOMPARE(ConversionTarget::liveCount, 1);
    QVERIFY(run(QStringLiteral("del other")));
    QCOMPARE(ConversionTarget::liveCount, 0);

    // An object that C++ handed over stays with C++.
    QPointer<ConversionTarget> kept = new ConversionTarget;
    main.addObject(QStringLiteral("kept"), kept);
    QVERIFY(run(QStringLiteral("del kept\ngc.collect()")));
    QVERIFY(kept);
    delete kept;
}

void tst_Bridge::parentedObjectFollowsQt()
{
    QVERIFY(run(QStringLiteral(R"(
child = ConversionTarget(t)
later = ConversionTarget()
later.setParent(t)
del child, later
)")));
    QCOMPARE(ConversionTarget::liveCount, 3);
    QVERIFY(run(QStringLiteral("children = t.children()")));
    QCOMPARE(value(QStringLiteral("[c.className() for c in children]")).toStringList(),
             QStringList({"ConversionTarget", "ConversionTarget"}));
    QVERIFY(run(QStringLiteral("del t, children")));
    QCOMPARE(ConversionTarget::liveCount, 0);
}

void tst_Bridge::sameObjectSameWrapper()
{
    QVERIFY(run(QStringLiteral("d = TestDialog()\nc = TestDialog(d)")));
    QCOMPARE(value(QStringLiteral("t.echoWidget(d) is d and c.parent() is d")), QVariant(true));
    QCOMPARE(value(QStringLiteral("[x for x in d.children() if x is c] == [c]")), QVariant(true));
}

void tst_Bridge::staleWrapperNotReusedForNewObject()
{
    // Whatever address the next object gets, it must get a wrapper of its own.
    for (int round = 0; round < 20; ++round) {
        auto first = new ConversionTarget;
        main.addObject(QStringLiteral("first"), first);
        delete first;
        auto second = new ConversionTarget;
        main.addObject(QStringLiteral("second"), second);
        QCOMPARE(value(QStringLiteral("first is not second and bool(second) and not first")),
                 QVariant(true));
        delete second;
    }
}

void tst_Bridge::signalConnections()
{
    QVERIFY(run(QStringLiteral(R"(
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
)")));
    QCOMPARE(value(QStringLiteral("got")).toList(),
             QVariantList({QVariantList({"by name", 5}), QVariantList({"attribute", 5}),
                           QVariantList({"first only", 3}), QVariantList({"all", 3, "x"}),
                           QVariantList({"attribute", 6})}));
    QCOMPARE(value(QStringLiteral("unknown")), QVariant(false));
    QVERIFY(err.join(QString()).contains(QStringLiteral("ConversionTarget has no signal 'nothing()'")));
    err.clear();
}

void tst_Bridge::callbackExceptionIsPrintedNotPropagated()
{
    QVERIFY(run(QStringLiteral(R"(
after = []
def failing(value):
    raise KeyError('from callback')
t.countChanged.connect(failing)
t.countChanged.connect(after.append)
target = t
)")));
    auto target = qobject_cast<ConversionTarget *>(
        value(QStringLiteral("target")).value<QObject *>());
    QVERIFY(target);
    target->setCount(9);
    QCOMPARE(target->count(), 9);
    QCOMPARE(value(QStringLiteral("after")).toList(), QVariantList({9}));
    const QString printed = err.join(QString());
    QVERIFY2(printed.contains(QStringLiteral("Traceback")), qPrintable(printed));
    QVERIFY(printed.contains(QStringLiteral("KeyError: 'from callback'")));
    QVERIFY(!PythonQt::self()->hadError());
    err.clear();
}

void tst_Bridge::destroyedSignalReachesPython()
{
    QVERIFY(run(QStringLiteral(R"(
seen = []
t.destroyed.connect(lambda gone: seen.append(gone))
d = TestDialog()
d.connect('destroyed()', lambda: seen.append('dialog'))
t.delete()
del d
)")));
    QCOMPARE(value(QStringLiteral("seen")).toList(), QVariantList({QVariant(), "dialog"}));
}

void tst_Bridge::outputIsRedirected()
{
    QSignalSpy stdOut(PythonQt::self(), &PythonQt::pythonStdOut);
    QVERIFY(run(QStringLiteral("print('out', 1)\nimport sys\nsys.stderr.write('problem')")));
    QCOMPARE(out.join(QString()), QStringLiteral("out 1\n"));
    QCOMPARE(stdOut.size(), out.size());
    QCOMPARE(err, QStringList({"problem"}));
    err.clear();
}

void tst_Bridge::modalExecEndedByTimer()
{
    QVERIFY(run(QStringLiteral(R"(
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
    QVERIFY(run(QStringLiteral("accepted = d.run()\ncode = d.exec_()")));
    QVERIFY(safetyNet.isActive());
    QCOMPARE(value(QStringLiteral("(accepted, code, results, d.windowTitle)")).toList(),
             QVariantList({true, 1, QVariantList({1, 1}), QStringLiteral("finished 1")}));
}

void tst_Bridge::evalReportsErrors()
{
    QCOMPARE(value(QStringLiteral("6 * 7")), QVariant(42));
    QVERIFY(!PythonQt::self()->hadError());
    QVERIFY(!run(QStringLiteral("1 / 0")));
    QVERIFY(err.join(QString()).contains(QStringLiteral("ZeroDivisionError")));
    PythonQt::self()->clearError();
    QVERIFY(!PythonQt::self()->hadError());
    err.clear();

    QSignalSpy exits(PythonQt::self(), &PythonQt::systemExitExceptionRaised);
    QVERIFY(run(QStringLiteral("import sys\nsys.exit(3)")));
    QCOMPARE(exits.size(), 1);
    QCOMPARE(exits.first().first(), QVariant(3));
}

QTEST_MAIN(tst_Bridge)
#include "tst_bridge.moc"
