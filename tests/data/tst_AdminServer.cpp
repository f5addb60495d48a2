// pwangsa-admin with a PostgreSQL server: init --driver postgres, copy from
// the demonstration SQLite file to the server and back giving identical rows,
// copy refusing a target with data, backup of the server's database into
// a database file, CSV export and import with the server. Skips without a
// server.

#include "AdminProcess.h"
#include "ServerCopy.h"
#include "TestDatabase.h"

#include "data/DataModel.h"

#include <QtTest>

namespace {

// Every row of a SQLite file, each as one text of its values (nulls as "~").
QStringList rowsOf(const QString& file)
{
    const QList<std::pair<QString, QStringList>> tables{
        {QStringLiteral("DataPelanggan"),
         {QStringLiteral("Kode Pelanggan"), QStringLiteral("Nama Pelanggan"), QStringLiteral("Alamat"),
          QStringLiteral("No Telepon")}},
        {QStringLiteral("DataBarang"),
         {QStringLiteral("No Pesanan"), QStringLiteral("Kode Pelanggan"), QStringLiteral("Kode Barang"),
          QStringLiteral("Nama Barang"), QStringLiteral("Jenis Barang"), QStringLiteral("Harga Satuan"),
          QStringLiteral("Banyak Barang"), QStringLiteral("No Faktur"), QStringLiteral("Tanggal"),
          QStringLiteral("Total Jumlah")}},
        {QStringLiteral("Operator"),
         {QStringLiteral("Nama"), QStringLiteral("hex(Salt)"), QStringLiteral("hex(Hash)"), QStringLiteral("Iterations")}},
    };
    QStringList rows;
    for (const auto& [table, columns] : tables) {
        QStringList parts;
        for (const QString& column : columns)
            parts.append(column.contains(QLatin1Char('(')) ? column
                                                           : QStringLiteral("coalesce(typeof(\"%1\") || ':' || \"%1\", '~')").arg(column));
        const QString sql = QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY 1").arg(parts.join(QStringLiteral(" || '|' || ")), table);
        for (const QVariant& row : TestDatabase::exec(file, sql))
            rows.append(row.toString());
    }
    return rows;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

AdminRun initServer(const AliasConfig::Alias& server, const QString& alias, const QStringList& extra = {},
                    const QByteArray& input = QByteArray())
{
    return runAdmin(QStringList{QStringLiteral("init"), QStringLiteral("--driver"), QStringLiteral("postgres"),
                                QStringLiteral("--host"), server.host, QStringLiteral("--port"),
                                QString::number(server.port), QStringLiteral("--dbname"), server.dbname,
                                QStringLiteral("--user"), server.user, QStringLiteral("--password-stdin"),
                                QStringLiteral("--alias"), alias}
                        + extra,
                    server.password.toUtf8() + '\n' + input);
}

AdminRun copy(const QString& from, const QString& to, bool force = false)
{
    QStringList arguments{QStringLiteral("copy"), QStringLiteral("--from"), from, QStringLiteral("--to"), to};
    if (force)
        arguments.append(QStringLiteral("--force"));
    return runAdmin(arguments);
}

}

class TestAdminServer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PWANGSA_REQUIRE_SERVER(); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        useTemporaryHome(*m_dir);
        m_server = TestServer::alias(TestServer::createDatabase());
    }
    void cleanup()
    {
        closeAllDatabases();
        TestServer::dropDatabase(m_server.dbname);
        m_dir.reset();
    }

    // init on the server: the tables, the operator, the alias with the
    // password (readable by its owner only); a second init is refused.
    void initOnServer()
    {
        const AdminRun made = initServer(m_server, QStringLiteral("Kantor"),
                                         {QStringLiteral("--operator"), QStringLiteral("KASIR"),
                                          QStringLiteral("--operator-password-stdin")},
                                         "rahasia\n");
        QVERIFY2(made.code == 0, qPrintable(made.err));
        const auto alias = AliasConfig::find(QStringLiteral("Kantor"));
        QVERIFY(alias && alias->isPostgres());
        QCOMPARE(alias->describe(), m_server.describe());
        QCOMPARE(alias->password, m_server.password);
        QCOMPARE(QFile::permissions(AliasConfig::configFile()) & 0x0077, QFileDevice::Permissions());
        QCOMPARE(TestServer::exec(m_server, QStringLiteral("SELECT \"Nama\" FROM \"Operator\"")),
                 QVariantList{QStringLiteral("KASIR")});
        const AdminRun again = initServer(m_server, QStringLiteral("Kantor"), {QStringLiteral("--demo")});
        QCOMPARE(again.code, 1);
        QVERIFY2(again.err.contains(QStringLiteral("--force")), qPrintable(again.err));
        QCOMPARE(TestServer::exec(m_server, QStringLiteral("SELECT count(*) FROM \"DataPelanggan\"")).value(0).toInt(), 0);
        QCOMPARE(initServer(m_server, QStringLiteral("Kantor"), {QStringLiteral("--demo"), QStringLiteral("--force")}).code, 0);
        QCOMPARE(TestServer::exec(m_server, QStringLiteral("SELECT count(*) FROM \"DataPelanggan\"")).value(0).toInt(), 20);
        const AdminRun wrong = runAdmin({QStringLiteral("init"), QStringLiteral("--driver"), QStringLiteral("postgres"),
                                         QStringLiteral("--host"), m_server.host});
        QCOMPARE(wrong.code, 2);
    }

    // SQLite demo -> server -> new SQLite file: the same rows, the operator's
    // hash included; the views read the copied data on the server.
    void copyRoundTrip()
    {
        QCOMPARE(runAdmin({QStringLiteral("init"), QStringLiteral("--demo")}).code, 0);
        QCOMPARE(initServer(m_server, QStringLiteral("Kantor"), {QStringLiteral("--demo"), QStringLiteral("--lines"),
                                                                 QStringLiteral("0")}).code, 0);
        const AdminRun refused = copy(QStringLiteral("Dor"), QStringLiteral("Kantor"));
        QCOMPARE(refused.code, 1);  // the demonstration customers are there
        QVERIFY2(refused.err.contains(QStringLiteral("not empty")), qPrintable(refused.err));
        const AdminRun there = copy(QStringLiteral("Dor"), QStringLiteral("Kantor"), true);
        QVERIFY2(there.code == 0, qPrintable(there.err));
        QVERIFY2(there.out.contains(QStringLiteral("DataPelanggan 20 rows, DataBarang 200 rows, Operator 1 rows")),
                 qPrintable(there.out));

        const QString back = m_dir->filePath(QStringLiteral("back.sqlite"));
        QCOMPARE(runAdmin({QStringLiteral("init"), QStringLiteral("--path"), back, QStringLiteral("--alias"),
                           QStringLiteral("Balik"), QStringLiteral("--user"), QStringLiteral("X"),
                           QStringLiteral("--password-stdin")},
                          "x\n").code,
                 0);
        const AdminRun home = copy(QStringLiteral("Kantor"), QStringLiteral("Balik"));
        QVERIFY2(home.code == 0, qPrintable(home.err));
        const QStringList original = rowsOf(AliasConfig::defaultDatabasePath());
        QCOMPARE(original.size(), 221);
        QCOMPARE(rowsOf(back), original);

        // The program's views over the server hold the same lines.
        AliasConfig::write(QStringLiteral("Dor"), *AliasConfig::find(QStringLiteral("Kantor")));
        QObject owner;
        auto v = DataModel::SetupPenjualan(&owner);
        v.Penjualan->Open();
        int lines = 0;
        for (v.Penjualan->First(); !v.Penjualan->Eof(); v.Penjualan->Next())
            ++lines;
        QCOMPARE(lines, 200);
    }

    // A backup of the server's database is a checked database file the
    // program opens directly, with the server's rows.
    void backupOfServer()
    {
        QCOMPARE(initServer(m_server, QStringLiteral("Dor"), {QStringLiteral("--demo")}).code, 0);
        const QString file = m_dir->filePath(QStringLiteral("salinan.sqlite"));
        const AdminRun result = runAdmin({QStringLiteral("backup"), file});
        QVERIFY2(result.code == 0, qPrintable(result.err));
        QVERIFY2(result.out.contains(QStringLiteral("DataPelanggan 20 rows, DataBarang 200 rows, Operator 1 rows")),
                 qPrintable(result.out));
        QCOMPARE(TestDatabase::exec(file, QStringLiteral("PRAGMA integrity_check")), QVariantList{QStringLiteral("ok")});
        QCOMPARE(TestDatabase::exec(file, QStringLiteral("PRAGMA journal_mode")), QVariantList{QStringLiteral("delete")});
        QCOMPARE(TestDatabase::exec(file, QStringLiteral("SELECT sum(\"Harga Satuan\" * \"Banyak Barang\") FROM \"DataBarang\"")),
                 TestServer::exec(m_server, QStringLiteral("SELECT sum(\"Harga Satuan\" * \"Banyak Barang\") FROM \"DataBarang\"")));
        QVERIFY(!QFile::exists(file + QStringLiteral(".part")));
        QCOMPARE(runAdmin({QStringLiteral("backup"), file}).code, 1);  // never overwrites without --force
    }

    // Export from the server writes the very bytes it writes from the SQLite
    // file the server's rows were copied from; import into an empty server
    // database; restore stays with SQLite.
    void csvWithServer()
    {
        const QString failed = ServerCopy::makeBoth(m_server);
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        const QString fromFile = m_dir->filePath(QStringLiteral("file"));
        const QString fromServer = m_dir->filePath(QStringLiteral("server"));
        QCOMPARE(runAdmin({QStringLiteral("export"), QStringLiteral("--csv"), fromFile}).code, 0);
        const AdminRun run = runAdmin({QStringLiteral("export"), QStringLiteral("--alias"), QStringLiteral("Kantor"),
                                       QStringLiteral("--csv"), fromServer});
        QVERIFY2(run.code == 0, qPrintable(run.err));
        QVERIFY2(run.out.contains(QStringLiteral("Exported 225 rows to %1 from %2.").arg(fromServer, m_server.describe())),
                 qPrintable(run.out));
        for (const QString& name : {QStringLiteral("/DataPelanggan.csv"), QStringLiteral("/DataBarang.csv")}) {
            const QByteArray expected = readAll(fromFile + name);
            QVERIFY(expected.contains(name.contains(QLatin1String("Barang")) ? "\r\n1000.5,É01,BRG01,,,1250.5,3,F9,2024-02-29,,3751.5\r\n"
                                                                             : "\r\nÉ01,Élodie Ñuñez,\"Jl. \"\"Ceri\"\", 5\",\r\n"));
            QCOMPARE(readAll(fromServer + name), expected);
        }

        importIntoServer(fromServer, fromFile);

        const AdminRun restore = runAdmin({QStringLiteral("restore"), QStringLiteral("--alias"), QStringLiteral("Kantor"),
                                           AliasConfig::defaultDatabasePath()});
        QCOMPARE(restore.code, 1);
        QVERIFY2(restore.err.contains(QStringLiteral("copy --from")), qPrintable(restore.err));
    }

private:
    // Import of the files `dir` into an empty server database: the export from
    // there gives the files of `expected` again; a second import is refused, a
    // bad value writes nothing.
    void importIntoServer(const QString& dir, const QString& expected)
    {
        const AliasConfig::Alias empty = TestServer::alias(TestServer::createDatabase());
        const auto dropped = qScopeGuard([&] { TestServer::dropDatabase(empty.dbname); });
        QCOMPARE(initServer(empty, QStringLiteral("Baru"), {QStringLiteral("--operator"), QStringLiteral("X"),
                                                            QStringLiteral("--operator-password-stdin")},
                            "x\n").code,
                 0);
        QFile bad(m_dir->filePath(QStringLiteral("bad/DataBarang.csv")));
        QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("bad"))));
        QVERIFY(QFile::copy(dir + QStringLiteral("/DataPelanggan.csv"), m_dir->filePath(QStringLiteral("bad/DataPelanggan.csv"))));
        QVERIFY(QFile::copy(dir + QStringLiteral("/DataBarang.csv"), bad.fileName()));
        QVERIFY(bad.open(QIODevice::Append));
        bad.write("2000,P001,,,,,,,2024-02-30,,\r\n");
        bad.close();
        const QStringList intoBaru{QStringLiteral("import"), QStringLiteral("--alias"), QStringLiteral("Baru"),
                                   QStringLiteral("--csv")};
        AdminRun run = runAdmin(intoBaru + QStringList{m_dir->filePath(QStringLiteral("bad")), QStringLiteral("--edited")});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("DataBarang.csv line 205, column 9: Tanggal")), qPrintable(run.err));
        QCOMPARE(TestServer::exec(empty, QStringLiteral("SELECT count(*) FROM \"DataPelanggan\"")).value(0).toInt(), 0);

        run = runAdmin(intoBaru + QStringList{dir});
        QVERIFY2(run.code == 0, qPrintable(run.err));
        QVERIFY2(run.out.contains(QStringLiteral("Imported 225 rows")), qPrintable(run.out));
        const QString again = m_dir->filePath(QStringLiteral("again"));
        QCOMPARE(runAdmin({QStringLiteral("export"), QStringLiteral("--alias"), QStringLiteral("Baru"), QStringLiteral("--csv"),
                           again}).code,
                 0);
        for (const QString& name : {QStringLiteral("/DataPelanggan.csv"), QStringLiteral("/DataBarang.csv")})
            QCOMPARE(readAll(again + name), readAll(expected + name));
        run = runAdmin(intoBaru + QStringList{dir});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("is not empty")), qPrintable(run.err));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    AliasConfig::Alias m_server;
};

QTEST_GUILESS_MAIN(TestAdminServer)
#include "tst_AdminServer.moc"
