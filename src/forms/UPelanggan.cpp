#include "forms/UPelanggan.h"

#include "reports/RepPelanggan.h"

TFormPelanggan* FormPelanggan = nullptr;

TFormPelanggan::TFormPelanggan(QWidget* owner) : TForm(owner), DataModel::PelangganView(DataModel::SetupPelanggan(this))
{
    initWindow(windowCaption(QStringLiteral("Pelanggan"), 98), TBorderStyle::bsSingle, QSize(550, 383));
    Pelanggan->Open();
    repPelanggan = CreateRepPelanggan(this, Pelanggan);
}
