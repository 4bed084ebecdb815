#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// `cmake --install` into a fresh prefix; the installed host then finds the
// installed plug-in and bridge by itself, with no option and no library path.
class InstallTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void installedHostRunsScripts();
};

void InstallTest::installedHostRunsScripts()
{
    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    QProcess install;
    install.start(QStringLiteral(CMAKE_COMMAND),
                  {"--install", QStringLiteral(BUILD_DIR), "--prefix", prefix.path()});
    QVERIFY(install.waitForFinished(60000));
    QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());

    const QString libdir = prefix.filePath(QStringLiteral(INSTALL_LIBDIR));
    QStringList files = {prefix.filePath("bin/kestrane-host"), libdir + "/kestrane/plugins/libveldmarkplugin.so",
                         libdir + "/kestrane/plugins/stubs/PythonQt/Kestrane.pyi",
                         libdir + "/kestrane/plugins/stubs/PythonQt/__init__.pyi"};
#ifdef VELDMARK_REAL_PYTHONQT
    // The host's own PythonQt stays where it is.
    QVERIFY(!QFile::exists(libdir + "/libveldmarkbridge.so"));
#else
    files << libdir + "/libveldmarkbridge.so";
#endif
    for (const QString &file : qAsConst(files))
        QVERIFY2(QFile::exists(file), qPrintable(file));

    QFile script(prefix.filePath("query.py"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection\n"
                 "print(ProgressDialog().cancelled(), VeldmarkSelection().aggregationMode(),\n"
                 "      VeldmarkDisplay().displayData().data())\n");
    script.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("LD_LIBRARY_PATH"));
    QProcess host;
    host.setProcessEnvironment(environment);
    host.setWorkingDirectory(prefix.path());
    host.start(prefix.filePath("bin/kestrane-host"), {script.fileName()});
    QVERIFY(host.waitForFinished(60000));
    const QString err = QString::fromUtf8(host.readAllStandardError());
    QVERIFY2(host.exitCode() == 0, qPrintable(err));
    QCOMPARE(QString::fromUtf8(host.readAllStandardOutput()), QStringLiteral("False compound b'{\\n}\\n'\n"));
    QVERIFY2(!err.contains(QStringLiteral("plug-in")), qPrintable(err));
}

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
