#include "reports/RepHarian.h"

#include "reports/ReportLayout.h"
#include "reports/TReport.h"

using namespace ReportLayout;

TReport* CreateRepHarian(QObject* owner, TDataSet* penjualan)
{
    TReport* report = newReport(owner, QStringLiteral("repHarian"), penjualan, TRepPaperSize::Custom,
                                QStringLiteral("(127.0 2794.0 127.0 1795.78 127.0 127.0 0.0)"));

    TRepBand* header = addBand(report, QStringLiteral("RepBand2"), rbPageHeader, 277.8, aqua(), AllSides);
    addCompanyHeading(header, {QStringLiteral("LAPORAN PENJUALAN HARIAN"),
                               {QStringLiteral("RepLabel14"), {444.5, 21.2, 759.4, 60.9}},
                               {QStringLiteral("RepImage2"), {402.2, 84.7, 172.0, 150.8}},
                               {QStringLiteral("RepLabel13"), {613.8, 84.7, 486.8, 66.1}},
                               {QStringLiteral("RepLabel12"), {635.0, 148.2, 394.2, 45.0}}});
    addLabel(header, QStringLiteral("RepLabel15"), {635.0, 211.7, 153.5, 45.0}, QStringLiteral("Tanggal  :"), aqua());
    // Reads the driving view: the date of the line current when the header prints.
    addDBText(header, QStringLiteral("RepDBText7"), {846.7, 211.7, 121.7, 45.0}, penjualan, QStringLiteral("Tanggal"),
              Qt::white);

    TRepBand* title = addBand(report, QStringLiteral("RepBand3"), rbTitle, 105.8, inactiveCaptionText(),
                              Bottom | Left | Right);
    addLabels(title,
              {{QStringLiteral("RepLabel16"), {21.2, 42.3, 153.5, 45.0}, QStringLiteral("No Faktur")},
               {QStringLiteral("RepLabel17"), {275.2, 42.3, 254.0, 45.0}, QStringLiteral("Kode Pelanggan")},
               {QStringLiteral("RepLabel18"), {635.0, 42.3, 201.1, 45.0}, QStringLiteral("Kode Barang")},
               {QStringLiteral("RepLabel19"), {910.2, 42.3, 238.1, 45.0}, QStringLiteral("Banyak Barang")},
               {QStringLiteral("RepLabel20"), {1270.0, 42.3, 211.7, 45.0}, QStringLiteral("Jumlah Harga")}},
              inactiveCaptionText());

    TRepBand* detail = addBand(report, QStringLiteral("RepBand7"), rbDetail, 84.7, Qt::white, AllSides);
    addDBTexts(detail, penjualan,
               {{QStringLiteral("RepDBText8"), {21.2, 21.2, 153.5, 45.0}, QStringLiteral("No Faktur")},
                {QStringLiteral("RepDBText9"), {275.2, 21.2, 254.0, 45.0}, QStringLiteral("Kode Pelanggan")},
                {QStringLiteral("RepDBText10"), {677.3, 21.2, 201.1, 45.0}, QStringLiteral("Kode Barang")},
                {QStringLiteral("RepDBText11"), {931.3, 21.2, 238.1, 45.0}, QStringLiteral("Banyak Barang")},
                {QStringLiteral("RepDBText12"), {1270.0, 21.2, 211.7, 45.0}, QStringLiteral("Jumlah Harga")}},
               Qt::white);

    addBand(report, QStringLiteral("RepBand8"), rbSummary, 84.7, Qt::white, Top);
    return report;
}
