#include "DemoData.h"

#include "data/SqliteEngine.h"

#include <QDate>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace DemoData {

namespace {

constexpr int kCustomers = 20;

const char* const kNames[kCustomers] = {
    "BUDI SANTOSO",    "SITI RAHAYU",     "AGUS SETIAWAN",   "DEWI LESTARI",   "JOKO PRASETYO",
    "RINA WULANDARI",  "HENDRA GUNAWAN",  "SRI MULYANI",     "BAMBANG SUTRISNO", "YULIA PERTIWI",
    "WAHYU HIDAYAT",   "NUR AINI",        "DEDI KURNIAWAN",  "LILIS SURYANI",  "ANDI SAPUTRA",
    "MEGA PURNAMASARI", "RUDI HARTONO",   "FITRI HANDAYANI", "EKO WIBOWO",     "INDAH PERMATA",
};

const char* const kStreets[] = {"JL. MERDEKA", "JL. SUDIRMAN", "JL. DIPONEGORO", "JL. GAJAH MADA",
                                "JL. PAHLAWAN", "JL. ASIA AFRIKA", "JL. VETERAN", "JL. THAMRIN"};
const char* const kCities[] = {"JAKARTA", "BANDUNG", "SURABAYA", "SEMARANG", "BOGOR"};
const char* const kAreaCodes[] = {"021", "022", "031", "024", "251"};

struct Goods {
    const char* code;
    const char* name;
};
const Goods kGoods[] = {{"BRG01", "Veri Ruvarur Botol"}, {"BRG02", "Veri Ruvarur Kotak"},
                        {"BRG03", "Doz Ezovidu Genggam"}, {"BRG04", "Doz Ezovidu Kaleng"},
                        {"BRG05", "Doz Ezovidu Botol"}};

struct Packaging {
    const char* type;
    double price;
};
const Packaging kPackaging[] = {{"BOTOL A", 18000}, {"BOTOL B", 19000}, {"GENGGAM", 27500}, {"KALENG", 41000}};

QString customerCode(int index)
{
    return QStringLiteral("P%1").arg(index + 1, 3, 10, QLatin1Char('0'));
}

void check(bool ok, const QSqlQuery& query)
{
    if (!ok)
        raiseSqlError(query.lastError(), QStringLiteral("Writing the demonstration data"));
}

template <class Work>
void inTransaction(QSqlDatabase& db, Work&& work)
{
    if (!db.transaction())
        raiseSqlError(db.lastError(), QStringLiteral("Starting a transaction"));
    try {
        work();
        if (!db.commit())
            raiseSqlError(db.lastError(), QStringLiteral("Committing"));
    } catch (...) {
        db.rollback();
        throw;
    }
}

}

void addCustomers(QSqlDatabase& db)
{
    QRandomGenerator random(7);
    QSqlQuery query(db);
    check(query.prepare(QStringLiteral("INSERT INTO \"DataPelanggan\" (\"Kode Pelanggan\", \"Nama Pelanggan\", "
                                       "\"Alamat\", \"No Telepon\") VALUES (?, ?, ?, ?)")),
          query);
    inTransaction(db, [&] {
        for (int i = 0; i < kCustomers; ++i) {
            const int city = i % 5;
            query.addBindValue(customerCode(i));
            query.addBindValue(QString::fromLatin1(kNames[i]));
            query.addBindValue(QStringLiteral("%1 %2, %3")  // within the 30 characters of Alamat
                                   .arg(QString::fromLatin1(kStreets[i % 8]))
                                   .arg(random.bounded(1, 200))
                                   .arg(QString::fromLatin1(kCities[city])));
            // The telephone mask's form: (999)000-0000.
            query.addBindValue(QStringLiteral("(%1)%2-%3")
                                   .arg(QString::fromLatin1(kAreaCodes[city]))
                                   .arg(random.bounded(100, 1000))
                                   .arg(random.bounded(0, 10000), 4, 10, QLatin1Char('0')));
            check(query.exec(), query);
        }
    });
}

void addOrderLines(QSqlDatabase& db, int count)
{
    QRandomGenerator random(11);
    QSqlQuery query(db);
    check(query.prepare(QStringLiteral(
              "INSERT INTO \"DataBarang\" (\"No Pesanan\", \"Kode Pelanggan\", \"Kode Barang\", \"Nama Barang\", "
              "\"Jenis Barang\", \"Harga Satuan\", \"Banyak Barang\", \"No Faktur\", \"Tanggal\") "
              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          query);
    const QDate firstDay(2024, 1, 2);
    inTransaction(db, [&] {
        for (int number = 1; number <= count; ++number) {
            const Goods& goods = kGoods[random.bounded(5)];
            const Packaging& packaging = kPackaging[(number - 1) % 4];
            const bool sold = random.bounded(2) == 0;
            query.addBindValue(double(number));
            query.addBindValue(customerCode(random.bounded(kCustomers)));
            query.addBindValue(QString::fromLatin1(goods.code));
            query.addBindValue(QString::fromLatin1(goods.name));
            query.addBindValue(QString::fromLatin1(packaging.type));
            query.addBindValue(packaging.price);
            query.addBindValue(double(random.bounded(1, 51)));
            query.addBindValue(sold ? QVariant(QStringLiteral("F%1").arg(number % 100000, 5, 10, QLatin1Char('0')))
                                    : QVariant());
            query.addBindValue(sold ? QVariant(firstDay.addDays(random.bounded(365)).toString(Qt::ISODate))
                                    : QVariant());
            check(query.exec(), query);
        }
    });
}

}
