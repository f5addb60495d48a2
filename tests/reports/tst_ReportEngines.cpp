// The same reports from a SQLite database and from its copy on a PostgreSQL
// server: pwangsa-admin report over alias Dor pointing at each in turn, the
// PDFs read back with pdftotext must say exactly the same. Skips without a
// server.

#include "AdminProcess.h"
#include "PdfText.h"
#include "ServerCopy.h"
#include "TestDatabase.h"

#include <QtTest>

class TestReportEngines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void sameTextOnBothEngines_data();
    void sameTextOnBothEngines();

private:
    // The report's page text with Dor on `alias`.
    QString reportText(const AliasConfig::Alias& alias, const QStringList& arguments, const QString& name);

    QTemporaryDir m_dir;
    AliasConfig::Alias m_sqlite;
    AliasConfig::Alias m_server;
};

void TestReportEngines::initTestCase()
{
    PWANGSA_REQUIRE_SERVER();
    if (!test::havePdfTools())
        QSKIP("poppler-utils (pdftotext, pdfinfo) are not installed");
    useTemporaryHome(m_dir);
    m_server = TestServer::alias(TestServer::createDatabase());
    const QString failed = ServerCopy::makeBoth(m_server);
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    m_sqlite = *AliasConfig::find(QStringLiteral("Dor"));
}

void TestReportEngines::cleanupTestCase()
{
    if (!m_server.dbname.isEmpty())
        TestServer::dropDatabase(m_server.dbname);
}

QString TestReportEngines::reportText(const AliasConfig::Alias& alias, const QStringList& arguments, const QString& name)
{
    AliasConfig::write(QStringLiteral("Dor"), alias);
    const QString pdf = m_dir.filePath(name + QStringLiteral(".pdf"));
    const AdminRun run = runAdmin(QStringList{QStringLiteral("report")} + arguments + QStringList{QStringLiteral("--pdf"), pdf});
    if (run.code != 0)
        qWarning() << run.err;
    return test::pdfPages(pdf).join(QLatin1Char('\f'));
}

void TestReportEngines::sameTextOnBothEngines_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("shows");  // a pattern the text must hold
    QTest::newRow("invoice P001") << QStringList{"faktur", "--customer", "P001"}
                                  << "Jumlah Total +Rp +4467000\\n";
    // Dated, a fractional amount and a line without quantity.
    QTest::newRow("invoice with fractions") << QStringList{"faktur", "--customer", "É01"}
                                            << "Tanggal +: +\\S+\\n(.|\\n)*Jumlah Total +Rp +3751\\D5\\n";
    // Lower case after upper case, as the codes' bytes order them.
    QTest::newRow("invoice p001") << QStringList{"faktur", "--customer", "p001"} << "Jumlah Total +Rp +0\\D03\\n";
    QTest::newRow("customers") << QStringList{"pelanggan"} << "P020 +[^\\n]*\\n(.|\\n)*p001 +toko kecil(.|\\n)*É01 +Élodie Ñuñez";
    QTest::newRow("goods") << QStringList{"barang"} << "Total Jumlah +137844251\\D53\\n";
    QTest::newRow("daily") << QStringList{"harian"} << "F9 +\\S+ +BRG01 +3 +3751\\D5\\n";
}

void TestReportEngines::sameTextOnBothEngines()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, shows);
    const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-'));
    const QString fromSqlite = reportText(m_sqlite, arguments, QStringLiteral("sqlite-") + name);
    const QString fromServer = reportText(m_server, arguments, QStringLiteral("server-") + name);
    QVERIFY(!fromSqlite.isEmpty());
    QCOMPARE(fromServer, fromSqlite);
    QVERIFY2(fromSqlite.contains(QRegularExpression(shows)), qPrintable(fromSqlite));
}

QTEST_GUILESS_MAIN(TestReportEngines)
#include "tst_ReportEngines.moc"
