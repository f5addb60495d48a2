#include "forms/UPenjualan.h"

#include "app/MessageBoxes.h"
#include "reports/RepHarian.h"
#include "reports/TReport.h"

TFormPenjualan* FormPenjualan = nullptr;

TFormPenjualan::TFormPenjualan(QWidget* owner) : TForm(owner), DataModel::PenjualanView(DataModel::SetupPenjualan(this))
{
    initWindow(windowCaption(QStringLiteral("Penjualan"), 112), TBorderStyle::bsSingle, QSize(600, 338));
    Penjualan->Open();
    repHarian = CreateRepHarian(this, Penjualan);
}

void TFormPenjualan::SpeedButton5Click()
{
    if (MessageDlg(QStringLiteral("Yakin mau di Print ?"), mbYes | mbNo) == mrYes)
        repHarian->PrintReport();
}
