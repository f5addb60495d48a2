#include "reports/RepPelanggan.h"

#include "reports/ReportLayout.h"
#include "reports/TReport.h"

using namespace ReportLayout;

TReport* CreateRepPelanggan(QObject* owner, TDataSet* pelanggan)
{
    TReport* report = newReport(owner, QStringLiteral("repPelanggan"), pelanggan, TRepPaperSize::Custom,
                                QStringLiteral("(127.0 2971.270833333334 127.0 1865.3125 127.0 127.0 0.0)"));

    TRepBand* header = addBand(report, QStringLiteral("RepBand1"), rbPageHeader, 299.0, aqua(), AllSides);
    addCompanyHeading(header, {QStringLiteral("LAPORAN PENJUALAN PELANGGAN"),
                               {QStringLiteral("RepLabel1"), {381.0, 42.3, 891.6, 60.9}},
                               {QStringLiteral("RepImage1"), {444.5, 127.0, 150.8, 129.6}},
                               {QStringLiteral("RepLabel6"), {635.0, 127.0, 486.8, 66.1}},
                               {QStringLiteral("RepLabel7"), {698.5, 211.7, 394.2, 45.0}}});

    TRepBand* title = addBand(report, QStringLiteral("RepBand2"), rbTitle, 127.0, inactiveCaptionText(),
                              Bottom | Left | Right);
    addLabels(title,
              {{QStringLiteral("RepLabel2"), {21.2, 42.3, 312.2, 50.3}, QStringLiteral("Kode Pelanggan")},
               {QStringLiteral("RepLabel3"), {359.8, 42.3, 314.9, 50.3}, QStringLiteral("Nama Pelanggan")},
               {QStringLiteral("RepLabel4"), {825.5, 42.3, 124.4, 50.3}, QStringLiteral("Alamat")},
               {QStringLiteral("RepLabel5"), {1312.3, 42.3, 222.3, 50.3}, QStringLiteral("No Telepon")}},
              inactiveCaptionText());
    for (TRepPrintable* heading : title->Elements())
        static_cast<TRepLabel*>(heading)->SetFont(arial(11, true));

    TRepBand* detail = addBand(report, QStringLiteral("RepBand3"), rbDetail, 84.7, Qt::white, Left | Right);
    addDBTexts(detail, pelanggan,
               {{QStringLiteral("RepDBText1"), {42.3, 21.2, 254.0, 45.0}, QStringLiteral("Kode Pelanggan")},
                {QStringLiteral("RepDBText2"), {359.8, 21.2, 264.6, 45.0}, QStringLiteral("Nama Pelanggan")},
                {QStringLiteral("RepDBText3"), {825.5, 21.2, 111.1, 45.0}, QStringLiteral("Alamat")},
                {QStringLiteral("RepDBText4"), {1312.3, 21.2, 174.6, 45.0}, QStringLiteral("No Telepon")}},
               Qt::white);

    // No elements: a closing rule under the last line.
    addBand(report, QStringLiteral("RepBand4"), rbSummary, 105.8, Qt::white, Top);
    return report;
}
