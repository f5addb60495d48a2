#include "forms/UPesanan.h"

#include "data/DataModel.h"
#include "data/controls/TDBComboBox.h"
#include "data/controls/TDBEdit.h"
#include "forms/EntryWindow.h"
#include "reports/Pictures.h"
#include "widgets/Fonts.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"
#include "widgets/TSpeedButton.h"

#include <QGroupBox>

#include <utility>

TFormPesanan* FormPesanan = nullptr;

namespace {

const std::pair<QLatin1String, QLatin1String> kProducts[] = {
    {QLatin1String("BRG01"), QLatin1String("Veri Ruvarur Botol")},
    {QLatin1String("BRG02"), QLatin1String("Veri Ruvarur Kotak")},
    {QLatin1String("BRG03"), QLatin1String("Doz Ezovidu Genggam")},
    {QLatin1String("BRG04"), QLatin1String("Doz Ezovidu Kaleng")},
    {QLatin1String("BRG05"), QLatin1String("Doz Ezovidu Botol")},
};

// The goods view, owned by the goods window.
TTable* barang()
{
    return DataModel::SharedView(QStringLiteral("Barang"));
}

} // namespace

TFormPesanan::TFormPesanan(QWidget* owner) : TForm(owner)
{
    initWindow(windowCaption(QStringLiteral("Pesanan"), 58), TBorderStyle::bsSingle, QSize(281, 228));
    Panel2 = new TPanel(client(), QRect(0, 0, 281, 41), TPanelBevel::bvRaised, TPanelBevel::bvNone);
    Label4 = new TLabel(Panel2, 24, 4, QStringLiteral("INPUT DATA PESANAN"),
                        pixelFont(QStringLiteral("MS Sans Serif"), 19, fsBold), Qt::black);
    createButtons();
    createEntryRows();
}

void TFormPesanan::createButtons()
{
    Panel1 = new TPanel(client(), QRect(8, 152, 265, 73), TPanelBevel::bvRaised, TPanelBevel::bvNone);
    auto button = [this](const QRect& bounds, const QString& word, void (TFormPesanan::*handler)()) {
        return new TSpeedButton(Panel1, bounds, Pictures::buttonFace(word), [this, handler] { (this->*handler)(); });
    };
    SpeedButton3 = button(QRect(8, 0, 97, 33), QStringLiteral("Simpan"), &TFormPesanan::SpeedButton3Click);
    SpeedButton1 = button(QRect(160, 0, 105, 33), QStringLiteral("Tambah"), &TFormPesanan::SpeedButton1Click);
    SpeedButton2 = button(QRect(0, 32, 105, 33), QStringLiteral("Hapus"), &TFormPesanan::SpeedButton2Click);
    SpeedButton4 = button(QRect(160, 32, 97, 33), QStringLiteral("Keluar"), &TFormPesanan::SpeedButton4Click);
}

// Every control is bound to the goods window's data source.
void TFormPesanan::createEntryRows()
{
    GroupBox1 = new QGroupBox(QStringLiteral("Data Pesanan"), client());
    GroupBox1->setGeometry(8, 40, 265, 113);
    const QFont labelFont = pixelFont(QStringLiteral("MS Sans Serif"), 11, fsBold);
    Label1 = new TLabel(GroupBox1, 16, 24, QStringLiteral("No Pesanan"), labelFont, Qt::black);
    Label2 = new TLabel(GroupBox1, 16, 48, QStringLiteral("Kode Pelanggan"), labelFont, Qt::black);
    Label3 = new TLabel(GroupBox1, 16, 68, QStringLiteral("Kode Barang"), labelFont, Qt::black);
    Label5 = new TLabel(GroupBox1, 16, 92, QStringLiteral("Nama Barang"), labelFont, Qt::black);

    TDataSource* source = DataModel::SharedSource(QStringLiteral("Barang"));
    DBEdit1 = new TDBEdit(GroupBox1, QRect(128, 16, 65, 21), source, QStringLiteral("No Pesanan"));
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->SetMaxLength(3);
    DBEdit2 = new TDBEdit(GroupBox1, QRect(128, 40, 65, 21), source, QStringLiteral("Kode Pelanggan"));
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->SetMaxLength(4);
    QStringList codes;
    for (const auto& product : kProducts)
        codes << product.first;
    KodeBarang = new TDBComboBox(GroupBox1, QRect(128, 62, 97, 21), source, QStringLiteral("Kode Barang"), codes);
    KodeBarang->setObjectName(QStringLiteral("KodeBarang"));
    KodeBarang->OnChange = [this] { KodeBarangChange(); };
    DBEdit3 = new TDBEdit(GroupBox1, QRect(128, 88, 129, 21), source, QStringLiteral("Nama Barang"));
    DBEdit3->setObjectName(QStringLiteral("DBEdit3"));
    setTabOrder(DBEdit1, DBEdit2);
    setTabOrder(DBEdit2, KodeBarang);
    setTabOrder(KodeBarang, DBEdit3);
}

QString TFormPesanan::productName(const QString& goodsCode)
{
    for (const auto& [code, name] : kProducts)
        if (goodsCode == code)
            return name;
    return QString();
}

// Every activation, also after a message box shown over this window, ends
// with empty entry controls and the focus on the order number. The focus
// moves first: a control that receives it reloads its field's text.
void TFormPesanan::FormActivate()
{
    DBEdit1->setFocus(Qt::OtherFocusReason);
    DBEdit1->ClearShownText();
    DBEdit2->ClearShownText();
    DBEdit3->ClearShownText();
    EntryWindow::clearShownText(KodeBarang);
}

// Add: the new line starts with the code of the customer current in the
// customer view; an error goes to the error report, the focus stays.
void TFormPesanan::SpeedButton1Click()
{
    barang()->Insert();
    DBEdit1->setFocus(Qt::OtherFocusReason);
}

// The combo box has put the view into edit or insert state by now. A code
// that matches no entry leaves the product name; errors are swallowed.
void TFormPesanan::KodeBarangChange()
{
    try {
        const QString name = productName(KodeBarang->Text());
        if (!name.isEmpty() && DBEdit3->Field())
            DBEdit3->Field()->SetAsString(name);
    } catch (...) {
    }
}

void TFormPesanan::SpeedButton3Click()
{
    EntryWindow::saveView(barang(), QStringLiteral("Data sudah disimpan"));
}

void TFormPesanan::SpeedButton2Click()
{
    EntryWindow::deleteCurrent({barang()});
}

// Close, then re-assign the goods view's index: it stays the same, but the
// assignment settles a pending line (posted if anything was typed into it,
// else discarded). A refused post is handled as the save button's: the key
// message alone, or the error report; the line then stays pending.
void TFormPesanan::SpeedButton4Click()
{
    Close();
    barang()->SetIndexName(QStringLiteral("Kode Pelanggan"));
}
