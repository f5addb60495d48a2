#include "forms/UPenjualan.h"

TFormPenjualan* FormPenjualan = nullptr;

TFormPenjualan::TFormPenjualan(QWidget* owner) : TForm(owner)
{
    initWindow(windowCaption(QStringLiteral("Penjualan"), 112), TBorderStyle::bsSingle, QSize(600, 338));
}
