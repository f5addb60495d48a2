#include "data/ViewTotal.h"

#include "data/DataSet.h"
#include "data/Field.h"
#include "data/Formats.h"

QString TotalJumlahHarga(TDataSet* view)
{
    view->First();
    Currency total;
    while (!view->Eof()) {
        total += view->FieldByName(QStringLiteral("Jumlah Harga"))->AsCurrency();
        view->Next();
    }
    return NumberToText(total.toDouble());
}
