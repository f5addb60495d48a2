#pragma once

#include "app/TForm.h"

// The customer window.
class TFormPelanggan : public TForm {
    Q_OBJECT
public:
    explicit TFormPelanggan(QWidget* owner);
};

extern TFormPelanggan* FormPelanggan;
