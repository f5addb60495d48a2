// Storage faults while the program runs, each over a real SQLite file: the
// post fails with a clear error, the edit stays open with what was typed, and
// the file holds every record posted before and none half-written.
// The program's side of a fault that needs a second process runs in a child:
// this test program started again with PWANGSA_FAULT_CHILD set.

#include "TestDatabase.h"

#include "data/DataModel.h"
#include "data/SqliteEngine.h"

#include <QProcess>
#include <QThread>
#include <QtTest>

#include <cstdio>

namespace {

const char* const ChildVariable = "PWANGSA_FAULT_CHILD";

QSqlDatabase engineConnection(const QString& path)
{
    return QSqlDatabase::database(QStringLiteral("pwangsa:") + path, false);
}

void execOnEngine(const QString& path, const QString& sql)
{
    QSqlQuery query(engineConnection(path));
    QVERIFY2(query.exec(sql), qPrintable(query.lastError().text()));
}

// The error a post raises; fails the test when it raises none.
EDBEngineError postError(TDataSet* view)
{
    try {
        view->Post();
    } catch (const EDBEngineError& error) {
        return error;
    }
    return EDBEngineError(0, QStringLiteral("the post succeeded"));
}

QString integrity(const QString& path)
{
    return TestDatabase::exec(path, QStringLiteral("PRAGMA integrity_check")).value(0).toString();
}

void insertCustomer(const DataModel::PelangganView& v, const QString& code, const QString& name)
{
    v.Pelanggan->Insert();
    v.PelangganKodePelanggan->SetAsString(code);
    v.PelangganNamaPelanggan->SetAsString(name);
}

// The n-th customer of the post loop: a four-character code that sorts in
// posting order, and a name that tells the number.
QString codeFor(int i)
{
    return QString::number(i, 36).rightJustified(4, QLatin1Char('0'));
}

QString nameFor(int i)
{
    return QStringLiteral("Pelanggan nomor %1").arg(i);
}

// Child: holds a write transaction with an uncommitted insert until killed.
int holdWriteTransaction(const QString& path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
    db.setDatabaseName(path);
    if (!db.open())
        return 2;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))
        || !query.exec(QStringLiteral("INSERT INTO DataPelanggan (\"Kode Pelanggan\") VALUES ('HOLD')")))
        return 3;
    std::printf("holding\n");
    std::fflush(stdout);
    QThread::sleep(120);
    return 0;
}

// Child: posts customers one after another through the view, telling each.
int postForever()
{
    QObject owner;
    auto v = DataModel::SetupPelanggan(&owner);
    v.Pelanggan->Open();
    for (int i = 1;; ++i) {
        insertCustomer(v, codeFor(i), nameFor(i));
        v.Pelanggan->Post();
        std::printf("posted %d\n", i);
        std::fflush(stdout);
    }
}

// Starts this program as a child in the given mode; returns once it has
// printed `ready`, with what it printed so far in *output.
void startChild(QProcess& child, const QString& mode, const QStringList& arguments, const QByteArray& ready,
                QByteArray* output)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ChildVariable), mode);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    QVERIFY(child.waitForStarted());
    while (!output->contains(ready)) {
        QVERIFY2(child.waitForReadyRead(30000), output->constData());
        *output += child.readAllStandardOutput();
    }
}

// The last number a post-loop child reported.
int lastPosted(const QByteArray& output)
{
    const QList<QByteArray> lines = output.trimmed().split('\n');
    return lines.last().split(' ').value(1).toInt();
}

}

class TestStorageFaults : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_db->addCustomer(QStringLiteral("A001"), QStringLiteral("Toko Lama"));
        m_owner = std::make_unique<QObject>();
        m_view = DataModel::SetupPelanggan(m_owner.get());
        m_view.Pelanggan->Open();
    }
    void cleanup()
    {
        m_owner.reset();
        m_db.reset();
    }

    // The operator reads which field or what cause, never the storage's
    // constraint names, statements or the driver's "Unable to fetch row".
    void failuresReadPlainly()
    {
        insertCustomer(m_view, QString(), QStringLiteral("Tanpa Kode"));
        EDBEngineError error = postError(m_view.Pelanggan);
        QCOMPARE(error.message(), QStringLiteral("Field value required.\nField: Kode Pelanggan."));
        m_view.Pelanggan->Cancel();

        // A disk that is full: the file may grow no further.
        const int pages = TestDatabase::exec(m_db->path(), QStringLiteral("PRAGMA page_count")).value(0).toInt();
        execOnEngine(m_db->path(), QStringLiteral("PRAGMA max_page_count = %1").arg(pages));
        for (int i = 1; error.ErrorCode() != EngineCode::General && i < 500; ++i) {
            insertCustomer(m_view, codeFor(i), QString(20, QLatin1Char('x')));
            error = postError(m_view.Pelanggan);
            if (m_view.Pelanggan->State() == dsBrowse)
                continue; // there was still room for this one
            QCOMPARE(error.message(), QStringLiteral("Database error.\nThe disk is full."));
        }
        QCOMPARE(error.ErrorCode(), EngineCode::General);
        QCOMPARE(m_view.Pelanggan->State(), dsInsert);
    }

    // Fault: the database refuses writes, as a read-only file does.
    void readOnlyDatabaseKeepsTheEdit()
    {
        execOnEngine(m_db->path(), QStringLiteral("PRAGMA query_only = ON"));
        m_view.Pelanggan->Edit();
        m_view.PelangganNamaPelanggan->SetAsString(QStringLiteral("Toko Baru"));
        const EDBEngineError error = postError(m_view.Pelanggan);
        QCOMPARE(error.message(), QStringLiteral("Database error.\nThe database file is read-only."));
        QCOMPARE(m_view.Pelanggan->State(), dsEdit);
        QCOMPARE(m_view.PelangganNamaPelanggan->AsString(), QStringLiteral("Toko Baru"));
        QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Nama Pelanggan\" FROM DataPelanggan")),
                 QVariantList{QStringLiteral("Toko Lama")});
        // Writable again: the same edit posts.
        execOnEngine(m_db->path(), QStringLiteral("PRAGMA query_only = OFF"));
        m_view.Pelanggan->Post();
        QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Nama Pelanggan\" FROM DataPelanggan")),
                 QVariantList{QStringLiteral("Toko Baru")});
    }

    // Fault: the disk fills up during a post (the file may not grow further).
    void diskFullDuringPost()
    {
        const QString pages = m_db->exec(QStringLiteral("PRAGMA page_count")).value(0).toString();
        execOnEngine(m_db->path(), QStringLiteral("PRAGMA max_page_count = ") + pages);
        int posted = 0;
        bool full = false;
        for (int i = 0; i < 500 && !full; ++i) {
            insertCustomer(m_view, QStringLiteral("F%1").arg(i, 3, 10, QLatin1Char('0')), QString(20, QLatin1Char('N')));
            m_view.PelangganAlamat->SetAsString(QString(30, QLatin1Char('J')));
            try {
                m_view.Pelanggan->Post();
                ++posted;
            } catch (const EDBEngineError& error) {
                full = true;
                QVERIFY2(error.message().contains(QLatin1String("full")), qPrintable(error.message()));
            }
        }
        QVERIFY(full);
        QCOMPARE(m_view.Pelanggan->State(), dsInsert);
        QCOMPARE(m_db->count(QStringLiteral("DataPelanggan")), qint64(posted + 1));
        QCOMPARE(integrity(m_db->path()), QStringLiteral("ok"));
        // Room again: the pending record posts.
        execOnEngine(m_db->path(), QStringLiteral("PRAGMA max_page_count = 1073741823"));
        m_view.Pelanggan->Post();
        QCOMPARE(m_db->count(QStringLiteral("DataPelanggan")), qint64(posted + 2));
    }

    // Fault: another process holds a write transaction; the post waits for
    // the busy timeout, then fails clearly instead of hanging.
    void otherProcessHoldsTheDatabase()
    {
        QProcess holder;
        QByteArray output;
        startChild(holder, QStringLiteral("hold-write"), {m_db->path()}, "holding", &output);
        insertCustomer(m_view, QStringLiteral("B001"), QStringLiteral("Toko Sibuk"));
        const EDBEngineError error = postError(m_view.Pelanggan);
        QCOMPARE(error.ErrorCode(), EngineCode::RecordLocked);
        QVERIFY2(error.message().contains(QLatin1String("busy")), qPrintable(error.message()));
        QCOMPARE(m_view.Pelanggan->State(), dsInsert);
        holder.kill();
        holder.waitForFinished();
        m_view.Pelanggan->Post();
        QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Kode Pelanggan\" FROM DataPelanggan ORDER BY 1")),
                 (QVariantList{QStringLiteral("A001"), QStringLiteral("B001")}));
    }

    // Fault: the database file is deleted or replaced while open. Writes to
    // the old file would be lost with it, so the post is refused.
    void databaseFileGone_data()
    {
        QTest::addColumn<bool>("replaced");
        QTest::newRow("deleted") << false;
        QTest::newRow("replaced") << true;
    }
    void databaseFileGone()
    {
        QFETCH(bool, replaced);
        const QString moved = m_db->dir() + QStringLiteral("/moved.sqlite");
        QVERIFY(QFile::rename(m_db->path(), moved));
        if (replaced)
            QVERIFY(QFile::copy(moved, m_db->path()));
        insertCustomer(m_view, QStringLiteral("C001"), QStringLiteral("Toko Hilang"));
        const EDBEngineError error = postError(m_view.Pelanggan);
        QCOMPARE(error.ErrorCode(), EngineCode::FileNotFound);
        QVERIFY2(error.message().contains(QLatin1String("removed or replaced")), qPrintable(error.message()));
        QCOMPARE(m_view.Pelanggan->State(), dsInsert);
        QCOMPARE(m_view.PelangganNamaPelanggan->AsString(), QStringLiteral("Toko Hilang"));
        m_view.Pelanggan->Cancel();
        closeAllDatabases();
        QCOMPARE(TestDatabase::exec(moved, QStringLiteral("SELECT count(*) FROM DataPelanggan")).value(0).toInt(), 1);
    }

    // Fault: the program is killed (SIGKILL) in the middle of posting. Every
    // post it reported is in the file, complete, and the file is sound.
    void killedDuringPost()
    {
        m_owner.reset();
        closeAllDatabases();
        QProcess child;
        QByteArray output;
        startChild(child, QStringLiteral("post-loop"), {}, "posted 30\n", &output);
        child.kill();
        QVERIFY(child.waitForFinished());
        output += child.readAllStandardOutput();
        const int reported = lastPosted(output);
        QVERIFY(reported >= 30);
        QCOMPARE(integrity(m_db->path()), QStringLiteral("ok"));
        const QVariantList names = m_db->exec(
            QStringLiteral("SELECT \"Kode Pelanggan\" || '=' || \"Nama Pelanggan\" FROM DataPelanggan "
                           "WHERE \"Kode Pelanggan\" <> 'A001' ORDER BY 1"));
        QVERIFY(names.size() >= reported);
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(names.at(i).toString(), codeFor(i + 1) + QLatin1Char('=') + nameFor(i + 1));
    }

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<QObject> m_owner;
    DataModel::PelangganView m_view{};
};

int main(int argc, char** argv)
{
    const QByteArray mode = qgetenv(ChildVariable);
    if (!mode.isEmpty()) {
        QCoreApplication app(argc, argv);
        return mode == "hold-write" ? holdWriteTransaction(app.arguments().value(1)) : postForever();
    }
    QCoreApplication app(argc, argv);
    TestStorageFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_StorageFaults.moc"
