#pragma once

#include "app/TForm.h"
#include "data/DataModel.h"

// The customer window.
class TFormPelanggan : public TForm, public DataModel::PelangganView {
    Q_OBJECT
public:
    explicit TFormPelanggan(QWidget* owner);
};

extern TFormPelanggan* FormPelanggan;
