#pragma once

// A real database for tests: a temporary folder holding the database file
// and the alias configuration (XDG_CONFIG_HOME and XDG_DATA_HOME point into it).

#include "TemporaryHome.h"
#include "data/AliasConfig.h"
#include "data/OperatorAccount.h"
#include "data/Schema.h"
#include "data/StorageEngine.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <QtTest>

class TestDatabase {
public:
    explicit TestDatabase(const QString& alias = QStringLiteral("Dor"))
    {
        useTemporaryHome(m_dir);
        m_path = m_dir.filePath(QStringLiteral("dor.sqlite"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test-setup"));
            db.setDatabaseName(m_path);
            db.open();
            Schema::create(db);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("test-setup"));
        AliasConfig::write(alias, AliasConfig::Alias{QStringLiteral("sqlite"), m_path});
    }
    ~TestDatabase() { closeAllDatabases(); }

    const QString& path() const { return m_path; }
    QString dir() const { return m_dir.path(); }

    // Runs SQL on a connection of its own, as another program would; returns
    // the first column of the result rows.
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
    QVariantList exec(const QString& sql, const QVariantList& values = {}) const { return exec(m_path, sql, values); }

    // The operator account the login window checks.
    void addOperator(const QString& name, const QString& password) const
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test-operator"));
            db.setDatabaseName(m_path);
            db.open();
            OperatorAccount::store(db, name, password);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("test-operator"));
    }

    void addCustomer(const QString& code, const QString& name) const
    {
        exec(QStringLiteral("INSERT INTO DataPelanggan (\"Kode Pelanggan\", \"Nama Pelanggan\") VALUES (?, ?)"),
             {code, name});
    }

    void addLine(double number, const QString& customer, const QVariant& price = QVariant(),
                 const QVariant& quantity = QVariant()) const
    {
        exec(QStringLiteral("INSERT INTO DataBarang (\"No Pesanan\", \"Kode Pelanggan\", \"Harga Satuan\", "
                            "\"Banyak Barang\") VALUES (?, ?, ?, ?)"),
             {number, customer, price, quantity});
    }

    qint64 count(const QString& table) const
    {
        return exec(QStringLiteral("SELECT count(*) FROM ") + table).value(0).toLongLong();
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
};
