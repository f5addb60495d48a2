#pragma once

class QObject;
class TDataSet;
class TReport;
class TRepLabel;

// The sales invoice: the lines of `barang` (the goods view, a detail of the
// customer view), each with the invoice number of the sales view's current
// line; the header shows that line's date and the customer's name. Each run
// first writes the total of those lines into RepLabel10.
struct RepFakturPenjualanDefinition {
    TReport* repFakturPenjualan;
    TRepLabel* RepLabel10;
};
RepFakturPenjualanDefinition CreateRepFakturPenjualan(QObject* owner, TDataSet* barang, TDataSet* penjualan,
                                                      TDataSet* pelanggan);
