#pragma once

#include "app/TForm.h"
#include "data/DataModel.h"

class TReport;

// The customer window.
class TFormPelanggan : public TForm, public DataModel::PelangganView {
    Q_OBJECT
public:
    explicit TFormPelanggan(QWidget* owner);

    // The customer list, produced from the main window's report menu.
    TReport* repPelanggan;
};

extern TFormPelanggan* FormPelanggan;
