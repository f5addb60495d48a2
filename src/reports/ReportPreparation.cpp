#include "reports/ReportPreparation.h"

#include "data/DataSet.h"
#include "data/ViewTotal.h"
#include "reports/TRepPrintable.h"

void WriteTotal(TDataSet* view, TRepLabel* totalLabel)
{
    totalLabel->SetCaption(TotalJumlahHarga(view));
}

bool LocateInvoiceCustomer(TDataSet* pelanggan, TDataSet* penjualan, const QString& code)
{
    const QStringList key{QStringLiteral("Kode Pelanggan")};
    const bool found = pelanggan->FindByKey(key, code);
    penjualan->FindByKey(key, code);
    return found;
}
