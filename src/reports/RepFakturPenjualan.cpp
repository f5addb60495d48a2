#include "reports/RepFakturPenjualan.h"

#include "data/DataSet.h"
#include "reports/ReportLayout.h"
#include "reports/ReportPreparation.h"
#include "reports/TRepPrintable.h"
#include "reports/TReport.h"

using namespace ReportLayout;

namespace {

// The sales view's invoice number and date belong on the invoice only while
// it stands on a line of the invoice's customer. For a customer without
// lines it stays on another customer's line, whose number and date are not
// printed.
void onlyForTheCustomer(TRepDBText* text, TDataSet* penjualan, TDataSet* pelanggan)
{
    text->OnPrint = [penjualan, pelanggan](TRepCustomLabel*, QString& value) {
        const QString key = QStringLiteral("Kode Pelanggan");
        if (penjualan->IsEmpty() || pelanggan->IsEmpty()
            || penjualan->FieldByName(key)->AsString() != pelanggan->FieldByName(key)->AsString())
            value.clear();
    };
}

void addPageHeader(TReport* report, TDataSet* penjualan, TDataSet* pelanggan)
{
    TRepBand* header = addBand(report, QStringLiteral("RepBand3"), rbPageHeader, 404.8, highlight(), Bottom);
    header->SetFont(arial(10, true));
    addLabel(header, QStringLiteral("RepLabel8"), {571.5, 63.5, 664.1, 79.4}, QStringLiteral("FAKTUR PENJUALAN"),
             Qt::white, arial(18, true));
    addLabel(header, QStringLiteral("RepLabel1"), {84.7, 211.7, 320.1, 45.0},
             QStringLiteral("Tanggal") + QString(16, QLatin1Char(' ')) + QLatin1Char(':'), Qt::white);
    onlyForTheCustomer(addDBText(header, QStringLiteral("RepDBText2"), {465.7, 211.7, 140.2, 45.0}, penjualan,
                                 QStringLiteral("Tanggal"), Qt::white),
                       penjualan, pelanggan);
    addLabel(header, QStringLiteral("RepLabel2"), {84.7, 317.5, 314.9, 45.0}, QStringLiteral("Nama Pelanggan :"),
             Qt::white);
    addDBText(header, QStringLiteral("RepDBText3"), {465.7, 317.5, 293.7, 45.0}, pelanggan,
              QStringLiteral("Nama Pelanggan"), Qt::white);
    for (TRepPrintable* element : header->Elements())
        static_cast<TRepCustomLabel*>(element)->TextColor = Qt::black;
}

void addColumnHeadings(TReport* report)
{
    TRepBand* title = addBand(report, QStringLiteral("RepBand4"), rbTitle, 105.8, Qt::white, Bottom | Left | Right);
    addLabels(title,
              {{QStringLiteral("RepLabel11"), {21.2, 21.2, 45.0, 45.0}, QStringLiteral("No")},
               {QStringLiteral("RepLabel3"), {127.0, 21.2, 153.5, 45.0}, QStringLiteral("No Faktur")},
               {QStringLiteral("RepLabel4"), {317.5, 21.2, 201.1, 45.0}, QStringLiteral("Kode Barang")},
               {QStringLiteral("RepLabel5"), {571.5, 21.2, 211.7, 45.0}, QStringLiteral("Nama Barang")},
               {QStringLiteral("RepLabel6"), {973.7, 21.2, 238.1, 45.0}, QStringLiteral("Banyak Barang")},
               {QStringLiteral("RepLabel7"), {1291.2, 21.2, 211.7, 45.0}, QStringLiteral("Jumlah Harga")}},
              Qt::white);
}

void addLines(TReport* report, TDataSet* barang, TDataSet* penjualan, TDataSet* pelanggan)
{
    TRepBand* detail = addBand(report, QStringLiteral("RepBand1"), rbDetail, 84.7, Qt::white, Bottom | Left | Right);
    addSysData(detail, QStringLiteral("RepSysData1"), {21.2, 21.2, 158.8, 45.0}, TRepSysDataType::rsDetailNo,
               Qt::white);
    // The sales view is not the driving view: every line shows the invoice
    // number of the line it stands on.
    onlyForTheCustomer(addDBText(detail, QStringLiteral("RepDBText10"), {169.3, 21.2, 153.5, 45.0}, penjualan,
                                 QStringLiteral("No Faktur"), Qt::white),
                       penjualan, pelanggan);
    addDBTexts(detail, barang,
               {{QStringLiteral("RepDBText11"), {317.5, 21.2, 201.1, 45.0}, QStringLiteral("Kode Barang")},
                {QStringLiteral("RepDBText12"), {571.5, 21.2, 211.7, 45.0}, QStringLiteral("Nama Barang")},
                {QStringLiteral("RepDBText13"), {1037.2, 21.2, 238.1, 45.0}, QStringLiteral("Banyak Barang")},
                {QStringLiteral("RepDBText14"), {1291.2, 21.2, 211.7, 45.0}, QStringLiteral("Jumlah Harga")}},
               Qt::white);
}

} // namespace

RepFakturPenjualanDefinition CreateRepFakturPenjualan(QObject* owner, TDataSet* barang, TDataSet* penjualan,
                                                      TDataSet* pelanggan)
{
    TReport* report = newReport(owner, QStringLiteral("repFakturPenjualan"), barang, TRepPaperSize::A4,
                                QStringLiteral("(127.0 2970.0 127.0 2100.0 254.0 254.0 0.0)"));
    addPageHeader(report, penjualan, pelanggan);
    addColumnHeadings(report);
    addLines(report, barang, penjualan, pelanggan);
    TRepBand* summary = addBand(report, QStringLiteral("RepBand2"), rbSummary, 105.8, Qt::white, AllSides);
    addLabel(summary, QStringLiteral("RepLabel9"), {1016.0, 42.3, 259.3, 45.0}, QStringLiteral("Jumlah Total  Rp"),
             Qt::white);
    TRepLabel* total = addLabel(summary, QStringLiteral("RepLabel10"), {1291.2, 42.3, 172.0, 45.0},
                                QStringLiteral("RepLabel10"), Qt::white);
    // Every run totals the lines it prints, so an invoice printed again from
    // its preview after the views moved on never shows another invoice's total.
    report->BeforePrint = [barang, total](TReport*, bool&) { WriteTotal(barang, total); };
    return {report, total};
}
