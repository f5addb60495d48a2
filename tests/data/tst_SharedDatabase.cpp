// One PostgreSQL database shared by several programs: the record lock between
// processes, a lost server connection, connection failures with the server's
// message, the password file, and logging in. Skips without a server.

#include "AdminProcess.h"
#include "Outcome.h"
#include "TestDatabase.h"

#include "data/DataModel.h"
#include "data/Exceptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QtTest>

#include <cstdio>
#include <iostream>

namespace {

void say(const char* text)
{
    std::puts(text);
    std::fflush(stdout);
}

// Child: edits customer P001, and posts the new name when told to.
int editCustomer()
{
    QObject owner;
    auto v = DataModel::SetupPelanggan(&owner);
    v.Pelanggan->Open();
    v.Pelanggan->FindByKey({QStringLiteral("Kode Pelanggan")}, QStringLiteral("P001"));
    v.Pelanggan->Edit();
    v.PelangganNamaPelanggan->SetAsString(QStringLiteral("DARI PROGRAM LAIN"));
    say("editing");
    std::string line;
    std::getline(std::cin, line);
    v.Pelanggan->Post();
    say("posted");
    std::getline(std::cin, line);
    return 0;
}

QByteArray nextLine(QProcess* child)
{
    while (!child->canReadLine() && child->waitForReadyRead(20000)) {}
    return child->readLine().trimmed();
}

// Opens the alias Dor as a view would, or says why it can't.
QString openMessage()
{
    closeAllDatabases();
    return messageOf([] { openDatabase(QStringLiteral("Dor")); });
}

}

class TestSharedDatabase : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PWANGSA_REQUIRE_SERVER(); }
    void init()
    {
        m_db = std::make_unique<TestDatabase>(QStringLiteral("Dor"), TestDatabase::Engine::Postgres);
        m_db->addCustomer(QStringLiteral("P001"), QStringLiteral("BUDI"));
        m_db->addCustomer(QStringLiteral("P002"), QStringLiteral("ANI"));
    }
    void cleanup() { m_db.reset(); }

    // A customer edited in one program is refused to another until posted;
    // then the other sees the posted change and may edit it.
    void twoProgramsEditOneCustomer()
    {
        QObject owner;
        QProcess* child = startSelf(&owner, QStringLiteral("--edit-customer"));
        QCOMPARE(nextLine(child), QByteArray("editing"));
        auto v = DataModel::SetupPelanggan(&owner);
        v.Pelanggan->Open();
        QCOMPARE(engineCodeOf([&] { v.Pelanggan->Edit(); }), EngineCode::RecordLocked);
        QCOMPARE(messageOf([&] { v.Pelanggan->Edit(); }), QStringLiteral("Record locked by another user."));
        QCOMPARE(v.Pelanggan->State(), dsBrowse);
        QCOMPARE(engineCodeOf([&] { v.Pelanggan->Delete(); }), EngineCode::RecordLocked);
        QCOMPARE(m_db->count(QStringLiteral("DataPelanggan")), 2);
        v.Pelanggan->Next();  // P002 is free
        v.Pelanggan->Edit();
        v.Pelanggan->Cancel();
        child->write("post\n");
        QCOMPARE(nextLine(child), QByteArray("posted"));
        v.Pelanggan->First();
        v.Pelanggan->Edit();  // re-read with the lock
        QCOMPARE(v.PelangganNamaPelanggan->AsString(), QStringLiteral("DARI PROGRAM LAIN"));
        v.PelangganNamaPelanggan->SetAsString(QStringLiteral("BUDI LAGI"));
        v.Pelanggan->Post();
        QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Nama Pelanggan\" FROM \"DataPelanggan\" WHERE \"Kode Pelanggan\" = 'P001'")),
                 QVariantList{QStringLiteral("BUDI LAGI")});
        child->closeWriteChannel();
        QVERIFY(child->waitForFinished(20000));
        QCOMPARE(child->exitCode(), 0);
    }

    // A backup while another program holds an edit: the posted data, checked.
    void backupWhileAnotherProgramEdits()
    {
        QObject owner;
        QProcess* child = startSelf(&owner, QStringLiteral("--edit-customer"));
        QCOMPARE(nextLine(child), QByteArray("editing"));
        const QString file = QDir(m_db->dir()).filePath(QStringLiteral("salinan.sqlite"));
        const AdminRun result = runAdmin({QStringLiteral("backup"), file});
        QVERIFY2(result.code == 0, qPrintable(result.err));
        QVERIFY2(result.out.contains(QStringLiteral("DataPelanggan 2 rows, DataBarang 0 rows")), qPrintable(result.out));
        QCOMPARE(TestDatabase::exec(file, QStringLiteral("SELECT \"Nama Pelanggan\" FROM \"DataPelanggan\" ORDER BY 1")),
                 (QVariantList{QStringLiteral("ANI"), QStringLiteral("BUDI")}));
        child->closeWriteChannel();  // the child posts and ends
        QVERIFY(child->waitForFinished(20000));
        QCOMPARE(child->exitCode(), 0);
    }

    // The server ends the connection in the middle of an edit: the post fails
    // with a clear error and writes nothing; the lost lock asks for a fresh
    // edit; after that the program carries on.
    void lostConnection()
    {
        QObject owner;
        auto v = DataModel::SetupPelanggan(&owner);
        v.Pelanggan->Open();
        v.Pelanggan->Edit();
        v.PelangganNamaPelanggan->SetAsString(QStringLiteral("SETENGAH"));
        m_db->exec(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                  "WHERE datname = current_database() AND pid <> pg_backend_pid()"));
        QCOMPARE(engineCodeOf([&] { v.Pelanggan->Post(); }), EngineCode::ConnectionLost);
        QCOMPARE(v.Pelanggan->State(), dsEdit);
        QCOMPARE(v.PelangganNamaPelanggan->AsString(), QStringLiteral("SETENGAH"));
        const QString lockLost = messageOf([&] { v.Pelanggan->Post(); });
        QVERIFY2(lockLost.contains(QStringLiteral("cancel and edit the record again")), qPrintable(lockLost));
        QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Nama Pelanggan\" FROM \"DataPelanggan\" ORDER BY 1")),
                 (QVariantList{QStringLiteral("ANI"), QStringLiteral("BUDI")}));
        v.Pelanggan->Cancel();
        v.Pelanggan->Edit();
        v.PelangganNamaPelanggan->SetAsString(QStringLiteral("UTUH"));
        v.Pelanggan->Post();
        QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Nama Pelanggan\" FROM \"DataPelanggan\" WHERE \"Kode Pelanggan\" = 'P001'")),
                 QVariantList{QStringLiteral("UTUH")});
    }

    // Start-up failures carry the server's own words.
    void connectionFailures()
    {
        AliasConfig::Alias alias = m_db->alias();
        alias.password = QStringLiteral("salah");
        AliasConfig::write(QStringLiteral("Dor"), alias);
        QString text = openMessage();
        QVERIFY2(text.startsWith(QStringLiteral("Cannot connect to the database ") + alias.describe()), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("password authentication failed")), qPrintable(text));

        alias = m_db->alias();
        alias.dbname = QStringLiteral("tidak_ada");
        AliasConfig::write(QStringLiteral("Dor"), alias);
        QVERIFY2(openMessage().contains(QStringLiteral("\"tidak_ada\" does not exist")), qPrintable(openMessage()));

        alias = m_db->alias();
        alias.port = 1;  // nothing listens there
        AliasConfig::write(QStringLiteral("Dor"), alias);
        try {
            closeAllDatabases();
            openDatabase(QStringLiteral("Dor"));
            QFAIL("connected to a server that isn't there");
        } catch (const EDBEngineError& error) {
            QCOMPARE(error.ErrorCode(), EngineCode::ConnectionFailed);
            QVERIFY2(error.message().contains(QStringLiteral("refused")), qPrintable(error.message()));
        }
    }

    // The alias may name a password file instead of holding the password;
    // the login checks the operator on the server.
    void passwordFileAndLogin()
    {
        AliasConfig::Alias alias = m_db->alias();
        const QString passfile = QDir(m_db->dir()).filePath(QStringLiteral("pgpass"));
        QFile file(passfile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("%1:%2:%3:%4:%5\n").arg(alias.host).arg(alias.port).arg(alias.dbname, alias.user, alias.password).toUtf8());
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        alias.password.clear();
        alias.passfile = passfile;
        AliasConfig::write(QStringLiteral("Dor"), alias);
        QCOMPARE(openMessage(), QString());
        m_db->addOperator(QStringLiteral("KASIR"), QStringLiteral("rahasia"));
        QCOMPARE(OperatorAccount::name(), QStringLiteral("KASIR"));
        QVERIFY(OperatorAccount::accepts(QStringLiteral("KASIR"), QStringLiteral("rahasia")));
        QVERIFY(!OperatorAccount::accepts(QStringLiteral("KASIR"), QStringLiteral("Rahasia")));
    }

private:
    std::unique_ptr<TestDatabase> m_db;
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--edit-customer") == 0)
        return editCustomer();
    TestSharedDatabase test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SharedDatabase.moc"
