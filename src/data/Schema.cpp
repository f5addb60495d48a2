#include "Schema.h"

#include "SqlErrors.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace Schema {

namespace {

const char* const kSqliteStatements[] = {
    "PRAGMA journal_mode=WAL",
    "PRAGMA synchronous=FULL",
    "BEGIN IMMEDIATE",
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
    "COMMIT",
};

// The same tables on PostgreSQL. Texts compare byte by byte ("C") and NULL
// sorts first in the index, as on SQLite, so both engines order alike.
const char* const kPostgresStatements[] = {
    "BEGIN",
    R"(CREATE TABLE "DataPelanggan" (
  "Kode Pelanggan" text COLLATE "C" NOT NULL PRIMARY KEY,
  "Nama Pelanggan" text COLLATE "C",
  "Alamat" text COLLATE "C",
  "No Telepon" text COLLATE "C"))",
    R"(CREATE TABLE "DataBarang" (
  "No Pesanan" double precision NOT NULL PRIMARY KEY,
  "Kode Pelanggan" text COLLATE "C",
  "Kode Barang" text COLLATE "C",
  "Nama Barang" text COLLATE "C",
  "Jenis Barang" text COLLATE "C",
  "Harga Satuan" double precision,
  "Banyak Barang" double precision,
  "No Faktur" text COLLATE "C",
  "Tanggal" date,
  "Total Jumlah" double precision))",
    R"(CREATE INDEX "Kode Pelanggan" ON "DataBarang" ("Kode Pelanggan" NULLS FIRST, "No Pesanan"))",
    R"(CREATE TABLE "Operator" (
  "Nama" text COLLATE "C" PRIMARY KEY,
  "Salt" bytea NOT NULL,
  "Hash" bytea NOT NULL,
  "Iterations" integer NOT NULL))",
    "COMMIT",
};

void run(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        raiseSqlError(query.lastError(), QStringLiteral("Creating the schema"));
}

void dropTables(QSqlDatabase& db)
{
    for (const char* table : {"DataPelanggan", "DataBarang", "Operator"})
        run(db, QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(QLatin1String(table)));
}

// Runs the statements; `replace` drops the tables right after BEGIN.
template <std::size_t N>
void runAll(QSqlDatabase& db, const char* const (&statements)[N], bool replace)
{
    try {
        for (const char* statement : statements) {
            run(db, QString::fromUtf8(statement));
            if (replace && qstrncmp(statement, "BEGIN", 5) == 0)
                dropTables(db);
        }
    } catch (...) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

}

bool isPostgres(const QSqlDatabase& db)
{
    return db.driverName() == QLatin1String("QPSQL");
}

void create(QSqlDatabase& db, bool replace)
{
    if (isPostgres(db))
        runAll(db, kPostgresStatements, replace);
    else
        runAll(db, kSqliteStatements, replace);
}

void drop(QSqlDatabase& db)
{
    dropTables(db);
}

}
