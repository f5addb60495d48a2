#include "Tables.h"

namespace Tables {

const std::vector<Layout>& data()
{
    static const std::vector<Layout> layouts{
        {QStringLiteral("DataPelanggan"),
         {{QStringLiteral("Kode Pelanggan"), Kind::Text, 4, true},
          {QStringLiteral("Nama Pelanggan"), Kind::Text, 20},
          {QStringLiteral("Alamat"), Kind::Text, 30},
          {QStringLiteral("No Telepon"), Kind::Text, 14}}},
        {QStringLiteral("DataBarang"),
         {{QStringLiteral("No Pesanan"), Kind::Number, 0, true},
          {QStringLiteral("Kode Pelanggan"), Kind::Text, 6},
          {QStringLiteral("Kode Barang"), Kind::Text, 8},
          {QStringLiteral("Nama Barang"), Kind::Text, 35},
          {QStringLiteral("Jenis Barang"), Kind::Text, 20},
          {QStringLiteral("Harga Satuan"), Kind::Number},
          {QStringLiteral("Banyak Barang"), Kind::Number},
          {QStringLiteral("No Faktur"), Kind::Text, 6},
          {QStringLiteral("Tanggal"), Kind::Date},
          {QStringLiteral("Total Jumlah"), Kind::Number}}},
    };
    return layouts;
}

const QStringList& operatorColumns()
{
    static const QStringList columns{QStringLiteral("Nama"), QStringLiteral("Salt"), QStringLiteral("Hash"),
                                     QStringLiteral("Iterations")};
    return columns;
}

}
