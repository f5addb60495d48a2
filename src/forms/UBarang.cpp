#include "forms/UBarang.h"

#include "reports/RepBarang.h"

TFormBarang* FormBarang = nullptr;

TFormBarang::TFormBarang(QWidget* owner) : TForm(owner), DataModel::BarangView(DataModel::SetupBarang(this))
{
    initWindow(windowCaption(QStringLiteral("Barang"), 136), TBorderStyle::bsSingle, QSize(659, 467));
    Barang->Open();
    const RepBarangDefinition goods = CreateRepBarangOnSalesWindow(this);
    repBarang = goods.repBarang;
    RepLabel5 = goods.RepLabel5;
}
