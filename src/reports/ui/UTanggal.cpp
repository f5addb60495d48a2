#include "reports/ui/UTanggal.h"

TFormTanggal* FormTanggal = nullptr;

TFormTanggal::TFormTanggal(QWidget* owner) : TForm(owner)
{
    initWindow(windowCaption(QStringLiteral("Print"), 44), TBorderStyle::bsSingle, QSize(246, 150));
}
