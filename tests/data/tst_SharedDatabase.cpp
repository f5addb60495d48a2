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
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlQuery>
#include <QtTest>

#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace {

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

// Runs a shell command as root's tools do; true when it succeeded.
bool shell(const QString& command)
{
    return QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), command}) == 0;
}

// A desk on a network of its own: a network namespace joined to this
// machine by a veth pair, and a PostgreSQL cluster of its own that listens
// on this end too. Pulling the link down later is the desk losing its
// network: from then on no packet of it reaches the server.
class DeskNetwork {
public:
    DeskNetwork()
    {
        const int net = int(QCoreApplication::applicationPid() % 200) + 20;  // apart from other runs
        m_name = QStringLiteral("pwdesk%1").arg(net);
        m_server = QStringLiteral("10.213.%1.1").arg(net);
        const QString desk = QStringLiteral("10.213.%1.2").arg(net);
        m_ready = shell(QStringLiteral("ip netns add %1 && ip link add %1a type veth peer name %1b && "
                                       "ip link set %1b netns %1 && ip addr add %2/30 dev %1a && ip link set %1a up && "
                                       "ip -n %1 addr add %3/30 dev %1b && ip -n %1 link set %1b up && ip -n %1 link set lo up")
                            .arg(m_name, m_server, desk));
        if (m_ready)
            m_ready = startCluster(QStringLiteral("%1 10.213.%2.0/30").arg(m_server).arg(net));
    }
    ~DeskNetwork()
    {
        if (!m_cluster.isEmpty())
            shell(m_cluster + QStringLiteral(" " PWANGSA_SOURCE_DIR "/scripts/stop-postgres"));
        shell(QStringLiteral("ip link del %1a; ip netns del %1").arg(m_name));
    }
    bool ready() const { return m_ready; }
    const QString& name() const { return m_name; }
    const AliasConfig::Alias& server() const { return m_alias; }
    bool cut() const { return shell(QStringLiteral("ip link set %1a down").arg(m_name)); }

private:
    bool startCluster(const QString& listen)
    {
        QProcess start;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PWANGSA_PG_ALSO_LISTEN"), listen);
        start.setProcessEnvironment(environment);
        start.start(QStringLiteral(PWANGSA_SOURCE_DIR "/scripts/start-postgres"), {});
        if (!start.waitForFinished(60000) || start.exitCode() != 0)
            return false;
        QStringList exports;
        for (const QString& line : QString::fromUtf8(start.readAllStandardOutput()).split(QLatin1Char('\n'))) {
            for (const QString& setting : line.section(QLatin1Char(' '), 1).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const QString key = setting.section(QLatin1Char('='), 0, 0);
                const QString value = setting.section(QLatin1Char('='), 1);
                if (key == QLatin1String("PWANGSA_PG_PORT"))
                    m_alias.port = value.toInt();
                else if (key == QLatin1String("PWANGSA_PG_PASSWORD"))
                    m_alias.password = value;
                exports.append(setting);
            }
        }
        m_cluster = QStringLiteral("export ") + exports.join(QLatin1Char(' ')) + QStringLiteral(";");
        m_alias.driver = AliasConfig::kPostgres;
        m_alias.host = m_server;
        m_alias.dbname = m_alias.user = QStringLiteral("postgres");
        return m_alias.port > 0;
    }

    QString m_name;
    QString m_server;
    QString m_cluster;  // the shell line that names the cluster for stop-postgres
    AliasConfig::Alias m_alias;
    bool m_ready = false;
};

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

    // A desk that vanishes (its network gone, then its power) while it holds
    // a record: no word of it reaches the server any more. The connection's
    // keepalives let the server end the session and free the lock within
    // about a minute, not the system's two hours.
    void vanishedDeskFreesItsLock()
    {
        if (::geteuid() != 0)
            QSKIP("a desk on a network of its own needs root (ip netns)");
        DeskNetwork network;
        if (!network.ready())
            QSKIP("no network namespace or no cluster of its own could be made here");
        const AliasConfig::Alias server = network.server();
        QSqlDatabase schema = SqlConnection::open(server, QStringLiteral("schema"));
        Schema::create(schema);
        QSqlQuery(schema).exec(QStringLiteral("INSERT INTO \"DataPelanggan\" VALUES ('P001', 'BUDI', NULL, NULL)"));
        schema = QSqlDatabase();
        SqlConnection::close(QStringLiteral("schema"));
        AliasConfig::write(QStringLiteral("Dor"), server);

        QObject owner;
        auto* desk = new QProcess(&owner);
        desk->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        desk->start(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("exec"), network.name(),
                                           QCoreApplication::applicationFilePath(), QStringLiteral("--edit-customer")});
        QCOMPARE(nextLine(desk), QByteArray("editing"));
        const QString locks = QStringLiteral("SELECT count(*) FROM pg_locks WHERE locktype = 'advisory'");
        QCOMPARE(TestServer::exec(server, locks).value(0).toInt(), 1);
        QVERIFY(network.cut());
        desk->kill();  // its last words are lost with the link
        desk->waitForFinished();

        QElapsedTimer waited;
        waited.start();
        while (TestServer::exec(server, locks).value(0).toInt() > 0 && waited.elapsed() < 150000)
            QTest::qWait(2000);
        QVERIFY2(waited.elapsed() < 150000, "the vanished desk still holds its record after 150 s");
        qInfo("the server freed the vanished desk's lock after %lld s", waited.elapsed() / 1000);
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
