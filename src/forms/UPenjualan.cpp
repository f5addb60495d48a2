#include "forms/UPenjualan.h"

TFormPenjualan* FormPenjualan = nullptr;

TFormPenjualan::TFormPenjualan(QWidget* owner) : TForm(owner), DataModel::PenjualanView(DataModel::SetupPenjualan(this))
{
    initWindow(windowCaption(QStringLiteral("Penjualan"), 112), TBorderStyle::bsSingle, QSize(600, 338));
    Penjualan->Open();
}
