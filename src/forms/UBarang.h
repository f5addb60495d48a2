#pragma once

#include "app/TForm.h"

// The goods window: a customer's order lines, priced by packaging type.
class TFormBarang : public TForm {
    Q_OBJECT
public:
    explicit TFormBarang(QWidget* owner);
};

extern TFormBarang* FormBarang;
