#include "forms/UPesanan.h"

TFormPesanan* FormPesanan = nullptr;

TFormPesanan::TFormPesanan(QWidget* owner) : TForm(owner)
{
    initWindow(windowCaption(QStringLiteral("Pesanan"), 58), TBorderStyle::bsSingle, QSize(281, 228));
}
