#include "forms/UPelanggan.h"

TFormPelanggan* FormPelanggan = nullptr;

TFormPelanggan::TFormPelanggan(QWidget* owner) : TForm(owner)
{
    initWindow(windowCaption(QStringLiteral("Pelanggan"), 98), TBorderStyle::bsSingle, QSize(550, 383));
}
