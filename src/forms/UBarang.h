#pragma once

#include "app/TForm.h"
#include "data/DataModel.h"

class TReport;
class TRepLabel;

// The goods window: a customer's order lines, priced by packaging type.
class TFormBarang : public TForm, public DataModel::BarangView {
    Q_OBJECT
public:
    explicit TFormBarang(QWidget* owner);

    // The goods sales report over the sales window's view, with its total label.
    TReport* repBarang;
    TRepLabel* RepLabel5;
};

extern TFormBarang* FormBarang;
