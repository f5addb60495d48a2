#include "app/USplash.h"

#include "reports/Pictures.h"
#include "widgets/TImage.h"
#include "widgets/TTimer.h"

TFrmSplash* FrmSplash = nullptr;

TFrmSplash::TFrmSplash(QWidget* owner) : TForm(owner)
{
    initWindow(windowCaption(QStringLiteral("Splash"), 56), TBorderStyle::bsNone, QSize(363, 318));
    Image1 = new TImage(client(), QRect(0, 0, 363, 318), Pictures::logo());
    Timer1 = new TTimer(this, 2000, [this] { Timer1Timer(); });
}

void TFrmSplash::Timer1Timer()
{
    Timer1->setEnabled(false);
    Close();
}
