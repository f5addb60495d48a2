// Report output under faults and hostile files: a temporary folder that cannot
// take the page store's spill file, the program killed during a report run, the
// printer vanishing during a job, prepared-report files whose page count and
// offsets lie. Each shows the clear error and that no stored page is lost.
// The killed run is a child: this program started again with
// PWANGSA_FAULT_CHILD set.

#include "RepTestPages.h"
#include "TestDatabase.h"

#include "data/DataModel.h"
#include "reports/ERepError.h"
#include "reports/TRepPrintable.h"
#include "reports/TRepStream.h"
#include "reports/TReport.h"

#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cstdio>
#include <limits>
#include <unistd.h>

namespace {

const char* const ChildVariable = "PWANGSA_FAULT_CHILD";

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ERepError& error) {
        return error.message();
    }
    return QString();
}

// A page of about 10 KB of drawing commands, so that a few pages outgrow the
// page store's memory.
void drawLargePage(TRepPrinter& output, int number)
{
    drawTestPage(output, number);
    for (int line = 0; line < 200; ++line)
        output.Canvas()->drawText(output.XPos(100), output.YPos(100 + 10 * line), QStringLiteral("Baris %1").arg(line));
}

// Points the temporary folder at a folder that cannot take a file for one
// scope: one that does not exist, or one without write permission (which
// only holds for a user other than the superuser).
class UnusableTemporaryFolder {
public:
    UnusableTemporaryFolder(const QTemporaryDir& dir, bool exists) : m_saved(qgetenv("TMPDIR"))
    {
        const QString folder = dir.filePath(QStringLiteral("unusable"));
        if (exists) {
            QDir().mkpath(folder);
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        }
        qputenv("TMPDIR", QFile::encodeName(folder));
    }
    ~UnusableTemporaryFolder() { restore(); }
    void restore()
    {
        if (m_saved.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_saved);
    }

private:
    QByteArray m_saved;
};

// A report over Pelanggan printing each customer's code, for the killed run.
void buildCustomerReport(TReport& report, TDataSet* view)
{
    report.DataSet = view;
    report.Page.PaperSize = TRepPaperSize::A4;
    TRepBand* detail = report.CreateBand(rbDetail);
    detail->Size.Height = 60;
    auto* code = new TRepDBText(detail);
    code->DataSet = view;
    code->DataField = QStringLiteral("Kode Pelanggan");
    code->Size = {45, 100, 10, 300};
}

// Child: runs the customer report again and again, saving each run over the
// same prepared-report file, and tells each save.
int reportForever(const QString& fileName)
{
    QObject owner;
    const auto views = DataModel::SetupAll(&owner);
    for (int run = 1;; ++run) {
        TReport report;
        buildCustomerReport(report, views.pelanggan.Pelanggan);
        report.PreviewReport();
        report.Output()->SaveToFile(fileName);
        std::printf("saved %d %d\n", run, report.Output()->pageCount());
        std::fflush(stdout);
    }
}

// A saved two-page report whose 32-bit value at `offset` is replaced.
QByteArray withInt32(QByteArray bytes, qsizetype offset, qint32 value)
{
    qToLittleEndian<qint32>(value, bytes.data() + (offset < 0 ? bytes.size() + offset : offset));
    return bytes;
}

} // namespace

class TestReportFaults : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    // Fault: the temporary folder cannot take the spill file. The page that
    // no longer fits fails clearly; the pages before stay readable, and once
    // the folder is usable again the document continues and saves whole.
    void temporaryFolderUnusableWhenSpilling_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << false;
        QTest::newRow("read-only") << true;
    }
    void temporaryFolderUnusableWhenSpilling()
    {
        QFETCH(bool, exists);
        if (exists && ::geteuid() == 0)
            QSKIP("the superuser writes into read-only folders");
        UnusableTemporaryFolder unwritable(m_dir, exists);
        TRepPrinter output;
        output.BeginDoc();
        QString error;
        int stored = 0;
        for (int page = 1; page <= 100 && error.isEmpty(); ++page) {
            error = errorOf([&] {
                output.NewPage();
                drawLargePage(output, page);
            });
            if (error.isEmpty())
                stored = page - 1;
        }
        QVERIFY2(error.startsWith(QLatin1String("Cannot create a temporary file")), qPrintable(error));
        QVERIFY(stored > 1);
        QVERIFY(output.stream()->temporaryFileName().isEmpty());
        for (int page = 1; page <= stored; ++page)
            QVERIFY2(output.GetPage(page), qPrintable(QString::number(page)));

        unwritable.restore();
        output.NewPage();
        drawLargePage(output, stored + 2);
        output.EndDoc();
        QVERIFY(!output.stream()->temporaryFileName().isEmpty());
        output.SaveToFile(m_dir.filePath(QStringLiteral("after-spill.rpf")));
        TRepPrinter loaded;
        loaded.LoadFromFile(m_dir.filePath(QStringLiteral("after-spill.rpf")));
        QCOMPARE(loaded.pageCount(), stored + 1);
        for (int page = 1; page <= stored + 1; ++page)
            QCOMPARE(pageBytes(loaded.GetPage(page).get()), pageBytes(output.GetPage(page).get()));
    }

    // Fault: the program is killed (SIGKILL) while it runs a report and saves
    // it. The database stays sound and the saved file is a whole earlier run,
    // never a half-written one.
    void killedDuringReportRun()
    {
        TestDatabase db;
        for (int i = 1; i <= 400; ++i)
            db.addCustomer(QStringLiteral("K%1").arg(i, 4, 10, QLatin1Char('0')), QStringLiteral("Nama %1").arg(i));
        const QString saved = m_dir.filePath(QStringLiteral("run.rpf"));
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(ChildVariable), QStringLiteral("report-loop"));
        environment.insert(QStringLiteral("TMPDIR"), m_dir.path());
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {saved});
        QByteArray output;
        while (!output.contains("saved 2 ")) {
            QVERIFY2(child.waitForReadyRead(60000), output.constData());
            output += child.readAllStandardOutput();
        }
        QTest::qWait(30); // somewhere inside the third run
        child.kill();
        QVERIFY(child.waitForFinished());
        const int pages = output.split('\n').first().split(' ').value(2).toInt();
        QVERIFY(pages > 1);

        TRepPrinter loaded;
        loaded.LoadFromFile(saved);
        QCOMPARE(loaded.pageCount(), pages);
        for (int page = 1; page <= pages; ++page)
            QVERIFY(loaded.GetPage(page));
        QCOMPARE(db.exec(QStringLiteral("PRAGMA integrity_check")).value(0).toString(), QStringLiteral("ok"));
        QCOMPARE(db.count(QStringLiteral("DataPelanggan")), qint64(400));
    }

    // Hostile prepared-report files: page counts and offsets that point
    // outside the file or back on themselves give the clear error, quickly,
    // and leave the output object as it was.
    void lyingPageCountsAndOffsets_data()
    {
        QTest::addColumn<qsizetype>("offset");
        QTest::addColumn<qint32>("value");
        constexpr qint32 Huge = std::numeric_limits<qint32>::max();
        constexpr qint32 Lowest = std::numeric_limits<qint32>::min();
        QTest::newRow("huge page count") << qsizetype(8) << Huge;
        QTest::newRow("negative page count") << qsizetype(8) << -1;
        QTest::newRow("page count beyond the pages") << qsizetype(8) << 3;
        QTest::newRow("page count below the pages") << qsizetype(8) << 1;
        QTest::newRow("last record beyond the end") << qsizetype(-4) << Huge;
        QTest::newRow("last record before the start") << qsizetype(-4) << Lowest;
        QTest::newRow("last record inside the header") << qsizetype(-4) << 4;
        QTest::newRow("first page numbered wrongly") << qsizetype(128) << 7;
        QTest::newRow("first next offset beyond the end") << qsizetype(132) << Huge;
        QTest::newRow("first next offset pointing at itself") << qsizetype(132) << 128;
        QTest::newRow("first next offset negative") << qsizetype(132) << Lowest;
    }
    void lyingPageCountsAndOffsets()
    {
        QFETCH(qsizetype, offset);
        QFETCH(qint32, value);
        TRepPrinter original;
        const QByteArray whole = savedTestDocument(original, 2, m_dir.filePath(QStringLiteral("whole.rpf")));
        const QString name = m_dir.filePath(QStringLiteral("lying.rpf"));
        writeFileBytes(name, withInt32(whole, offset, value));
        TRepPrinter loaded;
        loaded.LoadFromFile(m_dir.filePath(QStringLiteral("whole.rpf")));
        const QString error = errorOf([&] { loaded.LoadFromFile(name); });
        QVERIFY2(error.startsWith(QStringLiteral("Not a valid prepared report file: ") + name), qPrintable(error));
        QCOMPARE(loaded.pageCount(), 2);
        QCOMPARE(pageBytes(loaded.GetPage(2).get()), pageBytes(original.GetPage(2).get()));
    }

    // Fault: the printer is removed from the spooler in the middle of a job.
    // The job ends with a clear error instead of reporting a print that never
    // happens. Needs the local spooler (scripts/start-cups, as root).
    void printerDisappearsMidJob()
    {
        const QString lpadmin = QStandardPaths::findExecutable(QStringLiteral("lpadmin"));
        if (lpadmin.isEmpty() || !QPrinterInfo::availablePrinterNames().contains(QStringLiteral("PDF")))
            QSKIP("no spooler with the PDF printer (scripts/start-cups sets it up as root)");
        const QString name = QStringLiteral("pwangsa_vanishing_%1").arg(QCoreApplication::applicationPid());
        QCOMPARE(QProcess::execute(lpadmin, {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                                             QStringLiteral("cups-pdf:/"), QStringLiteral("-m"),
                                             QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd")}),
                 0);
        const int index = int(QPrinterInfo::availablePrinterNames().indexOf(name));
        QVERIFY(index >= 0);
        TRepPrinter output;
        output.setDestination(TRepDestination::Printer);
        output.setPrinterIndex(index);
        output.setTitle(name);
        output.BeginDoc();
        output.NewPage();
        drawTestPage(output, 1);
        QProcess::execute(lpadmin, {QStringLiteral("-x"), name});
        const QString error = errorOf([&] {
            output.NewPage();
            drawTestPage(output, 2);
            output.EndDoc();
        });
        QVERIFY2(error.contains(name) && error.contains(QLatin1String("no longer available")), qPrintable(error));
        QCOMPARE(output.status(), TRepStatus::Finished);
    }

private:
    QTemporaryDir m_dir;
};

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsEmpty(ChildVariable)) {
        QGuiApplication app(argc, argv);
        return reportForever(app.arguments().value(1));
    }
    QGuiApplication app(argc, argv);
    TestReportFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ReportFaults.moc"
