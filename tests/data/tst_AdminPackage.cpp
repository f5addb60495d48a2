// The Debian package builds from the build tree: programs, desktop entry,
// icon, compressed manual pages and the copyright inside, run-time
// dependencies declared as one field each. Installing it is left to
// scripts/try-package, which CI runs on the Release package.

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString runTool(const QString& program, const QStringList& arguments, int* code)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(280000);
    *code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll());
}

}

class TestAdminPackage : public QObject {
    Q_OBJECT

private slots:
    void debianPackageBuilds()
    {
        const QString dpkgDeb = QStandardPaths::findExecutable(QStringLiteral("dpkg-deb"));
        const QString cpack = QStandardPaths::findExecutable(QStringLiteral("cpack"));
        if (dpkgDeb.isEmpty() || cpack.isEmpty())
            QSKIP("dpkg-deb or cpack is not installed: the package can't be built here");
        QTemporaryDir dir;
        int code = 0;
        const QString log = runTool(cpack, {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                                            QStringLiteral(PWANGSA_BINARY_DIR "/CPackConfig.cmake"), QStringLiteral("-B"),
                                            dir.path()},
                                    &code);
        QVERIFY2(code == 0, qPrintable(log));
        const QStringList debs = QDir(dir.path()).entryList({QStringLiteral("pwangsa_*.deb")});
        QCOMPARE(debs.size(), 1);
        const QString deb = dir.filePath(debs.first());

        const QString info = runTool(dpkgDeb, {QStringLiteral("--info"), deb}, &code);
        QCOMPARE(code, 0);
        QVERIFY(info.contains(QStringLiteral("Package: pwangsa")));
        QVERIFY(info.contains(QStringLiteral("Section: misc")));
        QVERIFY(info.contains(QStringLiteral("Maintainer: ")));
        for (const char* dependency : {"libqt6widgets6", "libqt6sql6-sqlite", "libqt6sql6-psql", "libqt6printsupport6",
                                       "libsqlite3-0", "fonts-liberation2", "fonts-comic-neue"})
            QVERIFY2(info.contains(QLatin1String(dependency)), dependency);
        QVERIFY2(!info.contains(QLatin1Char(';')), qPrintable(info));  // a CMake list joined into a field

        const QString contents = runTool(dpkgDeb, {QStringLiteral("--contents"), deb}, &code);
        QCOMPARE(code, 0);
        for (const char* path : {"./usr/bin/pwangsa\n", "./usr/bin/pwangsa-admin\n",
                                 "./usr/share/applications/pwangsa.desktop\n",
                                 "./usr/share/icons/hicolor/256x256/apps/pwangsa.png\n",
                                 "./usr/share/man/man1/pwangsa.1.gz\n", "./usr/share/man/man1/pwangsa-admin.1.gz\n",
                                 "./usr/share/doc/pwangsa/copyright\n"})
            QVERIFY2(contents.contains(QLatin1String(path)), path);
    }
};

QTEST_GUILESS_MAIN(TestAdminPackage)
#include "tst_AdminPackage.moc"
