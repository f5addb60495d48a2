#pragma once

#include "app/TForm.h"
#include "data/DataModel.h"

class TReport;

// The sales window: invoice number and date of sale for a customer's lines.
class TFormPenjualan : public TForm, public DataModel::PenjualanView {
    Q_OBJECT
public:
    explicit TFormPenjualan(QWidget* owner);

    // The daily sales report.
    TReport* repHarian;

    void SpeedButton5Click();
};

extern TFormPenjualan* FormPenjualan;
