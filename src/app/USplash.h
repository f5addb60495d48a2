#pragma once

#include "widgets/TForm.h"

class TImage;
class TTimer;

// The splash window: the company logo for two seconds at start-up.
class TFrmSplash : public TForm {
    Q_OBJECT
public:
    explicit TFrmSplash(QWidget* owner);

    TImage* Image1;
    TTimer* Timer1;

    void Timer1Timer();
};

extern TFrmSplash* FrmSplash;
