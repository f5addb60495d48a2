#pragma once

#include "app/TForm.h"
#include "data/DataModel.h"

// The sales window: invoice number and date of sale for a customer's lines.
class TFormPenjualan : public TForm, public DataModel::PenjualanView {
    Q_OBJECT
public:
    explicit TFormPenjualan(QWidget* owner);
};

extern TFormPenjualan* FormPenjualan;
