#pragma once

// The demonstration database made by pwangsa-admin (init --demo) with a few
// awkward rows added (lower case and non-ASCII codes and names, fractional
// amounts, empty values, a comma and a quote), copied by pwangsa-admin onto a
// database of the test server under the alias Kantor. For comparing what
// the tool produces from either engine.

#include "AdminProcess.h"
#include "TestDatabase.h"

#include <QtTest>

namespace ServerCopy {

inline void addAwkwardRows(const QString& file)
{
    TestDatabase::exec(file, QStringLiteral("INSERT INTO \"DataPelanggan\" VALUES (?, ?, ?, NULL), (?, ?, NULL, ?)"),
                       {QStringLiteral("É01"), QStringLiteral("Élodie Ñuñez"), QStringLiteral("Jl. \"Ceri\", 5"),
                        QStringLiteral("p001"), QStringLiteral("toko kecil"), QStringLiteral("(022) 1234")});
    TestDatabase::exec(file,
                       QStringLiteral("INSERT INTO \"DataBarang\" (\"No Pesanan\", \"Kode Pelanggan\", \"Kode Barang\", "
                                      "\"Harga Satuan\", \"Banyak Barang\", \"No Faktur\", \"Tanggal\") VALUES "
                                      "(1000.5, 'É01', 'BRG01', 1250.5, 3, 'F9', '2024-02-29'), "
                                      "(1001, 'É01', 'BRG02', 0.1, NULL, NULL, NULL), "
                                      "(1002, 'p001', 'BRG03', 0.1, 0.3, 'F10', '1999-12-31')"));
}

// Makes the SQLite demonstration (alias Dor) and its copy on the empty server
// database `server` (alias Kantor); returns what failed, or nothing.
inline QString makeBoth(const AliasConfig::Alias& server)
{
    AdminRun run = runAdmin({QStringLiteral("init"), QStringLiteral("--demo")});
    if (run.code != 0)
        return QStringLiteral("init --demo: ") + run.err;
    addAwkwardRows(AliasConfig::defaultDatabasePath());
    run = runAdmin({QStringLiteral("init"), QStringLiteral("--driver"), QStringLiteral("postgres"), QStringLiteral("--host"),
                    server.host, QStringLiteral("--port"), QString::number(server.port), QStringLiteral("--dbname"),
                    server.dbname, QStringLiteral("--user"), server.user, QStringLiteral("--password-stdin"),
                    QStringLiteral("--alias"), QStringLiteral("Kantor"), QStringLiteral("--operator"), QStringLiteral("X"),
                    QStringLiteral("--operator-password-stdin")},
                   server.password.toUtf8() + "\nx\n");
    if (run.code != 0)
        return QStringLiteral("init --driver postgres: ") + run.err;
    run = runAdmin({QStringLiteral("copy"), QStringLiteral("--from"), QStringLiteral("Dor"), QStringLiteral("--to"),
                    QStringLiteral("Kantor")});
    return run.code == 0 ? QString() : QStringLiteral("copy: ") + run.err;
}

}
