#pragma once

#include "app/TForm.h"
#include "data/DataModel.h"

// The goods window: a customer's order lines, priced by packaging type.
class TFormBarang : public TForm, public DataModel::BarangView {
    Q_OBJECT
public:
    explicit TFormBarang(QWidget* owner);
};

extern TFormBarang* FormBarang;
