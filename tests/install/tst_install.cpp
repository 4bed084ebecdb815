// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "hostrun.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// The installed tree and the Debian package as a packager and a host team
// meet them: the layout, the host running from it with no option and no
// library path, the example run headless from its installed answers, the
// manual page and changelog, find_package(VeldmarkWidgets) in a host's own
// build, and the package's control fields, contents, packaged host and what
// lintian finds in it.
class tst_Install : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void publicFolders_data();
    void publicFolders();
    void sharedFiles_data();
    void sharedFiles();
    void installedHostRunsScripts();
    void installedExampleRunsFromItsAnswers();
    void manualPageNamesEveryOption();
    void changelogNamesThisVersion();
    void hostBuildFindsInterfaceAndPlugin();
    void packageControlFields();
    void packageContents();
    void packagedHostRunsPackagedExample();
    void lintianFindsNothingToReport();

private:
    static ChildRun run(
        const QString &program, const QStringList &arguments, const QString &folder = {},
        const QProcessEnvironment &environment = ChildOptions::headlessEnvironment());
    static QStringList filesUnder(const QString &folder);
    static ChildRun gunzip(const QString &file);
    void buildPackage();

    QTemporaryDir m_prefix;
    QTemporaryDir m_packageFolder;
    QString m_package;
    QString m_packageRoot;
};

ChildRun tst_Install::run(const QString &program, const QStringList &arguments,
                          const QString &folder, const QProcessEnvironment &environment)
{
    ChildOptions options;
    options.environment = environment;
    // What is installed must find its libraries by itself.
    options.environment.remove(QStringLiteral("LD_LIBRARY_PATH"));
    options.folder = folder;
    options.timeoutMs = 300000;
    return runProgram(program, arguments, options);
}

QStringList tst_Install::filesUnder(const QString &folder)
{
    const QDir root(folder);
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(root.relativeFilePath(it.next()));
    files.sort();
    return files;
}

ChildRun tst_Install::gunzip(const QString &file)
{
    return run(QStringLiteral("gzip"), {"-dc", file});
}

void tst_Install::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    const ChildRun install =
        run(QStringLiteral(CMAKE_COMMAND),
            {"--install", QStringLiteral(BUILD_DIR), "--prefix", m_prefix.path()});
    QVERIFY2(install.exitCode == 0, qPrintable(install.err));
    if (QStringLiteral(INSTALL_PREFIX) == QLatin1String("/usr"))
        buildPackage();
}

void tst_Install::buildPackage()
{
    QVERIFY(m_packageFolder.isValid());
    const ChildRun cpack =
        run(QStringLiteral(CPACK_COMMAND),
            {"-G", "DEB", "--config", QStringLiteral(BUILD_DIR "/CPackConfig.cmake"), "-B",
             m_packageFolder.path()});
    QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.out + cpack.err));
    const QStringList packages = QDir(m_packageFolder.path()).entryList({"*.deb"}, QDir::Files);
    QCOMPARE(packages.size(), 1);
    m_package = m_packageFolder.filePath(packages.first());

    m_packageRoot = m_packageFolder.filePath(QStringLiteral("root"));
    const ChildRun extract = run(QStringLiteral("dpkg-deb"), {"-x", m_package, m_packageRoot});
    QVERIFY2(extract.exitCode == 0, qPrintable(extract.err));
}

void tst_Install::publicFolders_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("files");

    const QString libdir = QStringLiteral(INSTALL_LIBDIR);
    // Nothing of ours on the linker's or the compiler's search path but the
    // interface header: the bridge and the plug-in are the package's own.
    QTest::newRow("the stand-in host alone in bin") << "bin" << QStringList{"veldmark-script-host"};
    QTest::newRow("the interface header alone in include")
        << "include" << QStringList{"veldmark-widgets/pluginwidgets.h"};
    QStringList libraries{"cmake/VeldmarkWidgets/VeldmarkWidgetsConfig.cmake",
                          "cmake/VeldmarkWidgets/VeldmarkWidgetsConfigVersion.cmake",
                          "cmake/VeldmarkWidgets/VeldmarkWidgetsTargets.cmake",
                          "veldmark-widgets/plugins/libveldmarkplugin.so"};
    if (BUNDLED_BRIDGE)
        libraries.append("veldmark-widgets/libveldmarkbridge.so");
    libraries.sort();
    QTest::newRow("private libraries and the CMake package in libdir") << libdir << libraries;
}

void tst_Install::publicFolders()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, files);
    QCOMPARE(filesUnder(m_prefix.filePath(folder)), files);
}

void tst_Install::sharedFiles_data()
{
    QTest::addColumn<QString>("file");

    QTest::newRow("stubs package") << "share/veldmark-widgets/stubs/PythonQt/__init__.pyi";
    QTest::newRow("stubs of the dialogs") << "share/veldmark-widgets/stubs/PythonQt/Kestrane.pyi";
    for (const char *example : {"veldmark_query.py", "veldmark_query.answers.json",
                                "veldmark_service.py", "veldmark_columns.py"})
        QTest::newRow(example) << QStringLiteral("share/veldmark-widgets/examples/")
                + QLatin1String(example);
    QTest::newRow("manual page") << "share/man/man1/veldmark-script-host.1.gz";
    QTest::newRow("scripting guide") << "share/doc/veldmark-widgets/scripting.md";
    QTest::newRow("changelog") << "share/doc/veldmark-widgets/changelog.gz";
    QTest::newRow("licence") << "share/doc/veldmark-widgets/copyright";
}

void tst_Install::sharedFiles()
{
    QFETCH(QString, file);
    QVERIFY2(QFileInfo(m_prefix.filePath(file)).size() > 0, qPrintable(file));
}

void tst_Install::installedHostRunsScripts()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFile script(folder.filePath("query.py"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(
        "from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection\n"
        "print(ProgressDialog().cancelled(), VeldmarkSelection().aggregationMode(),\n"
        "      VeldmarkDisplay().displayData().data())\n");
    script.close();

    const ChildRun host =
        run(m_prefix.filePath("bin/veldmark-script-host"), {script.fileName()}, folder.path());
    QVERIFY2(host.exitCode == 0, qPrintable(host.err));
    QCOMPARE(host.out, QStringLiteral("False compound b'{\\n}\\n'\n"));
    QVERIFY2(!host.err.contains(QStringLiteral("plug-in")), qPrintable(host.err));
}

void tst_Install::installedExampleRunsFromItsAnswers()
{
    // As on a machine without a display, with nothing but what is installed.
    QTemporaryDir output;
    QVERIFY(output.isValid());
    const QString examples = m_prefix.filePath(QStringLiteral("share/veldmark-widgets/examples"));
    const ChildRun host = run(m_prefix.filePath("bin/veldmark-script-host"),
                              {"--answers", examples + "/veldmark_query.answers.json", "--pictures",
                               output.filePath("pictures"), examples + "/veldmark_query.py",
                               output.filePath("results")},
                              output.path(), ChildOptions::withoutDisplay());
    QVERIFY2(host.exitCode == 0, qPrintable(host.out + host.err));

    QFile results(output.filePath("results/veldmark_results.csv"));
    QVERIFY2(results.open(QIODevice::ReadOnly), qPrintable(host.out));
    // The display name the answers file types in heads the assay's column.
    const QString header = QString::fromUtf8(results.readLine());
    QVERIFY2(header.contains(QStringLiteral("CYP1A2 inhibition IC50 [\u00b5M] (edited)")),
             qPrintable(header));
    for (const char *dialog : {"VeldmarkSelection", "ProgressDialog", "VeldmarkDisplay"})
        QVERIFY(QFile::exists(
            output.filePath(QStringLiteral("pictures/%1.png").arg(QLatin1String(dialog)))));
}

void tst_Install::manualPageNamesEveryOption()
{
    const ChildRun help = run(m_prefix.filePath("bin/veldmark-script-host"), {"--help"});
    QCOMPARE(help.exitCode, 0);
    QStringList options;
    const QRegularExpression option(QStringLiteral("^  (?:-\\w, )?(--[\\w-]+)"),
                                    QRegularExpression::MultilineOption);
    for (auto it = option.globalMatch(help.out); it.hasNext();)
        options.append(it.next().captured(1));
    QVERIFY2(options.contains(QStringLiteral("--answers")), qPrintable(help.out));

    const ChildRun page =
        gunzip(m_prefix.filePath(QStringLiteral("share/man/man1/veldmark-script-host.1.gz")));
    QVERIFY2(page.exitCode == 0, qPrintable(page.err));
    // roff writes each hyphen of an option as \-.
    const QString roff = QString(page.out).replace(QLatin1String("\\-"), QLatin1String("-"));
    for (const QString &name : options)
        QVERIFY2(roff.contains(QStringLiteral("\\fB%1\\fR").arg(name)), qPrintable(name));
}

void tst_Install::changelogNamesThisVersion()
{
    const ChildRun changelog =
        gunzip(m_prefix.filePath(QStringLiteral("share/doc/veldmark-widgets/changelog.gz")));
    QVERIFY2(changelog.exitCode == 0, qPrintable(changelog.err));
    QCOMPARE(changelog.out.section(QLatin1Char('\n'), 0, 0),
             QStringLiteral("veldmark-widgets (" PROJECT_VERSION ") unstable; urgency=medium"));
}

void tst_Install::hostBuildFindsInterfaceAndPlugin()
{
    // A host team's project: it includes pluginwidgets.h through the package's
    // target and loads the plug-in the package names.
    QTemporaryDir build;
    QVERIFY(build.isValid());
    const ChildRun configure =
        run(QStringLiteral(CMAKE_COMMAND),
            {"-S", QStringLiteral(HOST_PROJECT), "-B", build.path(), "-G",
             QStringLiteral(CMAKE_GENERATOR), "-DCMAKE_CXX_COMPILER=" CMAKE_CXX_COMPILER,
             "-DCMAKE_CXX_FLAGS=" HOST_PROJECT_FLAGS, "-DCMAKE_PREFIX_PATH=" + m_prefix.path()});
    QVERIFY2(configure.exitCode == 0, qPrintable(configure.out + configure.err));
    const ChildRun compile = run(QStringLiteral(CMAKE_COMMAND), {"--build", build.path()});
    QVERIFY2(compile.exitCode == 0, qPrintable(compile.out + compile.err));

    const ChildRun host = run(build.filePath("pluginhost"), {});
    QVERIFY2(host.exitCode == 0, qPrintable(host.err));
    const QString plugin =
        QStringLiteral(INSTALL_LIBDIR "/veldmark-widgets/plugins/libveldmarkplugin.so");
    QCOMPARE(host.out.trimmed(), QDir::cleanPath(m_prefix.filePath(plugin)));
}

void tst_Install::packageControlFields()
{
    if (m_package.isEmpty())
        QSKIP("A Debian package is built from a tree configured with the prefix /usr.");
    const ChildRun architecture = run(QStringLiteral("dpkg"), {"--print-architecture"});
    QCOMPARE(architecture.exitCode, 0);
    const ChildRun fields =
        run(QStringLiteral("dpkg-deb"),
            {"--field", m_package, "Package", "Version", "Architecture", "Maintainer", "Depends"});
    QVERIFY2(fields.exitCode == 0, qPrintable(fields.err));

    QHash<QString, QString> control;
    for (const QString &line : fields.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const int colon = line.indexOf(QLatin1Char(':'));
        control.insert(line.left(colon), line.mid(colon + 1).trimmed());
    }
    QCOMPARE(control.value("Package"), QStringLiteral("veldmark-widgets"));
    QCOMPARE(control.value("Version"), QStringLiteral(PROJECT_VERSION));
    QCOMPARE(control.value("Architecture"), architecture.out.trimmed());
    QVERIFY(!control.value("Maintainer").isEmpty());
    // What dpkg-shlibdeps found the host, bridge and plug-in link, with versions.
    const QString depends = control.value("Depends");
    for (const char *library :
         {"libc6", "libstdc++6", "libqt5core5a", "libqt5widgets5", "libpython3.11"}) {
        const QString name = QRegularExpression::escape(QLatin1String(library));
        const QRegularExpression dependency(QStringLiteral("(^|, )%1 \\(>= [^)]+\\)").arg(name));
        QVERIFY2(dependency.match(depends).hasMatch(),
                 qPrintable(QLatin1String(library) + ": " + depends));
    }
}

void tst_Install::packageContents()
{
    if (m_package.isEmpty())
        QSKIP("A Debian package is built from a tree configured with the prefix /usr.");
    const ChildRun multiarch = run(QStringLiteral("dpkg-architecture"), {"-qDEB_HOST_MULTIARCH"});
    QVERIFY2(multiarch.exitCode == 0, qPrintable(multiarch.err));
    const QString libdir = QStringLiteral("usr/lib/") + multiarch.out.trimmed();

    const ChildRun contents = run(QStringLiteral("dpkg-deb"), {"--contents", m_package});
    QVERIFY2(contents.exitCode == 0, qPrintable(contents.err));
    QStringList files;
    for (const QString &line : contents.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (!line.startsWith(QLatin1Char('d')))
            files.append(line.section(QLatin1String(" ./"), 1));
    }
    QStringList expected{"usr/bin/veldmark-script-host",
                         libdir + "/veldmark-widgets/plugins/libveldmarkplugin.so",
                         libdir + "/cmake/VeldmarkWidgets/VeldmarkWidgetsConfig.cmake",
                         "usr/include/veldmark-widgets/pluginwidgets.h",
                         "usr/share/veldmark-widgets/stubs/PythonQt/Kestrane.pyi",
                         "usr/share/veldmark-widgets/examples/veldmark_query.py",
                         "usr/share/doc/veldmark-widgets/copyright"};
    if (BUNDLED_BRIDGE)
        expected.append(libdir + "/veldmark-widgets/libveldmarkbridge.so");
    for (const QString &file : expected)
        QVERIFY2(files.contains(file), qPrintable(file + " not in\n" + files.join('\n')));

    // The package holds what `cmake --install` installs, no more, no less;
    // but the host's PythonQt leaves a module's .pyc beside it when the
    // installed example has imported it.
    QStringList installed;
    for (const QString &file : filesUnder(m_prefix.path())) {
        if (!file.endsWith(QLatin1String(".pyc")))
            installed.append(QStringLiteral("usr/") + file);
    }
    files.sort();
    QCOMPARE(files, installed);
}

void tst_Install::packagedHostRunsPackagedExample()
{
    if (m_package.isEmpty())
        QSKIP("A Debian package is built from a tree configured with the prefix /usr.");
    QTemporaryDir output;
    QVERIFY(output.isValid());
    const ChildRun host =
        run(QDir(m_packageRoot).filePath("usr/bin/veldmark-script-host"),
            {"--simulated-user", output.filePath("pictures"),
             QDir(m_packageRoot).filePath("usr/share/veldmark-widgets/examples/veldmark_query.py"),
             output.filePath("results")});
    QVERIFY2(host.exitCode == 0, qPrintable(host.err));
    QVERIFY2(!host.err.contains(QStringLiteral("plug-in")), qPrintable(host.err));
    QVERIFY2(QFileInfo(output.filePath("results/veldmark_results.csv")).size() > 0,
             qPrintable(host.out));
    for (const char *dialog : {"VeldmarkSelection", "ProgressDialog", "VeldmarkDisplay"})
        QVERIFY(QFile::exists(
            output.filePath(QStringLiteral("pictures/%1.png").arg(QLatin1String(dialog)))));
}

void tst_Install::lintianFindsNothingToReport()
{
    if (m_package.isEmpty())
        QSKIP("A Debian package is built from a tree configured with the prefix /usr.");
    if (QStandardPaths::findExecutable(QStringLiteral("lintian")).isEmpty())
        QSKIP("lintian is not installed (the test command installs it).");
    // With the informational tags, to see the hardening ones among them.
    const ChildRun lintian = run(QStringLiteral("lintian"), {"--display-info", m_package});
    QVERIFY2(lintian.finished, qPrintable(lintian.err));
    QStringList reported;
    QStringList hardening;
    bool excused = false;
    for (const QString &line : lintian.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        // Built against a PythonQt outside the system, the binaries find it
        // by a RUNPATH no package may carry; packages are made with the bridge.
        if (!BUNDLED_BRIDGE && line.contains(QLatin1String(": custom-library-search-path "))) {
            excused = true;
            continue;
        }
        if (line.startsWith(QLatin1String("E: ")) || line.startsWith(QLatin1String("W: ")))
            reported.append(line);
        else if (line.contains(QLatin1String(": hardening-")))
            hardening.append(line);
    }
    QVERIFY2(reported.isEmpty(), qPrintable(reported.join(QLatin1Char('\n'))));
    // The sanitized and the debug builds go without some hardening flags.
    if (HARDENED)
        QVERIFY2(hardening.isEmpty(), qPrintable(hardening.join(QLatin1Char('\n'))));
    QVERIFY2(lintian.exitCode == 0 || excused, qPrintable(lintian.out + lintian.err));
}

QTEST_GUILESS_MAIN(tst_Install)
#include "tst_install.moc"
