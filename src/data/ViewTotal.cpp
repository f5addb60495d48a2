#include "data/ViewTotal.h"

#include "data/DataSet.h"
#include "data/Field.h"
#include "data/Formats.h"
#include "data/LongWork.h"

#include <QScopeGuard>

// The controls of the view hear once, at the end, that it moved: updating
// them on every step would cost far more than the step itself.
QString TotalJumlahHarga(TDataSet* view)
{
    LongWork work;
    view->DisableControls();
    const auto enable = qScopeGuard([view] { view->EnableControls(); });
    view->First();
    const TField* amount = view->FieldByName(QStringLiteral("Jumlah Harga"));
    Currency total;
    while (!view->Eof()) {
        total += amount->AsCurrency();
        view->Next();
        work.Step();
    }
    return NumberToText(total.toDouble());
}
