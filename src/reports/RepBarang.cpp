#include "reports/RepBarang.h"

#include "data/ComponentRegistry.h"
#include "data/DataSource.h"
#include "reports/ReportLayout.h"
#include "reports/TReport.h"

using namespace ReportLayout;

RepBarangDefinition CreateRepBarang(QObject* owner, TDataSet* penjualan)
{
    TReport* report = newReport(owner, QStringLiteral("repBarang"), penjualan, TRepPaperSize::Custom,
                                QStringLiteral("(127.0 3048.0 127.0 1984.375 127.0 127.0 0.0)"));

    TRepBand* header = addBand(report, QStringLiteral("RepBand4"), rbPageHeader, 277.8, aqua(), AllSides);
    addCompanyHeading(header, {QStringLiteral("LAPORAN PENJUALAN BARANG"),
                               {QStringLiteral("RepLabel1"), {486.8, 42.3, 788.5, 60.9}},
                               {QStringLiteral("RepImage1"), {486.8, 105.8, 150.8, 150.8}},
                               {QStringLiteral("RepLabel6"), {656.2, 127.0, 486.8, 66.1}},
                               {QStringLiteral("RepLabel7"), {635.0, 211.7, 394.2, 45.0}}});

    TRepBand* title = addBand(report, QStringLiteral("RepBand5"), rbTitle, 84.7, inactiveCaptionText(),
                              Top | Left | Right);
    addLabels(title,
              {{QStringLiteral("RepLabel8"), {42.3, 21.2, 201.1, 45.0}, QStringLiteral("Kode Barang")},
               {QStringLiteral("RepLabel9"), {275.2, 21.2, 211.7, 45.0}, QStringLiteral("Nama Barang")},
               {QStringLiteral("RepLabel10"), {698.5, 21.2, 201.1, 45.0}, QStringLiteral("Jenis Barang")},
               {QStringLiteral("RepLabel11"), {952.5, 21.2, 211.7, 45.0}, QStringLiteral("Harga Satuan")}},
              inactiveCaptionText());
    // White boxes on the band's colour.
    addLabels(title,
              {{QStringLiteral("RepLabel2"), {1185.3, 21.2, 238.1, 45.0}, QStringLiteral("Banyak Barang")},
               {QStringLiteral("RepLabel3"), {1439.3, 21.2, 211.7, 45.0}, QStringLiteral("Jumlah Harga")}},
              Qt::white);

    // The dotted frame prints as a solid line.
    TRepBand* detail = addBand(report, QStringLiteral("RepBand6"), rbDetail, 84.7, Qt::white, AllSides);
    detail->Frame.Style = TPenStyle::psDot;
    addDBTexts(detail, penjualan,
               {{QStringLiteral("RepDBText1"), {42.3, 21.2, 201.1, 45.0}, QStringLiteral("Kode Barang")},
                {QStringLiteral("RepDBText2"), {275.2, 21.2, 211.7, 45.0}, QStringLiteral("Nama Barang")},
                {QStringLiteral("RepDBText3"), {698.5, 21.2, 201.1, 45.0}, QStringLiteral("Jenis Barang")},
                {QStringLiteral("RepDBText4"), {952.5, 21.2, 211.7, 45.0}, QStringLiteral("Harga Satuan")},
                {QStringLiteral("RepDBText5"), {1270.0, 21.2, 238.1, 45.0}, QStringLiteral("Banyak Barang")},
                {QStringLiteral("RepDBText6"), {1460.5, 21.2, 211.7, 45.0}, QStringLiteral("Jumlah Harga")}},
               Qt::white);

    TRepBand* summary = addBand(report, QStringLiteral("RepBand1"), rbSummary, 105.8, Qt::white, Top);
    addLabel(summary, QStringLiteral("RepLabel4"), {1206.5, 42.3, 195.8, 45.0}, QStringLiteral("Total Jumlah"),
             Qt::white);
    TRepLabel* total = addLabel(summary, QStringLiteral("RepLabel5"), {1460.5, 42.3, 153.5, 45.0},
                                QStringLiteral("RepLabel5"), Qt::white);
    return {report, total};
}

RepBarangDefinition CreateRepBarangOnSalesWindow(QObject* owner)
{
    const RepBarangDefinition definition = CreateRepBarang(owner, nullptr);
    TReport* report = definition.repBarang;
    ComponentRegistry::resolve(QStringLiteral("FormPenjualan"), QStringLiteral("dsPenjualan"), report,
                               [report](QObject* source) {
        if (auto* dataSource = dynamic_cast<TDataSource*>(source))
            bindDrivingView(report, dataSource->DataSet());
    });
    return definition;
}
