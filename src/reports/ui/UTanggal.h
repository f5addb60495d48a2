#pragma once

#include "app/TForm.h"

// The invoice print dialog.
class TFormTanggal : public TForm {
    Q_OBJECT
public:
    explicit TFormTanggal(QWidget* owner);
};

extern TFormTanggal* FormTanggal;
