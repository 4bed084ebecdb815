// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

// Times the dialogs' hot paths against the cheapest code doing the same
// underlying work, in the same run on the same data, and prints one table
// row per path: measured, floor, ratio and goal.
//
// Every benchmark runs in several repetitions, interleaved in random order
// with the others, and each keeps its best repetition: on a shared machine
// the best time is the one least disturbed by other processes.

#include "PythonQt.h"

#include "platformnoisefilter.h"
#include "pluginwidgets.h"
#include "progressdialog.h"
#include "veldmarkdisplay.h"
#include "veldmarkselection.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLoggingCategory>
#include <QPluginLoader>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <malloc.h>
#include <memory>
#include <vector>

namespace {

// ---------------------------------------------------------------- test data

const char *const targets[] = {"hERG",  "CYP3A4", "CYP2D6",        "EGFR",   "BRAF V600E",
                               "PDE4B", "Nav1.5", "GABA-A alpha1", "5-HT2B", "muscarinic M1"};
const char *const methods[] = {"IC50", "Ki", "EC50", "% inhibition at 10 uM", "Kd"};
const char *const systems[] = {"patch clamp, CHO cells", "fluorescence polarisation",
                               "radioligand binding, rat cortex membranes",
                               "TR-FRET, recombinant human enzyme", "cell viability, HepG2, 72 h"};

// Names as a query returns them: an identifier, a target, a read-out and the
// assay system; every 97th one is far wider than the list.
QString assayName(int i)
{
    QString name = QStringLiteral("VM-%1 %2 %3 (%4)")
                       .arg(i, 6, 10, QLatin1Char('0'))
                       .arg(QLatin1String(targets[i % 10]), QLatin1String(methods[i % 5]),
                            QLatin1String(systems[(i / 5) % 5]));
    if (i % 97 == 0)
        name += QStringLiteral(", replicate series with extended protocol notes and a very long"
                               " description that no list is wide enough to show");
    return name;
}

// Names as a person might key them in: a number, a read-out and a unit.
// A digit typed into the search splits these into thousands of runs.
QString numberedAssayName(int i)
{
    return QStringLiteral("Assay %1 %2 (%3)")
        .arg(i)
        .arg(QLatin1String(methods[i % 3 == 0 ? 0 : i % 5]),
             QLatin1String(i % 4 == 0 ? "nM" : "uM"));
}

QByteArray assayDocument(int count, bool selected, QString (*name)(int) = assayName)
{
    QJsonObject document;
    for (int i = 0; i < count; ++i) {
        QJsonObject entry{
            {QStringLiteral("selected"), selected},
            {QStringLiteral("alias"),
             QStringLiteral("%1 %2").arg(QLatin1String(targets[i % 10]),
                                         QLatin1String(methods[i % 5]))},
            {QStringLiteral("default_uncertainty"), 0.05 * (i % 7)},
            {QStringLiteral("include_count"), i % 2 == 0},
            {QStringLiteral("include_values"), i % 3 == 0},
            {QStringLiteral("factor"), i % 5 != 2},
            {QStringLiteral("units"), QStringLiteral("uM")},
            {QStringLiteral("n_results"), 1 + i % 40},
        };
        document.insert(name(i), entry);
    }
    return QJsonDocument(document).toJson(QJsonDocument::Compact);
}

const QByteArray &document10k()
{
    static const QByteArray document = assayDocument(10000, true);
    return document;
}

const QByteArray &document100k()
{
    static const QByteArray document = assayDocument(100000, true);
    return document;
}

const QByteArray &numberedDocument(int count)
{
    static QHash<int, QByteArray> documents;
    if (!documents.contains(count))
        documents.insert(count, assayDocument(count, true, numberedAssayName));
    return documents[count];
}

const QByteArray &uncheckedNumberedDocument100k()
{
    static const QByteArray document = assayDocument(100000, false, numberedAssayName);
    return document;
}

const QByteArray &uncheckedDocument10k()
{
    static const QByteArray document = assayDocument(10000, false);
    return document;
}

// 10,000 libraries in 20 groups of 500.
const QVariantMap &libraries()
{
    static const QVariantMap map = [] {
        QVariantMap groups;
        for (int g = 0; g < 20; ++g) {
            QStringList names;
            for (int i = 0; i < 500; ++i)
                names.append(QStringLiteral("Library %1-%2 (%3)")
                                 .arg(g)
                                 .arg(i, 3, 10, QLatin1Char('0'))
                                 .arg(QLatin1String(targets[i % 10])));
            groups.insert(QStringLiteral("Group %1").arg(g, 2, 10, QLatin1Char('0')), names);
        }
        return groups;
    }();
    return map;
}

// Lets the window system, the views' deferred layouts and the repaints run.
void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

template<typename Widget> void showAndWait(Widget &widget)
{
    widget.show();
    if (!QTest::qWaitForWindowExposed(&widget))
        std::fprintf(stderr, "warning: window not exposed\n");
    settle();
}

// ---------------------------------------------------------- display dialog

void readDialog(benchmark::State &state, const QByteArray &document)
{
    // Every timed call replaces a full list, as a second query's would.
    VeldmarkDisplay dialog;
    dialog.setDisplayData(document);
    for (auto _ : state)
        dialog.setDisplayData(document);
}

void BM_Read10k(benchmark::State &state)
{
    readDialog(state, document10k());
}
void BM_Read100k(benchmark::State &state)
{
    readDialog(state, document100k());
}

void readFloor(benchmark::State &state, const QByteArray &document)
{
    for (auto _ : state) {
        QVariantMap map = QJsonDocument::fromJson(document).toVariant().toMap();
        benchmark::DoNotOptimize(map);
    }
}

void BM_ReadFloor10k(benchmark::State &state)
{
    readFloor(state, document10k());
}
// Not a row's floor: shows how far the JSON reading alone stays linear.
void BM_ReadFloor100k(benchmark::State &state)
{
    readFloor(state, document100k());
}

void BM_Write10k(benchmark::State &state)
{
    VeldmarkDisplay dialog;
    dialog.setDisplayData(document10k());
    for (auto _ : state) {
        QByteArray bytes = dialog.displayData();
        benchmark::DoNotOptimize(bytes);
    }
}

void BM_WriteFloor10k(benchmark::State &state)
{
    const QVariantMap map = QJsonDocument::fromJson(document10k()).toVariant().toMap();
    for (auto _ : state) {
        QByteArray bytes = QJsonDocument::fromVariant(map).toJson();
        benchmark::DoNotOptimize(bytes);
    }
}

// "Select all" clicked over 10,000 unchecked assays, until the list is repainted.
void BM_SelectAll(benchmark::State &state)
{
    VeldmarkDisplay dialog;
    dialog.setDisplayData(uncheckedDocument10k());
    showAndWait(dialog);
    auto selectButton = dialog.findChild<QPushButton *>(QStringLiteral("selectButton"));
    auto clearButton = dialog.findChild<QPushButton *>(QStringLiteral("clearButton"));
    for (auto _ : state) {
        state.PauseTiming();
        clearButton->click();
        settle();
        state.ResumeTiming();
        selectButton->click();
        settle();
    }
}

// One key typed into, or erased from, the search field over 10,000 assays,
// until the filtered list is laid out and repainted.
void searchKeystroke(benchmark::State &state, bool type)
{
    VeldmarkDisplay dialog;
    dialog.setDisplayData(document10k());
    showAndWait(dialog);
    auto search = dialog.findChild<QLineEdit *>(QStringLiteral("lineEditSearch"));
    search->setFocus();
    settle();
    for (auto _ : state) {
        if (!type) {
            state.PauseTiming();
            QTest::keyClick(search, '5');
            settle();
            state.ResumeTiming();
            QTest::keyClick(search, Qt::Key_Backspace);
            settle();
        } else {
            QTest::keyClick(search, '5');
            settle();
            state.PauseTiming();
            QTest::keyClick(search, Qt::Key_Backspace);
            settle();
            state.ResumeTiming();
        }
    }
}

void BM_SearchType(benchmark::State &state)
{
    searchKeystroke(state, true);
}
void BM_SearchErase(benchmark::State &state)
{
    searchKeystroke(state, false);
}

const QChar splittingKey = QLatin1Char('7');

// "7" typed into the search field over numbered assays and erased again,
// each until the list is laid out and repainted.
void keystrokePair(benchmark::State &state, int count)
{
    VeldmarkDisplay dialog;
    dialog.setDisplayData(numberedDocument(count));
    showAndWait(dialog);
    auto search = dialog.findChild<QLineEdit *>(QStringLiteral("lineEditSearch"));
    search->setFocus();
    settle();
    for (auto _ : state) {
        QTest::keyClick(search, splittingKey.toLatin1());
        settle();
        QTest::keyClick(search, Qt::Key_Backspace);
        settle();
    }
}

void BM_Keystroke10k(benchmark::State &state)
{
    keystrokePair(state, 10000);
}
void BM_Keystroke100k(benchmark::State &state)
{
    keystrokePair(state, 100000);
}

// The size of the assay list in a dialog as it first opens.
QSize shownListSize()
{
    static const QSize size = [] {
        VeldmarkDisplay dialog;
        showAndWait(dialog);
        return dialog.findChild<QListView *>(QStringLiteral("listView"))->size();
    }();
    return size;
}

QStringList matching(const QStringList &names, const QString &text)
{
    QStringList matches;
    for (const QString &name : names) {
        if (name.contains(text, Qt::CaseInsensitive))
            matches.append(name);
    }
    return matches;
}

// The least a filtered list can do: decide which names match and show them
// in a bare list whose rows all have one size, for the key and for none.
void keystrokeFloor(benchmark::State &state, int count)
{
    const QStringList names = QJsonDocument::fromJson(numberedDocument(count)).object().keys();
    QStringListModel model(names);
    QListView view;
    view.setUniformItemSizes(true);
    view.setModel(&model);
    view.resize(shownListSize());
    showAndWait(view);
    for (auto _ : state) {
        model.setStringList(matching(names, splittingKey));
        settle();
        model.setStringList(matching(names, QString()));
        settle();
    }
}

void BM_KeystrokeFloor10k(benchmark::State &state)
{
    keystrokeFloor(state, 10000);
}
void BM_KeystrokeFloor100k(benchmark::State &state)
{
    keystrokeFloor(state, 100000);
}

// "Select all" or "Clear" clicked over 100,000 assays none or all of which
// are checked, until the list is repainted.
void checkAll100k(benchmark::State &state, bool check)
{
    VeldmarkDisplay dialog;
    dialog.setDisplayData(uncheckedNumberedDocument100k());
    showAndWait(dialog);
    auto selectButton = dialog.findChild<QPushButton *>(QStringLiteral("selectButton"));
    auto clearButton = dialog.findChild<QPushButton *>(QStringLiteral("clearButton"));
    QPushButton *measured = check ? selectButton : clearButton;
    QPushButton *undo = check ? clearButton : selectButton;
    for (auto _ : state) {
        state.PauseTiming();
        undo->click();
        settle();
        state.ResumeTiming();
        measured->click();
        settle();
    }
}

void BM_SelectAll100k(benchmark::State &state)
{
    checkAll100k(state, true);
}
void BM_Clear100k(benchmark::State &state)
{
    checkAll100k(state, false);
}

// The least "Select all" must do: check every item of a bare checkable
// model, nothing connected, and rewrite every entry as the five members a
// saved panel holds, the uncertainty through the field's six-digit text and
// back. The entries are rewritten in place, as the dialog's are once saved.
void selectAllFloor(benchmark::State &state, const QByteArray &document)
{
    QVariantMap entries = QJsonDocument::fromJson(document).toVariant().toMap();
    QStandardItemModel model;
    QList<QStandardItem *> items;
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry) {
        auto item = new QStandardItem(entry.key());
        item->setData(entry.key(), Qt::UserRole);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        items.append(item);
    }
    model.invisibleRootItem()->appendRows(items);
    const QString alias = QStringLiteral("alias");
    const QString uncertainty = QStringLiteral("default_uncertainty");
    const QString includeCount = QStringLiteral("include_count");
    const QString includeValues = QStringLiteral("include_values");
    const QString factor = QStringLiteral("factor");
    for (auto _ : state) {
        state.PauseTiming();
        for (QStandardItem *item : qAsConst(items))
            item->setCheckState(Qt::Unchecked);
        state.ResumeTiming();
        for (QStandardItem *item : qAsConst(items))
            item->setCheckState(Qt::Checked);
        for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
            const QVariantMap members = entry.value().toMap();
            const QString shown =
                QString::number(double(members.value(uncertainty).toFloat()), 'g', 6);
            *entry = QVariantMap{
                {alias, members.value(alias).toString()},
                {includeCount, members.value(includeCount).toBool()},
                {includeValues, members.value(includeValues).toBool()},
                {uncertainty, shown.toFloat()},
                {factor, members.value(factor).toBool()},
            };
        }
    }
}

void BM_SelectAllFloor10k(benchmark::State &state)
{
    selectAllFloor(state, uncheckedDocument10k());
}
void BM_SelectAllFloor100k(benchmark::State &state)
{
    selectAllFloor(state, uncheckedNumberedDocument100k());
}

// -------------------------------------------------------- selection dialog

void BM_Fill(benchmark::State &state)
{
    const QVariantMap &map = libraries();
    for (auto _ : state) {
        state.PauseTiming();
        auto dialog = std::make_unique<VeldmarkSelection>();
        state.ResumeTiming();
        dialog->setAvailableItems(map);
        state.PauseTiming();
        dialog.reset();
        state.ResumeTiming();
    }
}

// The same tree, item for item, with nothing listening to it.
void BM_FillFloor(benchmark::State &state)
{
    const QString marker = QStringLiteral("Library");
    const QVariantMap &map = libraries();
    for (auto _ : state) {
        state.PauseTiming();
        auto tree = std::make_unique<QTreeWidget>();
        tree->setHeaderHidden(true);
        state.ResumeTiming();
        for (auto entry = map.cbegin(); entry != map.cend(); ++entry) {
            auto group = new QTreeWidgetItem(tree.get(), QStringList(entry.key()));
            const QVariantList names = entry.value().toList();
            for (const QVariant &name : names) {
                auto item = new QTreeWidgetItem(group, QStringList(name.toString()));
                item->setCheckState(0, Qt::Unchecked);
                item->setData(0, Qt::UserRole, marker);
            }
            tree->expandItem(group);
            group->setCheckState(0, Qt::Unchecked);
        }
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
}

// Ticking and unticking a group of 500 in turn, as its box's click does,
// until the tree is repainted.
void BM_TickGroup(benchmark::State &state)
{
    VeldmarkSelection dialog;
    dialog.setAvailableItems(libraries());
    showAndWait(dialog);
    QTreeWidgetItem *group =
        dialog.findChild<QTreeWidget *>(QStringLiteral("treeWidget"))->topLevelItem(0);
    bool tick = true;
    for (auto _ : state) {
        group->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
        settle();
        tick = !tick;
    }
    if (dialog.selectedItems().size() > 500)
        state.SkipWithError("group ticks reached other groups");
}

// --------------------------------------------------------- progress dialog

const QString progressMessage = QStringLiteral("Fetching assay results from Veldmark");

void BM_Tick(benchmark::State &state)
{
    ProgressDialog dialog;
    showAndWait(dialog);
    dialog.setMessage(progressMessage);
    for (auto _ : state)
        dialog.tick();
}

// The same window by hand: a label in a box layout above OK and Cancel, its
// text grown by one dot per step, then one pass through the event loop.
void BM_TickFloor(benchmark::State &state)
{
    QDialog dialog;
    auto layout = new QVBoxLayout(&dialog);
    auto label = new QLabel(progressMessage, &dialog);
    layout->addWidget(label);
    auto buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setVisible(false);
    layout->addWidget(buttons);
    dialog.resize(400, 65);
    showAndWait(dialog);
    for (auto _ : state) {
        QString text = label->text() + QLatin1Char('.');
        if (text.size() > 40)
            text = progressMessage;
        label->setText(text);
        QCoreApplication::processEvents();
    }
}

// Qt's own progress dialog; modal, so that setValue() processes events.
void BM_TickPeer(benchmark::State &state)
{
    QProgressDialog dialog(progressMessage, QStringLiteral("Cancel"), 0, 100);
    dialog.setModal(true);
    dialog.setMinimumDuration(0);
    showAndWait(dialog);
    int value = 0;
    for (auto _ : state) {
        value = (value + 1) % 100;
        dialog.setValue(value);
    }
}

// ---------------------------------------------------- child-process rows

// Runs a program and returns the number it prints last on its stdout, or a
// negative number when it fails.
double childReport(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed:\n%s\n", qPrintable(program),
                     process.readAllStandardError().constData());
        return -1;
    }
    const QList<QByteArray> words = process.readAllStandardOutput().simplified().split(' ');
    bool ok = false;
    const double value = words.last().toDouble(&ok);
    return ok ? value : -1;
}

// A child process reports its own timing; that is the iteration's time.
void childTimed(benchmark::State &state, const std::function<double()> &secondsFromChild)
{
    for (auto _ : state) {
        const double seconds = secondsFromChild();
        if (seconds < 0) {
            state.SkipWithError("child process failed");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

// veldmark-script-host embeds CPython and our bridge; python3 runs PyQt5. Both are
// a fresh process running bench/call.py, which times the calls itself.
void BM_CallBridge(benchmark::State &state)
{
    childTimed(state, [] {
        return childReport(QStringLiteral(SCRIPT_HOST),
                           {QStringLiteral("--plugins"), QStringLiteral(VELDMARK_PLUGIN_DIR),
                            QStringLiteral(CALL_SCRIPT)})
            * 1e-9;
    });
}

void BM_CallPyQt5(benchmark::State &state)
{
    childTimed(state, [] {
        return childReport(QStringLiteral(SYSTEM_PYTHON), {QStringLiteral(CALL_SCRIPT)}) * 1e-9;
    });
}

// bench/connect.py: 200,000 connect/disconnect pairs on one signal, ns per pair.
void BM_ConnectBridge(benchmark::State &state)
{
    childTimed(state, [] {
        return childReport(QStringLiteral(SCRIPT_HOST),
                           {QStringLiteral("--plugins"), QStringLiteral(VELDMARK_PLUGIN_DIR),
                            QStringLiteral(CONNECT_SCRIPT)})
            * 1e-9;
    });
}

void BM_ConnectPyQt5(benchmark::State &state)
{
    childTimed(state, [] {
        return childReport(QStringLiteral(SYSTEM_PYTHON), {QStringLiteral(CONNECT_SCRIPT)}) * 1e-9;
    });
}

const char startOption[] = "--start-probe";

void BM_Start(benchmark::State &state)
{
    childTimed(state, [] {
        return childReport(QCoreApplication::applicationFilePath(), {QLatin1String(startOption)})
            * 1e-9;
    });
}

// In a fresh process, as the host starts: load the plug-in, register its
// classes, then construct each dialog once from Python. Prints the ns taken.
int startProbe()
{
    PythonQt::init();
    QElapsedTimer timer;
    timer.start();
    QPluginLoader loader(QStringLiteral(VELDMARK_PLUGIN_FILE));
    auto widgets = qobject_cast<PluginWidgets *>(loader.instance());
    if (!widgets) {
        std::fprintf(stderr, "cannot load %s: %s\n", VELDMARK_PLUGIN_FILE,
                     qPrintable(loader.errorString()));
        return 1;
    }
    widgets->registerClasses();
    PythonQtObjectPtr main = PythonQt::self()->getMainModule();
    main.evalScript(QStringLiteral(
        "from PythonQt.Kestrane import VeldmarkDisplay, VeldmarkSelection, ProgressDialog\n"
        "dialogs = [VeldmarkDisplay(), VeldmarkSelection(), ProgressDialog()]\n"));
    const qint64 elapsed = timer.nsecsElapsed();
    const bool failed = PythonQt::self()->hadError();
    main.evalScript(QStringLiteral("del dialogs\n"));
    main = PythonQtObjectPtr();
    PythonQt::cleanup();
    if (failed)
        return 1;
    std::printf("%lld\n", static_cast<long long>(elapsed));
    return 0;
}

// ------------------------------------------------------------- peak memory

const char memoryOption[] = "--memory-probe=";

// A field of /proc/self/status in KiB, e.g. VmRSS or VmHWM (the peak).
long statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// In a fresh process: how far the resident memory's peak rises above where
// it stood once the document was made, while the dialog reads 100,000
// assays and "7" is typed and erased ("dialog"), or while the same document
// is parsed to a QVariantMap ("floor"). A window is shown and closed first,
// so that fonts and styles are loaded before measuring in both. Prints KiB.
int memoryProbe(const char *what)
{
    const QByteArray document = assayDocument(100000, true, numberedAssayName);
    {
        VeldmarkDisplay warmUp;
        showAndWait(warmUp);
    }
    malloc_trim(0);
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (!clearRefs.open(QIODevice::WriteOnly) || clearRefs.write("5") != 1) {
        std::fprintf(stderr, "cannot reset the peak resident memory\n");
        return 1;
    }
    clearRefs.close();
    const long before = statusKiB("VmRSS");
    if (std::strcmp(what, "dialog") == 0) {
        VeldmarkDisplay dialog;
        dialog.setDisplayData(document);
        showAndWait(dialog);
        auto search = dialog.findChild<QLineEdit *>(QStringLiteral("lineEditSearch"));
        search->setFocus();
        QTest::keyClick(search, splittingKey.toLatin1());
        settle();
        QTest::keyClick(search, Qt::Key_Backspace);
        settle();
    } else {
        QVariantMap map = QJsonDocument::fromJson(document).toVariant().toMap();
        benchmark::DoNotOptimize(map);
    }
    std::printf("%ld\n", statusKiB("VmHWM") - before);
    return 0;
}

// The smallest of three fresh processes' peaks, in KiB.
double peakKiB(const char *what)
{
    double least = -1;
    for (int i = 0; i < 3; ++i) {
        const double peak = childReport(QCoreApplication::applicationFilePath(),
                                        {QLatin1String(memoryOption) + QLatin1String(what)});
        if (peak < 0)
            return -1;
        least = least < 0 ? peak : qMin(least, peak);
    }
    return least;
}

// ------------------------------------------------------------------- table

QString timeText(double seconds)
{
    if (seconds < 0)
        return QStringLiteral("not run");
    if (seconds < 1e-6)
        return QStringLiteral("%1 ns").arg(seconds * 1e9, 0, 'f', 0);
    if (seconds < 1e-3)
        return QStringLiteral("%1 us").arg(seconds * 1e6, 0, 'f', 1);
    return QStringLiteral("%1 ms").arg(seconds * 1e3, 0, 'f', 1);
}

// Keeps the best time per iteration of every benchmark, in seconds.
class BestTimes : public benchmark::BenchmarkReporter
{
public:
    bool ReportContext(const Context &) override { return true; }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
                continue;
            const QString name = QString::fromStdString(run.run_name.function_name);
            const double seconds = run.real_accumulated_time / double(run.iterations);
            if (!best.contains(name) || seconds < best[name])
                best[name] = seconds;
            std::fprintf(stderr, ".");
        }
    }

    void Finalize() override { std::fprintf(stderr, "\n"); }

    double operator[](const char *name) const { return best.value(QLatin1String(name), -1); }

    void printAll() const
    {
        QStringList names = best.keys();
        names.sort();
        for (const QString &name : names)
            std::fprintf(stderr, "  %-18s %s\n", qPrintable(name),
                         qPrintable(timeText(best[name])));
    }

private:
    QHash<QString, double> best;
};

struct Row
{
    QString name;
    QString measured;
    QString floor;
    QString ratio;
    QString goal;
    bool met;
};

Row ratioRow(const QString &name, double measured, double floor, double limit,
             const QString &floorText = QString())
{
    const bool valid = measured > 0 && floor > 0;
    const double ratio = valid ? measured / floor : -1;
    return {name,
            timeText(measured),
            floorText.isEmpty() ? timeText(floor) : floorText,
            valid ? QStringLiteral("%1").arg(ratio, 0, 'f', 2) : QStringLiteral("-"),
            QStringLiteral("<= %1x").arg(limit, 0, 'f', 1),
            valid && ratio <= limit};
}

Row memoryRow(const QString &name, double measuredKiB, double floorKiB, double limit)
{
    const auto text = [](double kib) {
        return kib < 0 ? QStringLiteral("not run")
                       : QStringLiteral("%1 MB").arg(kib * 1024 / 1e6, 0, 'f', 1);
    };
    Row row = ratioRow(name, measuredKiB, floorKiB, limit);
    row.measured = text(measuredKiB);
    row.floor = text(floorKiB);
    return row;
}

Row absoluteRow(const QString &name, double measured, double limit)
{
    return {name,
            timeText(measured),
            QStringLiteral("-"),
            QStringLiteral("-"),
            QStringLiteral("< %1").arg(timeText(limit)),
            measured > 0 && measured < limit};
}

void printTable(const BestTimes &t, double peakDialogKiB, double peakFloorKiB)
{
    const double tick = t["BM_Tick"];
    const double tickFloor = t["BM_TickFloor"];
    Row tickRow = ratioRow(QStringLiteral("tick"), tick, tickFloor, 1.2);
    tickRow.floor +=
        QStringLiteral(" (QProgressDialog::setValue %1)").arg(timeText(t["BM_TickPeer"]));
    tickRow.goal += QStringLiteral(", <= 50.0 us");
    tickRow.met = tickRow.met && tick <= 50e-6;

    const double read10k = t["BM_Read10k"];
    const double selectAll = t["BM_SelectAll"];
    const double readFloor10k = t["BM_ReadFloor10k"];
    const double readFloor100k = t["BM_ReadFloor100k"];
    Row read100kRow =
        ratioRow(QStringLiteral("read 100k"), t["BM_Read100k"], read10k > 0 ? 10 * read10k : -1,
                 1.2, QStringLiteral("10 x %1").arg(timeText(read10k)));
    if (readFloor10k > 0 && readFloor100k > 0)
        read100kRow.floor += QStringLiteral(" (JSON alone: %1 of 10 x)")
                                 .arg(readFloor100k / (10 * readFloor10k), 0, 'f', 2);
    const QList<Row> rows = {
        ratioRow(QStringLiteral("read 10k"), read10k, t["BM_ReadFloor10k"], 3.0),
        read100kRow,
        ratioRow(QStringLiteral("write 10k"), t["BM_Write10k"], t["BM_WriteFloor10k"], 2.0),
        ratioRow(QStringLiteral("select all"), selectAll, t["BM_SelectAllFloor10k"], 2.0),
        absoluteRow(QStringLiteral("search"), qMax(t["BM_SearchType"], t["BM_SearchErase"]), 20e-3),
        ratioRow(QStringLiteral("keys 10k"), t["BM_Keystroke10k"], t["BM_KeystrokeFloor10k"], 10.0),
        ratioRow(QStringLiteral("keys 100k"), t["BM_Keystroke100k"], t["BM_KeystrokeFloor100k"],
                 10.0),
        memoryRow(QStringLiteral("peak 100k"), peakDialogKiB, peakFloorKiB, 1.3),
        ratioRow(QStringLiteral("select 100k"), t["BM_SelectAll100k"], t["BM_SelectAllFloor100k"],
                 2.0),
        absoluteRow(QStringLiteral("clear 100k"), t["BM_Clear100k"], 1.0),
        ratioRow(QStringLiteral("fill"), t["BM_Fill"], t["BM_FillFloor"], 5.0),
        absoluteRow(QStringLiteral("tick group"), t["BM_TickGroup"], 20e-3),
        tickRow,
        ratioRow(QStringLiteral("call"), t["BM_CallBridge"], t["BM_CallPyQt5"], 2.0),
        ratioRow(QStringLiteral("connect"), t["BM_ConnectBridge"], t["BM_ConnectPyQt5"], 2.0),
        absoluteRow(QStringLiteral("start"), t["BM_Start"], 150e-3),
    };

    const QStringList header = {QStringLiteral("row"),   QStringLiteral("measured"),
                                QStringLiteral("floor"), QStringLiteral("ratio"),
                                QStringLiteral("goal"),  QStringLiteral("met")};
    QVector<int> widths;
    for (const QString &title : header)
        widths.append(title.size());
    auto cells = [](const Row &row) {
        return QStringList{row.name,  row.measured,
                           row.floor, row.ratio,
                           row.goal,  row.met ? QStringLiteral("met") : QStringLiteral("MISSED")};
    };
    for (const Row &row : rows) {
        const QStringList c = cells(row);
        for (int i = 0; i < c.size(); ++i)
            widths[i] = qMax(widths[i], c[i].size());
    }
    auto line = [&](const QStringList &c) {
        QString text = QStringLiteral("|");
        for (int i = 0; i < c.size(); ++i)
            text += QLatin1Char(' ') + c[i].leftJustified(widths[i]) + QStringLiteral(" |");
        std::printf("%s\n", text.toUtf8().constData());
    };
    line(header);
    QStringList rule;
    for (int w : widths)
        rule.append(QString(w, QLatin1Char('-')));
    std::printf("%s\n",
                (QLatin1Char('|') + QStringLiteral("-%1-|").arg(rule.join(QStringLiteral("-|-"))))
                    .toUtf8()
                    .constData());
    for (const Row &row : rows)
        line(cells(row));
    std::printf(
        "\ncall: ns per dialog.setWindowTitle(\"x\") from Python, each binding in a fresh"
        " process\n(veldmark-script-host for the bridge, %s for PyQt5); connect: ns per connect and"
        " disconnect\nof a callable, over 200,000 pairs, the same way; start: in a fresh "
        "process.\n",
        SYSTEM_PYTHON);
}

void registerBenchmarks(int repetitions)
{
    // Slow paths run a fixed number of times per repetition, quick ones for
    // at least 50 ms.
    const auto add = [repetitions](const char *name, void (*function)(benchmark::State &),
                                   int iterations = 0) {
        auto benchmark = benchmark::RegisterBenchmark(name, function)->Repetitions(repetitions);
        return iterations > 0 ? benchmark->Iterations(iterations) : benchmark->MinTime(0.05);
    };
    add("BM_Read10k", BM_Read10k);
    add("BM_ReadFloor10k", BM_ReadFloor10k);
    add("BM_Read100k", BM_Read100k, 1);
    add("BM_ReadFloor100k", BM_ReadFloor100k, 1);
    add("BM_Write10k", BM_Write10k);
    add("BM_WriteFloor10k", BM_WriteFloor10k);
    add("BM_SelectAll", BM_SelectAll, 5);
    add("BM_SearchType", BM_SearchType);
    add("BM_SearchErase", BM_SearchErase);
    add("BM_Keystroke10k", BM_Keystroke10k);
    add("BM_KeystrokeFloor10k", BM_KeystrokeFloor10k);
    add("BM_Keystroke100k", BM_Keystroke100k, 1);
    add("BM_KeystrokeFloor100k", BM_KeystrokeFloor100k, 10);
    add("BM_SelectAll100k", BM_SelectAll100k, 1);
    add("BM_Clear100k", BM_Clear100k, 1);
    add("BM_SelectAllFloor10k", BM_SelectAllFloor10k, 5);
    add("BM_SelectAllFloor100k", BM_SelectAllFloor100k, 1);
    add("BM_Fill", BM_Fill);
    add("BM_FillFloor", BM_FillFloor);
    add("BM_TickGroup", BM_TickGroup);
    add("BM_Tick", BM_Tick);
    add("BM_TickFloor", BM_TickFloor);
    add("BM_TickPeer", BM_TickPeer);
    add("BM_CallBridge", BM_CallBridge, 1)->UseManualTime();
    add("BM_CallPyQt5", BM_CallPyQt5, 1)->UseManualTime();
    add("BM_ConnectBridge", BM_ConnectBridge, 1)->UseManualTime();
    add("BM_ConnectPyQt5", BM_ConnectPyQt5, 1)->UseManualTime();
    add("BM_Start", BM_Start, 1)->UseManualTime();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], startOption) == 0)
        return startProbe();
    if (argc > 1 && std::strncmp(argv[1], memoryOption, std::strlen(memoryOption)) == 0) {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        return memoryProbe(argv[1] + std::strlen(memoryOption));
    }

    // The display dialog logs every resize and show, and the offscreen
    // platform warns on every window it sizes; neither is the subject here.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    installPlatformNoiseFilter();

    int repetitions = 5;
    std::vector<char *> arguments(argv, argv + argc);
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleave);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--repetitions=", 14) == 0) {
            repetitions = std::atoi(argv[i] + 14);
            arguments.erase(std::find(arguments.begin(), arguments.end(), argv[i]));
        }
    }
    int count = int(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data()))
        return 2;

    // The data is made once, before any timing starts.
    document10k();
    document100k();
    uncheckedDocument10k();
    numberedDocument(10000);
    numberedDocument(100000);
    uncheckedNumberedDocument100k();
    libraries();
    registerBenchmarks(qMax(1, repetitions));
    std::fprintf(stderr, "Running %d repetitions of each benchmark, interleaved", repetitions);
    BestTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    benchmark::Shutdown();
    std::fprintf(stderr, "Best time per iteration:\n");
    times.printAll();
    // A filtered run is after particular rows; the peaks take a few seconds.
    const bool measurePeaks = std::none_of(argv + 1, argv + argc, [](const char *argument) {
        return std::strncmp(argument, "--benchmark_filter", 18) == 0;
    });
    const double peakDialog = measurePeaks ? peakKiB("dialog") : -1;
    const double peakFloor = measurePeaks ? peakKiB("floor") : -1;
    printTable(times, peakDialog, peakFloor);
    return 0;
}
