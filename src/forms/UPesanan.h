#pragma once

#include "app/TForm.h"

// The order entry window.
class TFormPesanan : public TForm {
    Q_OBJECT
public:
    explicit TFormPesanan(QWidget* owner);
};

extern TFormPesanan* FormPesanan;
