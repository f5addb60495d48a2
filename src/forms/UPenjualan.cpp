#include "forms/UPenjualan.h"

#include "data/controls/TDBEdit.h"
#include "data/controls/TDBGrid.h"
#include "forms/EntryWindow.h"
#include "reports/Pictures.h"
#include "reports/RepHarian.h"
#include "reports/TReport.h"
#include "widgets/MessageBoxes.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"
#include "widgets/TSpeedButton.h"

TFormPenjualan* FormPenjualan = nullptr;

namespace {

const QString kKodePelanggan = QStringLiteral("Kode Pelanggan");
constexpr int kLabelLeft = 16;
constexpr int kControlLeft = 120;
constexpr int kEditHeight = 21;

} // namespace

TFormPenjualan::TFormPenjualan(QWidget* owner)
    : TForm(owner), DataModel::PenjualanView(DataModel::SetupPenjualan(this))
{
    initWindow(windowCaption(QStringLiteral("Penjualan"), 112), TBorderStyle::bsSingle, QSize(600, 338));
    Penjualan->OnCalcFields = [this](TDataSet* dataSet) { PenjualanCalcFields(dataSet); };
    Panel2 = new TPanel(client(), QRect(0, 0, 600, 49), TPanelBevel::bvRaised, TPanelBevel::bvNone);
    Label4 = EntryWindow::titleLabel(Panel2, 144, 12, QStringLiteral("INPUT DATA PENJUALAN"));
    createEntryRows();
    createButtonPanel();
    createGrid();
    QWidget::setTabOrder(DBEdit1, DBEdit2);
    QWidget::setTabOrder(DBEdit2, DBGrid1);
    QWidget::setTabOrder(DBGrid1, Edit1);
    Penjualan->Open();
    repHarian = CreateRepHarian(this, Penjualan);
}

void TFormPenjualan::createEntryRows()
{
    QWidget* c = client();
    EntryWindow::rowLabel(c, kLabelLeft, 64, QStringLiteral("Kode Pelanggan"));
    EntryWindow::rowLabel(c, kLabelLeft, 88, QStringLiteral("No Faktur"));
    EntryWindow::rowLabel(c, kLabelLeft, 112, QStringLiteral("Tanggal"));

    Edit1 = EntryWindow::customerSearchBox(c, QRect(kControlLeft, 56, 81, kEditHeight));
    Edit1->OnChange = [this] { MaskEdit1Change(); };
    Edit1->OnKeyPress = [this](QChar& key) { Edit1KeyPress(key); };
    DBEdit1 = new TDBEdit(c, QRect(kControlLeft, 80, 121, kEditHeight), dsPenjualan, QStringLiteral("No Faktur"));
    DBEdit2 = new TDBEdit(c, QRect(kControlLeft, 104, 121, kEditHeight), dsPenjualan, QStringLiteral("Tanggal"));
    DBEdit2->SetMaxLength(10);
    // Holds the code of the current line for the check on Enter.
    DBEdit3 = new TDBEdit(c, QRect(264, 88, 41, kEditHeight), dsPenjualan, kKodePelanggan);
    DBEdit3->SetMaxLength(4);
    DBEdit3->setVisible(false);
}

void TFormPenjualan::createGrid()
{
    DBGrid1 = new TDBGrid(client(), QRect(16, 128, 569, 145), dsPenjualan);
    const QStringList columns{kKodePelanggan,
                              QStringLiteral("No Faktur"),
                              QStringLiteral("No Pesanan"),
                              QStringLiteral("Tanggal"),
                              QStringLiteral("Kode Barang"),
                              QStringLiteral("Nama Barang"),
                              QStringLiteral("Jenis Barang"),
                              QStringLiteral("Harga Satuan"),
                              QStringLiteral("Banyak Barang"),
                              QStringLiteral("Jumlah Harga")};
    // Titles centred but the last; every other one, from the first, on the inactive caption colour.
    for (int i = 0; i < columns.size(); ++i) {
        const bool last = i == columns.size() - 1;
        DBGrid1->AddColumn(columns.at(i), QString(), last ? Qt::AlignLeft : Qt::AlignHCenter,
                           i % 2 == 0 ? EntryWindow::kInactiveCaptionText : QColor());
    }
}

void TFormPenjualan::createButtonPanel()
{
    Panel1 = new TPanel(client(), QRect(16, 280, 569, 49), TPanelBevel::bvNone, TPanelBevel::bvRaised);
    const auto button = [this](int left, int width, const char* words, std::function<void()> onClick) {
        return new TSpeedButton(Panel1, QRect(left, 8, width, 33), Pictures::buttonFace(QLatin1String(words)),
                                std::move(onClick));
    };
    SpeedButton1 = button(8, 89, "Simpan", [this] { SpeedButton1Click(); });
    SpeedButton4 = button(104, 97, "Tambah", [this] { SpeedButton4Click(); });
    SpeedButton5 = button(216, 137, "Cetak Harian", [this] { SpeedButton5Click(); });
    SpeedButton2 = button(368, 81, "Hapus", [this] { SpeedButton2Click(); });
    SpeedButton3 = button(466, 89, "Keluar", [this] { SpeedButton3Click(); });
}

// Moves the view to the first line whose customer code begins with the
// search box's text.
void TFormPenjualan::MaskEdit1Change()
{
    Penjualan->FindByKey({kKodePelanggan}, Edit1->Text(), int(TLocateOption::loPartialKey));
}

void TFormPenjualan::Edit1KeyPress(QChar& key)
{
    EntryWindow::searchBoxKey(key, Edit1, DBEdit3, DBEdit1);
}

void TFormPenjualan::SpeedButton1Click()
{
    EntryWindow::saveView(Penjualan, QStringLiteral("data sudah disimpan"));
}

// Edits the current line, then puts "P0" into the search box. When that
// changes the box's text, its locate settles the edit (posting what was
// typed) and moves to the first "P0" line.
void TFormPenjualan::SpeedButton4Click()
{
    Penjualan->Edit();
    Edit1->setEnabled(true);
    Edit1->setFocus();
    Edit1->SetText(QStringLiteral("P0"));
}

void TFormPenjualan::SpeedButton2Click()
{
    EntryWindow::deleteCurrent({Penjualan});
}

void TFormPenjualan::SpeedButton3Click()
{
    Close();
}

void TFormPenjualan::PenjualanCalcFields(TDataSet*)
{
    DataModel::CalcJumlahHarga(PenjualanHargaSatuan, PenjualanBanyakBarang, PenjualanJumlahHarga);
}

void TFormPenjualan::SpeedButton5Click()
{
    if (MessageDlg(QStringLiteral("Yakin mau di Print ?"), mbYes | mbNo) == mrYes)
        repHarian->PrintReport();
}
