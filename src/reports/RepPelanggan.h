#pragma once

class QObject;
class TDataSet;
class TReport;

// The customer list: every customer of `pelanggan` in key order, with code,
// name, address and telephone number.
TReport* CreateRepPelanggan(QObject* owner, TDataSet* pelanggan);
