#pragma once

class QObject;
class TDataSet;
class TReport;

// The daily sales report: every order line of `penjualan`, whatever its
// date; each page header shows the date of the first line on that page.
TReport* CreateRepHarian(QObject* owner, TDataSet* penjualan);
