#include "forms/UBarang.h"

TFormBarang* FormBarang = nullptr;

TFormBarang::TFormBarang(QWidget* owner) : TForm(owner), DataModel::BarangView(DataModel::SetupBarang(this))
{
    initWindow(windowCaption(QStringLiteral("Barang"), 136), TBorderStyle::bsSingle, QSize(659, 467));
    Barang->Open();
}
