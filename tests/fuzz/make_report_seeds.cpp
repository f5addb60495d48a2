// Writes the seeds that need the program's own writers: small prepared-report
// files (one page, three pages, three compressed pages) and one page of each
// of the four reports, made from a small database in a temporary folder, into
// the folder given first; coded pages for fuzz_decompress into the folder
// given second; the recorded pages of those files for fuzz_recorded_page into
// the folder given third.

#include "data/AliasConfig.h"
#include "data/DataModel.h"
#include "data/Schema.h"
#include "data/SqlConnection.h"
#include "data/StorageEngine.h"
#include "reports/RepBarang.h"
#include "reports/RepFakturPenjualan.h"
#include "reports/RepHarian.h"
#include "reports/RepPelanggan.h"
#include "reports/ReportPreparation.h"
#include "reports/TRepCompression.h"
#include "reports/TRepPageList.h"
#include "reports/TRepPrinter.h"
#include "reports/TRepStream.h"
#include "reports/TReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

void writeReport(const QString& fileName, int pages, bool compressed)
{
    TRepPrinter output;
    output.setCompression(compressed);
    output.setPaperSize(TRepPaperSize::A5);
    output.BeginDoc();
    for (int page = 1; page <= pages; ++page) {
        output.NewPage();
        output.Canvas()->drawText(output.XPos(100), output.YPos(100), QStringLiteral("Halaman %1").arg(page));
        output.Canvas()->drawRect(output.XPos(50), output.YPos(50), output.XSize(300), output.YSize(80));
    }
    output.EndDoc();
    output.SaveToFile(fileName);
}

void writeFile(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// Three customers and four lines, two of them sold: every report fits one page.
void makeDatabase(const QTemporaryDir& dir)
{
    AliasConfig::Alias alias{QStringLiteral("sqlite"), dir.filePath(QStringLiteral("seeds.sqlite"))};
    QFile(alias.path).open(QIODevice::WriteOnly);
    AliasConfig::write(QStringLiteral("Dor"), alias);
    SqlConnection::with(alias, QStringLiteral("seeds"), [](QSqlDatabase& db) {
        Schema::create(db);
        QSqlQuery query(db);
        for (const char* customer : {"('P001', 'BUDI', 'JL. MERDEKA 1')", "('P002', 'SITI', 'JL. SUDIRMAN 2')",
                                     "('P003', 'AGUS', 'JL. VETERAN 3')"})
            query.exec(QStringLiteral("INSERT INTO \"DataPelanggan\" (\"Kode Pelanggan\", \"Nama Pelanggan\", "
                                      "\"Alamat\") VALUES %1").arg(QLatin1String(customer)));
        for (const char* line : {"(1, 'P001', 'BRG01', 18000, 2, 'F0001', '2006-12-01')",
                                 "(2, 'P001', 'BRG02', 27500, 3, 'F0001', '2006-12-01')",
                                 "(3, 'P002', 'BRG03', 41000, 1, 'F0002', '2006-12-02')",
                                 "(4, 'P003', 'BRG04', 19000, 5, NULL, NULL)"})
            query.exec(QStringLiteral("INSERT INTO \"DataBarang\" (\"No Pesanan\", \"Kode Pelanggan\", \"Kode Barang\", "
                                      "\"Harga Satuan\", \"Banyak Barang\", \"No Faktur\", \"Tanggal\") VALUES %1")
                           .arg(QLatin1String(line)));
    });
}

void saveRun(TReport* report, const QString& fileName)
{
    report->PreviewReport(); // no preview window in this program: the run ends at once
    report->Output()->SaveToFile(fileName);
}

void writeReportSeeds(const QDir& dir)
{
    QTemporaryDir data;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(data.filePath(QStringLiteral("config"))));
    makeDatabase(data);
    QObject owner;
    const DataModel::AllViews views = DataModel::SetupAll(&owner);
    saveRun(CreateRepPelanggan(&owner, views.pelanggan.Pelanggan), dir.filePath(QStringLiteral("pelanggan.rpf")));
    const RepBarangDefinition barang = CreateRepBarang(&owner, views.penjualan.Penjualan);
    WriteTotal(views.penjualan.Penjualan, barang.RepLabel5);
    saveRun(barang.repBarang, dir.filePath(QStringLiteral("barang.rpf")));
    saveRun(CreateRepHarian(&owner, views.penjualan.Penjualan), dir.filePath(QStringLiteral("harian.rpf")));
    const RepFakturPenjualanDefinition faktur = CreateRepFakturPenjualan(
        &owner, views.barang.Barang, views.penjualan.Penjualan, views.pelanggan.Pelanggan);
    LocateInvoiceCustomer(views.pelanggan.Pelanggan, views.penjualan.Penjualan, QStringLiteral("P001"));
    WriteTotal(views.barang.Barang, faktur.RepLabel10);
    saveRun(faktur.repFakturPenjualan, dir.filePath(QStringLiteral("faktur.rpf")));
    closeAllDatabases();
}

// Every page of the prepared-report files in `from`, each page once, as a
// file of its own in `to`.
void writePages(const QDir& from, const QDir& to)
{
    QSet<QByteArray> written;
    for (const QString& name : from.entryList({QStringLiteral("*.rpf")}, QDir::Files)) {
        TRepStream stream(from.filePath(name));
        TRepPageList pages(stream, name);
        for (int n = 1; n <= pages.count(); ++n) {
            const QByteArray page = pages.page(n);
            if (!written.contains(page))
                writeFile(to.filePath(QStringLiteral("%1-%2").arg(QFileInfo(name).baseName()).arg(n)), page);
            written.insert(page);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir dir(app.arguments().value(1, QStringLiteral(".")));
    writeReport(dir.filePath(QStringLiteral("one-page.rpf")), 1, false);
    writeReport(dir.filePath(QStringLiteral("three-pages.rpf")), 3, false);
    writeReport(dir.filePath(QStringLiteral("three-pages-compressed.rpf")), 3, true);
    writeReportSeeds(dir);
    const QDir coded(app.arguments().value(2, QStringLiteral(".")));
    writeFile(coded.filePath(QStringLiteral("text")), TRepCompression::compress("PT. TIRTA WANGSA"));
    QFile page(dir.filePath(QStringLiteral("one-page.rpf")));
    if (page.open(QIODevice::ReadOnly))
        writeFile(coded.filePath(QStringLiteral("page")), TRepCompression::compress(page.readAll()));
    writeFile(coded.filePath(QStringLiteral("empty")), TRepCompression::compress(QByteArray()));
    writePages(dir, QDir(app.arguments().value(3, QStringLiteral("."))));
    return 0;
}
