#include "Schema.h"

#include "SqliteEngine.h"

#include <QSqlError>
#include <QSqlQuery>

namespace Schema {

namespace {

const char* const kStatements[] = {
    R"(CREATE TABLE "DataPelanggan" (
  "Kode Pelanggan" TEXT NOT NULL PRIMARY KEY,
  "Nama Pelanggan" TEXT,
  "Alamat" TEXT,
  "No Telepon" TEXT))",
    R"(CREATE TABLE "DataBarang" (
  "No Pesanan" REAL NOT NULL PRIMARY KEY,
  "Kode Pelanggan" TEXT,
  "Kode Barang" TEXT,
  "Nama Barang" TEXT,
  "Jenis Barang" TEXT,
  "Harga Satuan" REAL,
  "Banyak Barang" REAL,
  "No Faktur" TEXT,
  "Tanggal" TEXT,
  "Total Jumlah" REAL))",
    R"(CREATE INDEX "Kode Pelanggan" ON "DataBarang" ("Kode Pelanggan", "No Pesanan"))",
    R"(CREATE TABLE "Operator" (
  "Nama" TEXT PRIMARY KEY,
  "Salt" BLOB NOT NULL,
  "Hash" BLOB NOT NULL,
  "Iterations" INTEGER NOT NULL))",
};

void run(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        raiseSqlError(query.lastError(), QStringLiteral("Creating the schema"));
}

}

void create(QSqlDatabase& db)
{
    run(db, QStringLiteral("PRAGMA journal_mode=WAL"));
    run(db, QStringLiteral("PRAGMA synchronous=FULL"));
    run(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        for (const char* statement : kStatements)
            run(db, QString::fromUtf8(statement));
        run(db, QStringLiteral("COMMIT"));
    } catch (...) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

}
