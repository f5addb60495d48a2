#pragma once

class QObject;
class TDataSet;
class TReport;
class TRepLabel;

// The goods sales report: every order line of `penjualan` with its goods,
// price, quantity and amount, and the total that the caller writes into
// RepLabel5 before output (its caption stays until written again).
struct RepBarangDefinition {
    TReport* repBarang;
    TRepLabel* RepLabel5;
};
RepBarangDefinition CreateRepBarang(QObject* owner, TDataSet* penjualan);
// The same on the goods window, driven by the sales window's view, which is
// created after it: bound as soon as the sales window's data source exists.
RepBarangDefinition CreateRepBarangOnSalesWindow(QObject* owner);
