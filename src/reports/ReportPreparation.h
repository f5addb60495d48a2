#pragma once

// What the program does to its views and total labels before it produces a
// report; shared by the windows and the command-line tool.

#include <QString>

class TDataSet;
class TRepLabel;

// The total of "Jumlah Harga" over `view` (from its first record; the view is
// left at its end) becomes the caption of `totalLabel`.
void WriteTotal(TDataSet* view, TRepLabel* totalLabel);

// Puts the customer view on the customer whose code is exactly `code` (the
// goods view follows with that customer's lines) and the sales view on that
// customer's first line. A view where nothing matches stays where it was.
// Returns whether the customer was found.
bool LocateInvoiceCustomer(TDataSet* pelanggan, TDataSet* penjualan, const QString& code);
