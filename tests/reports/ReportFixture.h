#pragma once

// A report over a real test database, with bands in recognisable colours:
// page header cyan, title yellow, column header blue, detail green, page
// footer red, summary magenta. Lengths in 0.1 mm.

#include "RepPageLog.h"
#include "TestDatabase.h"

#include "data/DataModel.h"
#include "reports/TRepPrintable.h"
#include "reports/TReport.h"

struct ReportFixture {
    TestDatabase db;
    QObject owner;
    DataModel::AllViews views{};
    TReport* report = nullptr;
    TRepBand* header = nullptr;
    TRepBand* title = nullptr;
    TRepBand* detail = nullptr;
    TRepBand* summary = nullptr;
    TRepSysData* detailNo = nullptr;

    // `customers` customers K01.. with names "Nama 1"..; the views opened.
    explicit ReportFixture(int customers = 0)
    {
        for (int i = 1; i <= customers; ++i)
            db.addCustomer(QStringLiteral("K%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("Nama %1").arg(i));
        views = DataModel::SetupAll(&owner);
        report = new TReport(&owner);
        report->DataSet = views.pelanggan.Pelanggan;
        report->Page.PaperSize = TRepPaperSize::Custom;
        report->Page.SetValues({100, 1000, 100, 1000, 100, 100, 0});
        header = band(rbPageHeader, 200, Qt::cyan);
        title = band(rbTitle, 100, Qt::yellow);
        detail = band(rbDetail, 100, Qt::green);
        summary = band(rbSummary, 50, Qt::magenta);
        detailNo = new TRepSysData(detail);
        detailNo->SetData(TRepSysDataType::rsDetailNo);
        detailNo->Size = {45, 10, 10, 100};
    }

    TRepBand* band(TRepBandType type, double height, const QColor& color)
    {
        TRepBand* result = report->CreateBand(type);
        result->Size.Height = height;
        result->Color = color;
        return result;
    }

    // Runs the report into a page store (no preview window is installed).
    TRepPrinter& run()
    {
        report->PreviewReport();
        return *report->Output();
    }

    int pages() const { return report->Output() ? report->Output()->pageCount() : -1; }
    PageLog page(int n) const { return logPage(*report->Output(), n); }

    // The detail numbers printed on page n.
    QStringList detailNumbers(int n) const
    {
        QStringList numbers;
        for (const LoggedText& text : page(n).texts) {
            bool isNumber = false;
            text.text.toInt(&isNumber);
            if (isNumber)
                numbers.append(text.text);
        }
        return numbers;
    }

    int y(double tenths) const { return report->Output()->YPos(tenths); }
};
