#pragma once

// A real database for tests: a temporary folder holding the alias
// configuration (XDG_CONFIG_HOME and XDG_DATA_HOME point into it) and either
// a SQLite database file or, when PWANGSA_TEST_ENGINE=postgres, a new
// database on the PostgreSQL server named by PWANGSA_PG_HOST, _PORT, _USER
// and _PASSWORD (dropped again at the end). The storage suites run once per
// engine; PWANGSA_SKIP_WITHOUT_SERVER() skips the PostgreSQL run when no
// server is given.

#include "TemporaryHome.h"
#include "data/AliasConfig.h"
#include "data/OperatorAccount.h"
#include "data/Schema.h"
#include "data/SqlConnection.h"
#include "data/StorageEngine.h"

#include <QCoreApplication>
#include <QDate>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <QtTest>

namespace TestServer {

// The test server's connection to database `dbname`, from the environment.
inline AliasConfig::Alias alias(const QString& dbname)
{
    AliasConfig::Alias alias;
    alias.driver = AliasConfig::kPostgres;
    alias.host = qEnvironmentVariable("PWANGSA_PG_HOST");
    alias.port = qEnvironmentVariableIntValue("PWANGSA_PG_PORT");
    alias.user = qEnvironmentVariable("PWANGSA_PG_USER");
    alias.password = qEnvironmentVariable("PWANGSA_PG_PASSWORD");
    alias.dbname = dbname;
    return alias;
}

inline bool available()
{
    return !qEnvironmentVariableIsEmpty("PWANGSA_PG_HOST") && !qEnvironmentVariableIsEmpty("PWANGSA_PG_PORT");
}

// Runs SQL on a connection of its own, as another program would; returns the
// first column of the result rows, dates as ISO text (as SQLite keeps them).
inline QVariantList exec(const AliasConfig::Alias& target, const QString& sql, const QVariantList& values = {})
{
    QVariantList first;
    SqlConnection::with(target, QStringLiteral("test-exec"), [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        bool done = false;
        if (values.isEmpty()) {
            done = query.exec(sql);  // also statements the server can't prepare (CREATE DATABASE)
        } else {
            query.prepare(sql);
            for (const QVariant& value : values)
                query.addBindValue(value);
            done = query.exec();
        }
        if (!done)
            qWarning() << sql << query.lastError().text();
        while (query.next()) {
            const QVariant value = query.value(0);
            first.append(value.typeId() == QMetaType::QDate ? QVariant(value.toDate().toString(Qt::ISODate)) : value);
        }
    });
    return first;
}

// Makes an empty database on the test server; its name is unique to this process.
inline QString createDatabase()
{
    static int made = 0;
    const QString name = QStringLiteral("pwangsa_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
    exec(alias(QStringLiteral("postgres")), QStringLiteral("CREATE DATABASE %1").arg(name));
    return name;
}

inline void dropDatabase(const QString& name)
{
    exec(alias(QStringLiteral("postgres")), QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
}

}

#define PWANGSA_NO_SERVER_TEXT "no PostgreSQL server given (PWANGSA_PG_HOST, PWANGSA_PG_PORT unset)"

// Skips a test that needs the PostgreSQL server when none is given.
#define PWANGSA_REQUIRE_SERVER()                                                                                 \
    do {                                                                                                          \
        if (!TestServer::available())                                                                             \
            QSKIP(PWANGSA_NO_SERVER_TEXT);                                                                        \
    } while (false)

// Skips the test when the storage suite runs on PostgreSQL without a server.
#define PWANGSA_SKIP_WITHOUT_SERVER()                                                                             \
    do {                                                                                                          \
        if (TestDatabase::wantsPostgres() && !TestServer::available())                                           \
            QSKIP("PWANGSA_TEST_ENGINE=postgres but " PWANGSA_NO_SERVER_TEXT);                                  \
    } while (false)

class TestDatabase {
public:
    enum class Engine { FromEnvironment, Sqlite, Postgres };

    explicit TestDatabase(const QString& alias = QStringLiteral("Dor"), Engine engine = Engine::FromEnvironment)
        : m_postgres(engine == Engine::Postgres || (engine == Engine::FromEnvironment && wantsPostgres()))
    {
        useTemporaryHome(m_dir);
        if (m_postgres) {
            m_alias = TestServer::alias(TestServer::createDatabase());
        } else {
            m_alias.driver = AliasConfig::kSqlite;
            m_alias.path = m_dir.filePath(QStringLiteral("dor.sqlite"));
        }
        createSchema();
        AliasConfig::write(alias, m_alias);
    }
    ~TestDatabase()
    {
        closeAllDatabases();
        if (m_postgres)
            TestServer::dropDatabase(m_alias.dbname);
    }

    // True when the storage suites are asked to run on PostgreSQL.
    static bool wantsPostgres() { return qEnvironmentVariable("PWANGSA_TEST_ENGINE") == AliasConfig::kPostgres; }

    bool isPostgres() const { return m_postgres; }
    // The SQLite file, or the server database's description.
    QString path() const { return m_postgres ? m_alias.describe() : m_alias.path; }
    QString dir() const { return m_dir.path(); }
    const AliasConfig::Alias& alias() const { return m_alias; }
    // The storage's own code of a duplicate key, as an engine error's second entry carries it.
    int nativeKeyViolation() const { return m_postgres ? 23505 : 1555; }

    // Runs SQL on a SQLite file (made when missing), as another program would;
    // returns the first column of the result rows.
    static QVariantList exec(const QString& path, const QString& sql, const QVariantList& values = {})
    {
        QVariantList first;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test-exec"));
            db.setDatabaseName(path);
            db.open();
            QSqlQuery query(db);
            query.prepare(sql);
            for (const QVariant& value : values)
                query.addBindValue(value);
            if (!query.exec())
                qWarning() << query.lastError().text();
            while (query.next())
                first.append(query.value(0));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("test-exec"));
        return first;
    }
    // Runs SQL on this test's database (quote the mixed-case table names).
    QVariantList exec(const QString& sql, const QVariantList& values = {}) const
    {
        return m_postgres ? TestServer::exec(m_alias, sql, values) : exec(m_alias.path, sql, values);
    }

    // The operator account the login window checks.
    void addOperator(const QString& name, const QString& password) const
    {
        SqlConnection::with(m_alias, QStringLiteral("test-operator"),
                            [&](QSqlDatabase& db) { OperatorAccount::store(db, name, password); });
    }

    void addCustomer(const QString& code, const QString& name) const
    {
        exec(QStringLiteral("INSERT INTO \"DataPelanggan\" (\"Kode Pelanggan\", \"Nama Pelanggan\") VALUES (?, ?)"),
             {code, name});
    }

    void addLine(double number, const QString& customer, const QVariant& price = QVariant(),
                 const QVariant& quantity = QVariant()) const
    {
        exec(QStringLiteral("INSERT INTO \"DataBarang\" (\"No Pesanan\", \"Kode Pelanggan\", \"Harga Satuan\", "
                            "\"Banyak Barang\") VALUES (?, ?, ?, ?)"),
             {number, customer, price, quantity});
    }

    qint64 count(const QString& table) const
    {
        return exec(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).value(0).toLongLong();
    }

private:
    void createSchema()
    {
        if (!m_postgres)
            QFile(m_alias.path).open(QIODevice::WriteOnly);  // connections open existing files only
        SqlConnection::with(m_alias, QStringLiteral("test-setup"), [](QSqlDatabase& db) { Schema::create(db); });
    }

    QTemporaryDir m_dir;
    bool m_postgres;
    AliasConfig::Alias m_alias;
};
