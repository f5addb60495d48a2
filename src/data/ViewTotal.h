#pragma once

#include <QString>

class TDataSet;

// The total of a view as the goods window and the invoice dialog compute it:
// from the first record, add the field "Jumlah Harga" as a four-decimal
// currency amount while the view is not at its end. Leaves the view on its
// last record with Eof set. Returns the total as NumberToText writes it.
QString TotalJumlahHarga(TDataSet* view);
