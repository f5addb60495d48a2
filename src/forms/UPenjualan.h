#pragma once

#include "app/TForm.h"

// The sales window: invoice number and date of sale for a customer's lines.
class TFormPenjualan : public TForm {
    Q_OBJECT
public:
    explicit TFormPenjualan(QWidget* owner);
};

extern TFormPenjualan* FormPenjualan;
