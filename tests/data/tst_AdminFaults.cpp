// pwangsa-admin under real faults: a full disk (a small tmpfs, as root),
// targets that are not files, an export cut short, a database that lacks a
// column, a database in use, a path that names the database by another way,
// another process writing during a backup, a write-protected medium, files
// others can read.

#include "AdminProcess.h"
#include "Outcome.h"
#include "TemporaryHome.h"
#include "TestDatabase.h"

#include "data/DataModel.h"
#include "data/SqlConnection.h"

#include <QDir>
#include <QtTest>

#include <csignal>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

int mode(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
}

bool run(const QString& program, const QStringList& arguments)
{
    return QProcess::execute(program, arguments) == 0;
}

// A tmpfs of `kilobytes` mounted on a folder for the test's time (root only).
class SmallDisk {
public:
    SmallDisk(const QString& folder, int kilobytes) : m_folder(folder)
    {
        QDir().mkpath(folder);
        m_mounted = ::geteuid() == 0
            && run(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                             QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("tmpfs"), folder});
    }
    ~SmallDisk()
    {
        if (m_mounted)
            run(QStringLiteral("umount"), {QStringLiteral("-l"), m_folder});
    }
    bool mounted() const { return m_mounted; }
    bool makeReadOnly() const
    {
        return run(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,ro"), m_folder});
    }

private:
    QString m_folder;
    bool m_mounted = false;
};

// Child: inserts order lines one transaction each until it is killed.
int keepInserting()
{
    QObject owner;
    auto views = DataModel::SetupAll(&owner);
    TTable* barang = views.barang.Barang;
    say("inserting");
    for (int number = 100000;; ++number) {
        barang->Insert();
        views.barang.BarangNoPesanan->SetAsReal(number);
        barang->Post();
    }
}

// Child: holds a writing connection of pwangsa-admin's kind (copy --to and
// import use it) on the database until its input ends.
int holdWritingConnection()
{
    const auto alias = AliasConfig::find(QStringLiteral("Dor"));
    SqlConnection::with(*alias, QStringLiteral("writer"), [](QSqlDatabase&) {
        say("open");
        std::string line;
        std::getline(std::cin, line);
    });
    return 0;
}

} // namespace

class TestAdminFaults : public QObject {
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

    // Onto a full disk every output fails with the cause, and the earlier
    // file of that name, or the earlier export, stays whole.
    void fullDiskKeepsTheEarlierOutputs()
    {
        const QString disk = m_dir->filePath(QStringLiteral("stick"));
        SmallDisk small(disk, 40);
        if (!small.mounted())
            QSKIP("a small disk needs root (mount -t tmpfs)");
        const QDir folder(disk);
        writeFile(folder.filePath(QStringLiteral("harian.pdf")), "earlier");
        QCOMPARE(runAdmin({QStringLiteral("export"), QStringLiteral("--csv"), folder.filePath(QStringLiteral("x"))}).code, 0);
        const QByteArray exported = readFile(folder.filePath(QStringLiteral("x/DataBarang.csv")));
        writeFile(folder.filePath(QStringLiteral("filler")), QByteArray(4096, 'f'));  // leaves too little for another copy

        for (const QStringList& arguments :
             {QStringList{QStringLiteral("report"), QStringLiteral("harian"), QStringLiteral("--pdf"),
                          folder.filePath(QStringLiteral("harian.pdf"))},
              QStringList{QStringLiteral("report"), QStringLiteral("harian"), QStringLiteral("--rpf"),
                          folder.filePath(QStringLiteral("harian.rpf"))},
              QStringList{QStringLiteral("export"), QStringLiteral("--csv"), folder.filePath(QStringLiteral("x"))},
              QStringList{QStringLiteral("backup"), folder.filePath(QStringLiteral("copy.sqlite"))}}) {
            const AdminRun result = runAdmin(arguments);
            QVERIFY2(result.code == 1, qPrintable(arguments.join(QLatin1Char(' ')) + QLatin1Char('\n') + result.out));
            QVERIFY2(!result.out.contains(QStringLiteral("written")), qPrintable(result.out));
            QVERIFY2(!result.err.contains(QStringLiteral("Unknown error")), qPrintable(result.err));
        }
        // The page store spilling into a full temporary folder names the cause too.
        const QByteArray temporary = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(disk));
        const AdminRun spilled = runAdmin({QStringLiteral("report"), QStringLiteral("harian"), QStringLiteral("--rpf"),
                                           m_dir->filePath(QStringLiteral("harian.rpf"))});
        qputenv("TMPDIR", temporary);
        QVERIFY2(spilled.code == 1 && spilled.err.contains(QStringLiteral("No space left on device")),
                 qPrintable(spilled.err));
        QCOMPARE(readFile(folder.filePath(QStringLiteral("harian.pdf"))), QByteArray("earlier"));
        QCOMPARE(readFile(folder.filePath(QStringLiteral("x/DataBarang.csv"))), exported);
        QCOMPARE(QDir(disk).entryList(QDir::Files | QDir::Hidden).join(QLatin1Char(' ')),
                 QStringLiteral("filler harian.pdf"));  // no partial file left behind
        // The earlier export is still the pair its manifest describes.
        TestDatabase::exec(m_db, QStringLiteral("DELETE FROM DataBarang"));
        TestDatabase::exec(m_db, QStringLiteral("DELETE FROM DataPelanggan"));
        QCOMPARE(runAdmin({QStringLiteral("import"), QStringLiteral("--csv"), folder.filePath(QStringLiteral("x"))}).code, 0);
    }

    // A device, a FIFO or a folder is never replaced; "-" is standard output.
    void targetsThatAreNotFiles()
    {
        const QString fifo = m_dir->filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString folder = m_dir->filePath(QStringLiteral("folder"));
        QDir().mkpath(folder);
        for (const QString& target : {fifo, folder}) {
            for (const QStringList& arguments :
                 {QStringList{QStringLiteral("report"), QStringLiteral("pelanggan"), QStringLiteral("--pdf"), target},
                  QStringList{QStringLiteral("backup"), QStringLiteral("--force"), target},
                  QStringList{QStringLiteral("init"), QStringLiteral("--demo"), QStringLiteral("--force"),
                              QStringLiteral("--path"), target}}) {
                const AdminRun result = runAdmin(arguments);
                QVERIFY2(result.code == 2, qPrintable(arguments.join(QLatin1Char(' ')) + QLatin1Char('\n') + result.err));
                QVERIFY2(result.err.contains(QStringLiteral("not a regular file")), qPrintable(result.err));
            }
        }
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        const AdminRun piped = runAdmin({QStringLiteral("report"), QStringLiteral("pelanggan"), QStringLiteral("--pdf"), QStringLiteral("-")});
        QCOMPARE(piped.code, 0);
        QVERIFY(piped.out.startsWith(QStringLiteral("%PDF-")));
        QVERIFY(piped.out.trimmed().endsWith(QStringLiteral("%%EOF")));
    }

    // Only files that one export wrote together are imported, unless the
    // user says they were edited.
    void importTakesOnlyAPairWrittenTogether()
    {
        const QString first = m_dir->filePath(QStringLiteral("first"));
        const QString second = m_dir->filePath(QStringLiteral("second"));
        QCOMPARE(runAdmin({QStringLiteral("export"), QStringLiteral("--csv"), first}).code, 0);
        TestDatabase::exec(m_db, QStringLiteral("DELETE FROM DataBarang WHERE \"No Pesanan\" > 100"));
        QCOMPARE(runAdmin({QStringLiteral("export"), QStringLiteral("--csv"), second}).code, 0);
        TestDatabase::exec(m_db, QStringLiteral("DELETE FROM DataBarang"));
        TestDatabase::exec(m_db, QStringLiteral("DELETE FROM DataPelanggan"));

        // As an export killed between its two files would leave them.
        QFile::remove(second + QStringLiteral("/DataBarang.csv"));
        QFile::copy(first + QStringLiteral("/DataBarang.csv"), second + QStringLiteral("/DataBarang.csv"));
        AdminRun result = runAdmin({QStringLiteral("import"), QStringLiteral("--csv"), second});
        QCOMPARE(result.code, 1);
        QVERIFY2(result.err.contains(QStringLiteral("does not match export.manifest")), qPrintable(result.err));
        QFile::remove(first + QStringLiteral("/export.manifest"));
        result = runAdmin({QStringLiteral("import"), QStringLiteral("--csv"), first});
        QCOMPARE(result.code, 1);
        QVERIFY2(result.err.contains(QStringLiteral("were not written together")), qPrintable(result.err));
        QCOMPARE(TestDatabase::exec(m_db, QStringLiteral("SELECT count(*) FROM DataBarang")).value(0).toInt(), 0);

        // Edited by hand, with a last empty line: accepted when said so.
        QFile csv(first + QStringLiteral("/DataBarang.csv"));
        QVERIFY(csv.open(QIODevice::Append));
        csv.write("\r\n");
        csv.close();
        result = runAdmin({QStringLiteral("import"), QStringLiteral("--csv"), first, QStringLiteral("--edited")});
        QVERIFY2(result.code == 0, qPrintable(result.err));
        QCOMPARE(TestDatabase::exec(m_db, QStringLiteral("SELECT count(*) FROM DataBarang")).value(0).toInt(), 200);
    }

    // SQLite reads a missing double-quoted column as its own name: export
    // and copy look at the columns first and name the missing one.
    void missingColumnIsRefused()
    {
        TestDatabase::exec(m_db, QStringLiteral("ALTER TABLE DataPelanggan DROP COLUMN \"Alamat\""));
        const QString copyFile = m_dir->filePath(QStringLiteral("copy.sqlite"));
        QCOMPARE(runAdmin({QStringLiteral("init"), QStringLiteral("--alias"), QStringLiteral("Copy"), QStringLiteral("--path"),
                           copyFile, QStringLiteral("--user"), QStringLiteral("A"), QStringLiteral("--password-stdin")},
                          "x\n")
                     .code,
                 0);
        for (const QStringList& arguments :
             {QStringList{QStringLiteral("export"), QStringLiteral("--csv"), m_dir->filePath(QStringLiteral("csv"))},
              QStringList{QStringLiteral("copy"), QStringLiteral("--from"), QStringLiteral("Dor"), QStringLiteral("--to"),
                          QStringLiteral("Copy")}}) {
            const AdminRun result = runAdmin(arguments);
            QCOMPARE(result.code, 1);
            QVERIFY2(result.err.contains(QStringLiteral("table DataPelanggan lacks the field \"Alamat\"")), qPrintable(result.err));
        }
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("csv/DataPelanggan.csv"))));
        QCOMPARE(TestDatabase::exec(copyFile, QStringLiteral("SELECT count(*) FROM DataPelanggan")).value(0).toInt(), 0);
    }

    // init --force replaces a database of this program that nobody has open,
    // nothing else; the names the database goes by are all the same file.
    void replacingOnlyOurIdleDatabase()
    {
        const QString text = m_dir->filePath(QStringLiteral("notes.txt"));
        writeFile(text, "not a database");
        AdminRun result = runAdmin({QStringLiteral("init"), QStringLiteral("--demo"), QStringLiteral("--force"),
                                    QStringLiteral("--path"), text});
        QCOMPARE(result.code, 1);
        QVERIFY2(result.err.contains(QStringLiteral("replaces only a PWANGSA database")), qPrintable(result.err));
        QCOMPARE(readFile(text), QByteArray("not a database"));

        TestDatabase::exec(m_db, QStringLiteral("DELETE FROM DataBarang"));
        {
            QObject owner;
            DataModel::SetupAll(&owner);  // the program is running on it
            result = runAdmin({QStringLiteral("init"), QStringLiteral("--demo"), QStringLiteral("--force")});
            QCOMPARE(result.code, 1);
            QVERIFY2(result.err.contains(QStringLiteral("in use")), qPrintable(result.err));
            // A folder linked to the database's folder names the database too.
            const QString link = m_dir->filePath(QStringLiteral("linked"));
            QVERIFY(QFile::link(QFileInfo(m_db).absolutePath(), link));
            result = runAdmin({QStringLiteral("backup"), QStringLiteral("--force"), link + QStringLiteral("/dor.sqlite")});
            QCOMPARE(result.code, 2);
            QVERIFY2(result.err.contains(QStringLiteral("must not be the database itself")), qPrintable(result.err));
            QCOMPARE(runAdmin({QStringLiteral("restore"), link + QStringLiteral("/dor.sqlite")}).code, 2);
        }
        closeAllDatabases();
        QCOMPARE(TestDatabase::exec(m_db, QStringLiteral("SELECT count(*) FROM DataBarang")).value(0).toInt(), 0);
        QCOMPARE(runAdmin({QStringLiteral("init"), QStringLiteral("--demo"), QStringLiteral("--force")}).code, 0);
        QCOMPARE(TestDatabase::exec(m_db, QStringLiteral("SELECT count(*) FROM DataBarang")).value(0).toInt(), 200);
    }

    // Another program writing all the time neither keeps a backup from ending
    // nor goes unnoticed by restore, which never waits for a writer.
    void otherWritersDuringBackupAndRestore()
    {
        QObject owner;
        QProcess* inserter = startSelf(&owner, QStringLiteral("--keep-inserting"));
        QCOMPARE(nextLine(inserter), QByteArray("inserting"));
        const QString file = m_dir->filePath(QStringLiteral("backup.sqlite"));
        const AdminRun backup = runAdmin({QStringLiteral("backup"), file});
        QVERIFY2(backup.code == 0, qPrintable(backup.err));
        QVERIFY(TestDatabase::exec(file, QStringLiteral("SELECT count(*) FROM DataBarang")).value(0).toInt() >= 200);
        inserter->kill();
        inserter->waitForFinished();

        QProcess* writer = startSelf(&owner, QStringLiteral("--hold-writing-connection"));
        QCOMPARE(nextLine(writer), QByteArray("open"));
        const qint64 lines = TestDatabase::exec(m_db, QStringLiteral("SELECT count(*) FROM DataBarang")).value(0).toLongLong();
        const AdminRun restore = runAdmin({QStringLiteral("restore"), file});
        QCOMPARE(restore.code, 1);
        QVERIFY2(restore.err.contains(QStringLiteral("in use")), qPrintable(restore.err));
        QCOMPARE(TestDatabase::exec(m_db, QStringLiteral("SELECT count(*) FROM DataBarang")).value(0).toLongLong(), lines);
        writer->closeWriteChannel();
        QVERIFY(writer->waitForFinished(20000));
    }

    // What the tool writes is for its owner only; a password in an alias
    // file that others can read is warned of.
    void filesForTheOwnersEyesOnly()
    {
        const QString backup = m_dir->filePath(QStringLiteral("b/backup.sqlite"));
        const QString csv = m_dir->filePath(QStringLiteral("csv"));
        QCOMPARE(runAdmin({QStringLiteral("backup"), backup}).code, 0);
        QCOMPARE(runAdmin({QStringLiteral("export"), QStringLiteral("--csv"), csv}).code, 0);
        QCOMPARE(runAdmin({QStringLiteral("restore"), backup}).code, 0);
        QObject owner;
        DataModel::SetupAll(&owner);  // the program makes the lock file
        for (const QString& path : {m_db, m_db + QStringLiteral("-locks"), m_db + QStringLiteral(".before-restore"), backup,
                                    csv + QStringLiteral("/DataBarang.csv"), csv + QStringLiteral("/export.manifest"),
                                    AliasConfig::configFile()})
            QVERIFY2(mode(path) == 0600, qPrintable(path + QStringLiteral(" %1").arg(mode(path), 0, 8)));
        for (const QString& path : {QFileInfo(m_db).absolutePath(), QFileInfo(backup).absolutePath(), csv})
            QVERIFY2(mode(path) == 0700, qPrintable(path + QStringLiteral(" %1").arg(mode(path), 0, 8)));

        AliasConfig::Alias server;
        server.driver = AliasConfig::kPostgres;
        server.host = QStringLiteral("127.0.0.1");
        server.dbname = server.user = QStringLiteral("pwangsa");
        server.password = QStringLiteral("rahasia");
        AliasConfig::write(QStringLiteral("Kantor"), server);
        QCOMPARE(mode(AliasConfig::configFile()), 0600);
        QVERIFY(!runAdmin({QStringLiteral("export"), QStringLiteral("--csv"), csv}).err.contains(QStringLiteral("warning")));
        QFile::setPermissions(AliasConfig::configFile(), QFile::permissions(AliasConfig::configFile()) | QFileDevice::ReadOther);
        const AdminRun warned = runAdmin({QStringLiteral("export"), QStringLiteral("--csv"), csv});
        QVERIFY2(warned.err.contains(QStringLiteral("can be read by other users")), qPrintable(warned.err));
        QCOMPARE(warned.code, 0);
    }

    // A backup on a write-protected medium is read where it lies.
    void readingFromAWriteProtectedMedium()
    {
        const QString stick = m_dir->filePath(QStringLiteral("stick"));
        SmallDisk medium(stick, 2048);
        if (!medium.mounted())
            QSKIP("a write-protected medium needs root (mount -t tmpfs)");
        QCOMPARE(runAdmin({QStringLiteral("backup"), stick + QStringLiteral("/dor.sqlite")}).code, 0);
        QVERIFY(medium.makeReadOnly());
        AliasConfig::write(QStringLiteral("Dor"), AliasConfig::Alias{QStringLiteral("sqlite"), stick + QStringLiteral("/dor.sqlite")});
        AliasConfig::write(QStringLiteral("Desk"), AliasConfig::Alias{QStringLiteral("sqlite"), m_db});
        TestDatabase::exec(m_db, QStringLiteral("DELETE FROM DataBarang"));
        TestDatabase::exec(m_db, QStringLiteral("DELETE FROM DataPelanggan"));
        for (const QStringList& arguments :
             {QStringList{QStringLiteral("backup"), m_dir->filePath(QStringLiteral("again.sqlite"))},
              QStringList{QStringLiteral("export"), QStringLiteral("--csv"), m_dir->filePath(QStringLiteral("csv"))},
              QStringList{QStringLiteral("report"), QStringLiteral("harian"), QStringLiteral("--pdf"),
                          m_dir->filePath(QStringLiteral("harian.pdf"))},
              QStringList{QStringLiteral("copy"), QStringLiteral("--from"), QStringLiteral("Dor"), QStringLiteral("--to"),
                          QStringLiteral("Desk"), QStringLiteral("--force")}}) {
            const AdminRun result = runAdmin(arguments);
            QVERIFY2(result.code == 0, qPrintable(arguments.join(QLatin1Char(' ')) + QLatin1Char('\n') + result.err));
        }
        QCOMPARE(TestDatabase::exec(m_db, QStringLiteral("SELECT count(*) FROM DataBarang")).value(0).toInt(), 200);
    }

    // Import reads line by line, and says so of what it can't take.
    void importChecksWhatItStreams_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QString>("message");
        const QByteArray header = "Kode Pelanggan,Nama Pelanggan,Alamat,No Telepon";
        QTest::newRow("blank key") << header << QByteArray("   ,NAMA,,") << QStringLiteral("line 2, column 1: Kode Pelanggan: the key must not be empty or blank");
        QTest::newRow("column twice") << header + ",Alamat" << QByteArray("P1,N,A,T,A") << QStringLiteral("line 1, column 5: the header names \"Alamat\" twice");
        QTest::newRow("duplicate key") << header << QByteArray("P1,A,,\r\nP1,B,,") << QStringLiteral("line 3, column 1: Kode Pelanggan: the key \"P1\" is already in the file");
    }
    void importChecksWhatItStreams()
    {
        QFETCH(QByteArray, header);
        QFETCH(QByteArray, row);
        QFETCH(QString, message);
        const QDir dir(m_dir->filePath(QStringLiteral("csv")));
        QCOMPARE(runAdmin({QStringLiteral("export"), QStringLiteral("--csv"), dir.path()}).code, 0);
        writeFile(dir.filePath(QStringLiteral("DataPelanggan.csv")), header + "\r\n" + row + "\r\n");
        TestDatabase::exec(m_db, QStringLiteral("DELETE FROM DataBarang"));
        TestDatabase::exec(m_db, QStringLiteral("DELETE FROM DataPelanggan"));
        const AdminRun result = runAdmin({QStringLiteral("import"), QStringLiteral("--csv"), dir.path(), QStringLiteral("--edited")});
        QCOMPARE(result.code, 1);
        QVERIFY2(result.err.contains(QStringLiteral("DataPelanggan.csv ") + message), qPrintable(result.err));
        QCOMPARE(TestDatabase::exec(m_db, QStringLiteral("SELECT count(*) FROM DataPelanggan")).value(0).toInt(), 0);

        QFile::remove(dir.filePath(QStringLiteral("DataBarang.csv")));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("DataBarang.csv"))).constData(), 0600), 0);
        QCOMPARE(runAdmin({QStringLiteral("import"), QStringLiteral("--csv"), dir.path(), QStringLiteral("--edited")}).code, 2);
    }

    // Clear words where the tool said something else.
    void messagesThatSayWhatIsWrong()
    {
        AliasConfig::write(QStringLiteral("Rusak"), AliasConfig::Alias{QStringLiteral("sqlite"), m_dir->filePath(QStringLiteral("junk"))});
        writeFile(m_dir->filePath(QStringLiteral("junk")), QByteArray(4096, 'j'));
        AdminRun result = runAdmin({QStringLiteral("passwd"), QStringLiteral("--alias"), QStringLiteral("Rusak"),
                                    QStringLiteral("--password-stdin")},
                                   "baru\n");
        QCOMPARE(result.code, 1);
        QVERIFY2(result.err.contains(QStringLiteral("not a database")), qPrintable(result.err));

        QFile aliases(AliasConfig::configFile());
        QVERIFY(aliases.open(QIODevice::Append));
        aliases.write("\n[Kantor]\ndriver=postgres\nhost=db\nport=abc\ndbname=p\nuser=k\n");
        aliases.close();
        result = runAdmin({QStringLiteral("export"), QStringLiteral("--alias"), QStringLiteral("Kantor"), QStringLiteral("--csv"), QStringLiteral("x")});
        QCOMPARE(result.code, 1);
        QVERIFY2(result.err.contains(QStringLiteral("Alias Kantor in ")) && result.err.contains(QStringLiteral("port=abc is not a port number")),
                 qPrintable(result.err));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_db;
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--keep-inserting") == 0)
        return keepInserting();
    if (argc > 1 && qstrcmp(argv[1], "--hold-writing-connection") == 0)
        return holdWritingConnection();
    TestAdminFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_AdminFaults.moc"
