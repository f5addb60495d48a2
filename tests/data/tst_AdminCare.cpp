// pwangsa-admin's data care over real files: backup while another process
// edits, restore with its safeguards, CSV export and import with their
// checks, usage errors.

#include "AdminProcess.h"
#include "TestDatabase.h"

#include "data/DataModel.h"
#include "data/Exceptions.h"
#include "data/RecordLock.h"

#include <QDir>
#include <QSqlRecord>
#include <QtTest>

#include "TemporaryHome.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kNewCustomer = QStringLiteral("P099");

// Every row of the two data tables in key order, one text per row.
QStringList dump(const QString& path)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test-dump"));
        db.setDatabaseName(path);
        db.open();
        for (const char* sql : {"SELECT * FROM DataPelanggan ORDER BY 1", "SELECT * FROM DataBarang ORDER BY 1"}) {
            QSqlQuery query(QString::fromLatin1(sql), db);
            while (query.next()) {
                QStringList values;
                for (int i = 0; i < query.record().count(); ++i)
                    values.append(query.isNull(i) ? QStringLiteral("<null>") : query.value(i).toString());
                rows.append(values.join(QLatin1Char('|')));
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test-dump"));
    return rows;
}

int count(const QString& path, const QString& table)
{
    return TestDatabase::exec(path, QStringLiteral("SELECT count(*) FROM ") + table).value(0).toInt();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void appendLine(const QString& path, const QByteArray& line)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write(line + "\r\n");
}

}

class TestAdminCare : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        useTemporaryHome(*m_dir);
        QCOMPARE(runAdmin({QStringLiteral("init"), QStringLiteral("--demo")}).code, 0);
        m_db = AliasConfig::defaultDatabasePath();
    }
    void cleanup()
    {
        closeAllDatabases();
        m_dir.reset();
    }

    // This test process is the running program: one record stays in edit
    // (locked) while pwangsa-admin copies the database.
    void backupWhileAnotherProcessEdits()
    {
        QObject owner;
        const auto views = DataModel::SetupAll(&owner);
        const auto& p = views.pelanggan;
        p.Pelanggan->Insert();
        p.PelangganKodePelanggan->SetAsString(kNewCustomer);
        p.PelangganNamaPelanggan->SetAsString(QStringLiteral("POSTED"));
        p.Pelanggan->Post();
        QVERIFY(p.Pelanggan->FindByKey({QStringLiteral("Kode Pelanggan")}, QStringLiteral("P001")));
        p.Pelanggan->Edit();
        p.PelangganNamaPelanggan->SetAsString(QStringLiteral("NOT POSTED"));

        const QString file = m_dir->filePath(QStringLiteral("simpan/dor-backup.sqlite"));
        QDir().mkpath(QFileInfo(file).absolutePath());
        const AdminRun run = runAdmin({QStringLiteral("backup"), file});
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.contains(QStringLiteral("DataPelanggan 21 rows, DataBarang 200 rows, Operator 1 rows")),
                 qPrintable(run.out));
        p.Pelanggan->Cancel();
        QCOMPARE(dump(file), dump(m_db));
        QVERIFY(dump(file).join(QLatin1Char('\n')).contains(QStringLiteral("POSTED")));
        QVERIFY(!dump(file).join(QLatin1Char('\n')).contains(QStringLiteral("NOT POSTED")));
        // One self-contained file, which the program opens directly.
        QVERIFY(!QFile::exists(file + QStringLiteral("-wal")));
        QVERIFY(!QFile::exists(file + QStringLiteral(".part")));
        QCOMPARE(TestDatabase::exec(file, QStringLiteral("PRAGMA journal_mode")).value(0).toString(),
                 QStringLiteral("delete"));
        // An existing file is kept unless --force is given.
        const QByteArray before = readFile(file);
        QCOMPARE(runAdmin({QStringLiteral("backup"), file}).code, 1);
        QCOMPARE(readFile(file), before);

        closeAllDatabases();
        AliasConfig::write(QStringLiteral("Dor"), AliasConfig::Alias{QStringLiteral("sqlite"), file});
        QObject reader;
        QCOMPARE(DataModel::SetupAll(&reader).penjualan.Penjualan->RecordCount(), 200);

    }

    void restoreRoundTripKeepsThePreviousDatabase()
    {
        const QString file = m_dir->filePath(QStringLiteral("backup.sqlite"));
        QCOMPARE(runAdmin({QStringLiteral("backup"), file}).code, 0);
        const QStringList saved = dump(m_db);
        TestDatabase::exec(m_db, QStringLiteral("DELETE FROM DataBarang WHERE \"No Pesanan\" > 50"));
        const QStringList changed = dump(m_db);

        const AdminRun run = runAdmin({QStringLiteral("restore"), file});
        QCOMPARE(run.code, 0);
        QVERIFY(run.out.contains(QStringLiteral("DataBarang 200 rows")));
        QCOMPARE(dump(m_db), saved);
        QCOMPARE(dump(m_db + QStringLiteral(".before-restore")), changed);
        QVERIFY(!QFile::exists(m_db + QStringLiteral(".restoring")));
        QObject owner;
        QCOMPARE(DataModel::SetupAll(&owner).penjualan.Penjualan->RecordCount(), 200);
    }

    void restoreRejectsBadFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a database") << QByteArray(5000, 'x') << QStringLiteral("Cannot copy");
        QTest::newRow("other tables") << QByteArray() << QStringLiteral("not a PWANGSA database");
    }
    void restoreRejectsBadFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const QString file = m_dir->filePath(QStringLiteral("bad.sqlite"));
        if (content.isEmpty()) {
            TestDatabase::exec(file, QStringLiteral("CREATE TABLE DataPelanggan (x)"));
        } else {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(content);
        }
        const QStringList saved = dump(m_db);
        const AdminRun run = runAdmin({QStringLiteral("restore"), file});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(dump(m_db), saved);
        QVERIFY(!QFile::exists(m_db + QStringLiteral(".before-restore")));
        QVERIFY(!QFile::exists(m_db + QStringLiteral(".restoring")));
    }

    void restoreRefusedWhileInUse()
    {
        const QString file = m_dir->filePath(QStringLiteral("backup.sqlite"));
        QCOMPARE(runAdmin({QStringLiteral("backup"), file}).code, 0);
        TestDatabase::exec(m_db, QStringLiteral("DELETE FROM DataBarang"));
        {
            QObject owner;
            DataModel::SetupAll(&owner);  // the program has the database open, idle
            const AdminRun run = runAdmin({QStringLiteral("restore"), file});
            QCOMPARE(run.code, 1);
            QVERIFY2(run.err.contains(QStringLiteral("in use by a running program")), qPrintable(run.err));
            QCOMPARE(count(m_db, QStringLiteral("DataBarang")), 0);
        }
        closeAllDatabases();
        QCOMPARE(runAdmin({QStringLiteral("restore"), file}).code, 0);
        QCOMPARE(count(m_db, QStringLiteral("DataBarang")), 200);
    }

    // While restore switches files, it holds the in-use byte exclusively; a
    // child process does the same here, and the engine must not open.
    void noProgramOpensDuringRestore()
    {
        const QByteArray lockFile = QFile::encodeName(m_db + QStringLiteral("-locks"));
        int ready[2];
        int release[2];
        QVERIFY(::pipe(ready) == 0 && ::pipe(release) == 0);
        const pid_t child = ::fork();
        if (child == 0) {
            const int fd = ::open(lockFile.constData(), O_RDWR | O_CREAT, 0644);
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            lock.l_start = RecordLocks::kInUseByte;
            lock.l_len = 1;
            char answer = ::fcntl(fd, F_SETLK, &lock) == 0 ? 'y' : 'n';
            if (::write(ready[1], &answer, 1) == 1 && ::read(release[0], &answer, 1) >= 0)
                ::_exit(0);
            ::_exit(1);
        }
        char answer = 0;
        QCOMPARE(::read(ready[0], &answer, 1), ssize_t(1));
        QCOMPARE(answer, 'y');
        QString message;
        try {
            openDatabase(QStringLiteral("Dor"));
        } catch (const EDBEngineError& error) {
            message = error.message();
        }
        QCOMPARE(::write(release[1], "x", 1), ssize_t(1));
        ::waitpid(child, nullptr, 0);
        for (int fd : {ready[0], ready[1], release[0], release[1]})
            ::close(fd);
        QVERIFY2(message.contains(QStringLiteral("being restored")), qPrintable(message));
        QVERIFY(openDatabase(QStringLiteral("Dor")));
    }

    void exportImportRoundTrip()
    {
        TestDatabase::exec(m_db, QStringLiteral("INSERT INTO DataPelanggan VALUES (?, ?, ?, NULL)"),
                           {kNewCustomer, QStringLiteral("TOKO \"MAJU\", JAYA"), QStringLiteral("Jl. Baru 1\nBandung")});
        TestDatabase::exec(m_db,
                           QStringLiteral("INSERT INTO DataBarang (\"No Pesanan\", \"Kode Pelanggan\", \"Banyak Barang\", "
                                          "\"Harga Satuan\", \"Tanggal\") VALUES (999, ?, 3, NULL, '2024-02-29'), "
                                          "(998.5, ?, 2.5, 1000.25, NULL)"),
                           {kNewCustomer, kNewCustomer});
        const QString dir = m_dir->filePath(QStringLiteral("csv"));
        AdminRun run = runAdmin({QStringLiteral("export"), QStringLiteral("--csv"), dir});
        QCOMPARE(run.code, 0);
        QVERIFY(run.out.contains(QStringLiteral("Exported 223 rows to")));

        const QString lines = QString::fromUtf8(readFile(dir + QStringLiteral("/DataBarang.csv")));
        QVERIFY(lines.startsWith(QStringLiteral("No Pesanan,Kode Pelanggan,Kode Barang,Nama Barang,Jenis Barang,"
                                                "Harga Satuan,Banyak Barang,No Faktur,Tanggal,Total Jumlah,"
                                                "Jumlah Harga\r\n")));
        QVERIFY(lines.contains(QStringLiteral("\r\n998.5,P099,,,,1000.25,2.5,,,,2500.625\r\n")));
        QVERIFY(lines.contains(QStringLiteral("\r\n999,P099,,,,,3,,2024-02-29,,0\r\n")));
        QVERIFY(readFile(dir + QStringLiteral("/DataPelanggan.csv"))
                    .contains("\r\nP099,\"TOKO \"\"MAJU\"\", JAYA\",\"Jl. Baru 1\nBandung\",\r\n"));

        const QString copy = m_dir->filePath(QStringLiteral("copy.sqlite"));
        QCOMPARE(runAdmin({QStringLiteral("init"), QStringLiteral("--alias"), QStringLiteral("Copy"),
                           QStringLiteral("--path"), copy, QStringLiteral("--user"), QStringLiteral("A"),
                           QStringLiteral("--password-stdin")},
                          "x\n")
                     .code,
                 0);
        run = runAdmin({QStringLiteral("import"), QStringLiteral("--alias"), QStringLiteral("Copy"),
                        QStringLiteral("--csv"), dir});
        QCOMPARE(run.code, 0);
        QCOMPARE(dump(copy), dump(m_db));

        // Only into an empty database.
        run = runAdmin({QStringLiteral("import"), QStringLiteral("--alias"), QStringLiteral("Copy"),
                        QStringLiteral("--csv"), dir});
        QCOMPARE(run.code, 1);
        QVERIFY(run.err.contains(QStringLiteral("not empty")));
    }

    void badImportWritesNothing_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QString>("where");
        // The demonstration files hold 20 customers and 200 lines: the added
        // row is line 22 or 202.
        QTest::newRow("wrong date") << QStringLiteral("DataBarang") << QByteArray("500,P001,BRG01,A,KALENG,41000,2,F1,2024-02-30,,82000")
                                    << QStringLiteral("DataBarang.csv line 202, column 9: Tanggal");
        QTest::newRow("not a number") << QStringLiteral("DataBarang") << QByteArray("500,P001,BRG01,A,KALENG,\"41,000\",2,,,,")
                                      << QStringLiteral("DataBarang.csv line 202, column 6: Harga Satuan");
        QTest::newRow("code too long") << QStringLiteral("DataPelanggan") << QByteArray("P00001,NAMA,,")
                                       << QStringLiteral("DataPelanggan.csv line 22, column 1: Kode Pelanggan");
        QTest::newRow("duplicate key") << QStringLiteral("DataBarang") << QByteArray("1.0,P001,,,,,,,,,")
                                       << QStringLiteral("DataBarang.csv line 202, column 1: No Pesanan: the key \"1.0\" is already in the file");
        QTest::newRow("missing field") << QStringLiteral("DataBarang") << QByteArray("500,P001")
                                       << QStringLiteral("DataBarang.csv line 202, column 1: 2 fields");
        QTest::newRow("open quote") << QStringLiteral("DataPelanggan") << QByteArray("P100,\"NAMA,,")
                                    << QStringLiteral("DataPelanggan.csv line 22, column 2: a quoted field is not closed");
    }
    void badImportWritesNothing()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, row);
        QFETCH(QString, where);
        const QString dir = m_dir->filePath(QStringLiteral("csv"));
        QCOMPARE(runAdmin({QStringLiteral("export"), QStringLiteral("--csv"), dir}).code, 0);
        appendLine(dir + QLatin1Char('/') + file + QStringLiteral(".csv"), row);
        TestDatabase::exec(m_db, QStringLiteral("DELETE FROM DataBarang"));
        TestDatabase::exec(m_db, QStringLiteral("DELETE FROM DataPelanggan"));

        const AdminRun run = runAdmin({QStringLiteral("import"), QStringLiteral("--csv"), dir, QStringLiteral("--edited")});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(where), qPrintable(run.err));
        QCOMPARE(count(m_db, QStringLiteral("DataPelanggan")), 0);
        QCOMPARE(count(m_db, QStringLiteral("DataBarang")), 0);
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("backup without file") << QStringList{QStringLiteral("backup")} << 2 << QStringLiteral("needs FILE");
        QTest::newRow("restore two files") << QStringList{QStringLiteral("restore"), QStringLiteral("a"), QStringLiteral("b")} << 2 << QStringLiteral("unexpected argument: b");
        QTest::newRow("export without dir") << QStringList{QStringLiteral("export")} << 2 << QStringLiteral("--csv DIR");
        QTest::newRow("import unknown alias") << QStringList{QStringLiteral("import"), QStringLiteral("--alias"), QStringLiteral("X"), QStringLiteral("--csv"), QStringLiteral("d")} << 1 << QStringLiteral("Unknown database alias: X");
        QTest::newRow("restore missing file") << QStringList{QStringLiteral("restore"), QStringLiteral("/nowhere/x.sqlite")} << 1 << QStringLiteral("not found");
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, message);
        const AdminRun run = runAdmin(arguments);
        QCOMPARE(run.code, code);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
    }

    void helpForEveryCommand()
    {
        for (const char* command : {"backup", "restore", "export", "import"}) {
            const AdminRun run = runAdmin({QString::fromLatin1(command), QStringLiteral("--help")});
            QCOMPARE(run.code, 0);
            QVERIFY2(run.out.startsWith(QStringLiteral("Usage: pwangsa-admin ") + QString::fromLatin1(command)),
                     qPrintable(run.out));
            QVERIFY(runAdmin({QStringLiteral("--help")}).out.contains(QString::fromLatin1(command)));
        }
    }

    void backupOfAnotherDriverIsRefused()
    {
        AliasConfig::write(QStringLiteral("Kantor"), AliasConfig::Alias{QStringLiteral("psql"), QStringLiteral("host=db")});
        const AdminRun run = runAdmin({QStringLiteral("backup"), QStringLiteral("--alias"), QStringLiteral("Kantor"),
                                       m_dir->filePath(QStringLiteral("x.sqlite"))});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("not supported yet")), qPrintable(run.err));
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("x.sqlite"))));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_db;
};

QTEST_GUILESS_MAIN(TestAdminCare)
#include "tst_AdminCare.moc"
