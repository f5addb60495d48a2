#include "forms/UBarang.h"

#include "data/ComponentRegistry.h"
#include "data/ViewTotal.h"
#include "data/controls/TDBComboBox.h"
#include "data/controls/TDBEdit.h"
#include "data/controls/TDBGrid.h"
#include "errors/HandlerGuard.h"
#include "forms/EntryWindow.h"
#include "forms/PriceTable.h"
#include "reports/Pictures.h"
#include "reports/RepBarang.h"
#include "reports/TRepPrintable.h"
#include "widgets/MessageBoxes.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"
#include "widgets/TSpeedButton.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

TFormBarang* FormBarang = nullptr;

namespace {

const QString kKodePelanggan = QStringLiteral("Kode Pelanggan");

// Left column: labels at x 18, controls at x 136; right column: 358 and 464.
constexpr int kLeftLabel = 18;
constexpr int kLeftControl = 136;
constexpr int kRightLabel = 358;
constexpr int kRightControl = 464;
constexpr int kEditHeight = 21;

TDBEdit* boundEdit(QWidget* parent, int left, int top, int width, TDataSource* source, const QString& field)
{
    auto* edit = new TDBEdit(parent, QRect(left, top, width, kEditHeight), source, field);
    edit->setObjectName(field);
    return edit;
}

} // namespace

TFormBarang::TFormBarang(QWidget* owner) : TForm(owner), DataModel::BarangView(DataModel::SetupBarang(this))
{
    initWindow(windowCaption(QStringLiteral("Barang"), 136), TBorderStyle::bsSingle, QSize(659, 467));
    Barang->OnCalcFields = [this](TDataSet* dataSet) { BarangCalcFields(dataSet); };
    Barang->OnPostError = [this](TDataSet* dataSet, EDatabaseError& error, TDataAction& action) {
        BarangPostError(dataSet, error, action);
    };
    Panel1 = new TPanel(client(), QRect(0, 0, 659, 57), TPanelBevel::bvRaised, TPanelBevel::bvNone);
    Label10 = EntryWindow::titleLabel(Panel1, 190, 12, QStringLiteral("INPUT DATA BARANG"));
    createEntryControls();
    createButtonBar();
    createGrid();
    setTabOrder();
    Barang->Open();
    const RepBarangDefinition goods = CreateRepBarangOnSalesWindow(this);
    repBarang = goods.repBarang;
    RepLabel5 = goods.RepLabel5;
}

void TFormBarang::createEntryControls()
{
    GroupBox1 = new QGroupBox(QStringLiteral("Data Barang"), client());
    GroupBox1->setGeometry(8, 56, 641, 201);
    QWidget* g = GroupBox1;
    EntryWindow::rowLabel(g, kLeftLabel, 30, QStringLiteral("Kode Pelanggan"));
    EntryWindow::rowLabel(g, kLeftLabel, 70, QStringLiteral("No Pesanan"));
    EntryWindow::rowLabel(g, kLeftLabel, 102, QStringLiteral("Kode Barang"));
    EntryWindow::rowLabel(g, kLeftLabel, 134, QStringLiteral("Nama Barang"));
    EntryWindow::rowLabel(g, kRightLabel, 38, QStringLiteral("Jenis Barang"));
    EntryWindow::rowLabel(g, kRightLabel, 76, QStringLiteral("Harga Satuan"));
    EntryWindow::rowLabel(g, kRightLabel, 108, QStringLiteral("Banyak Barang"));
    EntryWindow::rowLabel(g, kRightLabel, 140, QStringLiteral("Jumlah Harga"));

    Edit1 = EntryWindow::customerSearchBox(g, QRect(kLeftControl, 32, 97, kEditHeight));
    Edit1->OnChange = [this] { Edit1Change(); };
    Edit1->OnKeyPress = [this](QChar& key) { Edit1KeyPress(key); };
    DBEdit5 = boundEdit(g, kLeftControl, 64, 97, dsBarang, QStringLiteral("No Pesanan"));
    DBEdit5->SetMaxLength(3);
    DBEdit6 = boundEdit(g, kLeftControl, 96, 97, dsBarang, QStringLiteral("Kode Barang"));
    DBEdit6->setEnabled(false);
    DBEdit1 = boundEdit(g, kLeftControl, 128, 185, dsBarang, QStringLiteral("Nama Barang"));
    DBEdit1->setEnabled(false);

    JenisBarang = new TDBComboBox(g, QRect(kRightControl, 32, 89, kEditHeight), dsBarang,
                                  QStringLiteral("Jenis Barang"),
                                  {QStringLiteral("BOTOL A"), QStringLiteral("BOTOL B"), QStringLiteral("KALENG"),
                                   QStringLiteral("GENGGAM")});
    JenisBarang->OnChange = [this] { JenisBarangChange(); };
    DBEdit2 = boundEdit(g, kRightControl, 64, 121, dsBarang, QStringLiteral("Harga Satuan"));
    DBEdit3 = boundEdit(g, kRightControl, 96, 89, dsBarang, QStringLiteral("Banyak Barang"));
    DBEdit3->SetMaxLength(8);
    DBEdit4 = boundEdit(g, kRightControl, 128, 121, dsBarang, QStringLiteral("Jumlah Harga"));

    // Lies on the group box's bottom edge, clipped from view: it holds the
    // code of the current customer for the check on Enter. It only shows
    // the code: typing into a box nobody can see would change a customer's
    // key unnoticed.
    DBEdit7 = new TDBEdit(g);
    DBEdit7->setGeometry(224, 200, 121, kEditHeight);
    DBEdit7->SetDataField(kKodePelanggan);
    DBEdit7->SetReadOnly(true);
    DBEdit7->OnKeyPress = [this](QChar& key) { Edit1KeyPress(key); };
    ComponentRegistry::resolve(QStringLiteral("FormPelanggan"), QStringLiteral("dsPelanggan"), DBEdit7,
                               [this](QObject* source) { DBEdit7->SetDataSource(static_cast<TDataSource*>(source)); });
}

void TFormBarang::createButtonBar()
{
    Panel2 = new TPanel(client(), QRect(8, 256, 641, 49), TPanelBevel::bvRaised, TPanelBevel::bvLowered);
    const auto face = [](const char* word) { return Pictures::buttonFace(QLatin1String(word)); };
    SpeedButton6 = new TSpeedButton(Panel2, QRect(8, 6, 97, 35), face("Simpan"), [this] { SpeedButton6Click(); });
    SpeedButton7 = new TSpeedButton(Panel2, QRect(120, 6, 97, 35), face("Tambah"), [this] { SpeedButton7Click(); });
    SpeedButton2 = new TSpeedButton(Panel2, QRect(240, 8, 89, 33), Pictures::arrowLeft(), [this] { SpeedButton2Click(); });
    SpeedButton1 = new TSpeedButton(Panel2, QRect(336, 8, 89, 33), Pictures::arrowRight(), [this] { SpeedButton1Click(); });
    SpeedButton5 = new TSpeedButton(Panel2, QRect(440, 6, 89, 35), face("Hapus"), [this] { SpeedButton5Click(); });
    SpeedButton4 = new TSpeedButton(Panel2, QRect(540, 7, 89, 34), face("Keluar"), [this] { SpeedButton4Click(); });
}

// The total button and its box lie within the grid's rectangle; made first,
// they lie beneath the grid, which is stacked above them.
void TFormBarang::createGrid()
{
    Button2 = new QPushButton(QStringLiteral("Total Jumlah"), client());
    Button2->setGeometry(440, 424, 75, 25);
    connect(Button2, &QPushButton::clicked, this, [this] { guarded([this] { Button2Click(); }); });
    Edit2 = new QLineEdit(client());
    Edit2->setGeometry(520, 424, 121, kEditHeight);

    DBGrid1 = new TDBGrid(client(), QRect(8, 312, 641, 137), dsBarang);
    const QStringList columns{kKodePelanggan,
                              QStringLiteral("No Pesanan"),
                              QStringLiteral("Kode Barang"),
                              QStringLiteral("Nama Barang"),
                              QStringLiteral("Jenis Barang"),
                              QStringLiteral("Harga Satuan"),
                              QStringLiteral("Banyak Barang"),
                              QStringLiteral("Jumlah Harga")};
    // Every title centred; every other one, from the first, on the inactive caption colour.
    for (int i = 0; i < columns.size(); ++i)
        DBGrid1->AddColumn(columns.at(i), QString(), Qt::AlignHCenter,
                           i % 2 == 0 ? EntryWindow::kInactiveCaptionText : QColor());
}

void TFormBarang::setTabOrder()
{
    QWidget::setTabOrder(DBEdit2, DBEdit3);
    QWidget::setTabOrder(DBEdit3, DBEdit4);
    QWidget::setTabOrder(DBEdit4, JenisBarang);
    QWidget::setTabOrder(JenisBarang, DBEdit5);
    QWidget::setTabOrder(DBEdit5, DBEdit7);
    QWidget::setTabOrder(DBEdit7, Edit1);
    QWidget::setTabOrder(Edit1, Button2);
    QWidget::setTabOrder(Button2, Edit2);
    QWidget::setTabOrder(Edit2, DBGrid1);
}

void TFormBarang::FormActivate()
{
    Edit1->setFocus();
}

// Moves the customer view to the code in the search box, exactly; the goods
// view follows. A code no customer has moves nothing.
void TFormBarang::Edit1Change()
{
    DataModel::SharedView(QStringLiteral("Pelanggan"))->FindByKey({kKodePelanggan}, Edit1->Text());
}

void TFormBarang::Edit1KeyPress(QChar& key)
{
    EntryWindow::searchBoxKey(key, Edit1, DBEdit7, DBEdit5);
}

// Runs with the goods view already editing: a known packaging type sets the
// unit price, and the line amount follows.
void TFormBarang::JenisBarangChange()
{
    if (const auto price = unitPrice(JenisBarang->Text()))
        DBEdit2->Field()->SetAsCurrency(*price);
}

void TFormBarang::SpeedButton6Click()
{
    EntryWindow::saveView(Barang, QStringLiteral("Data sudah disimpan"));
}

// Edits the current line, then puts "P0" into the search box. When that
// changes the box's text, its locate settles the untouched edit again.
void TFormBarang::SpeedButton7Click()
{
    Barang->Edit();
    Edit1->setFocus();
    Edit1->SetText(QStringLiteral("P0"));
}

void TFormBarang::SpeedButton2Click()
{
    if (Barang->Bof())
        ShowMessage(QStringLiteral("Anda berada pada Record Pertama"));
    else
        Barang->Prior();
}

void TFormBarang::SpeedButton1Click()
{
    if (Barang->Eof())
        ShowMessage(QStringLiteral("Anda berada pada Record Akhir"));
    else
        Barang->Next();
}

void TFormBarang::SpeedButton5Click()
{
    EntryWindow::deleteCurrent({Barang});
}

void TFormBarang::SpeedButton4Click()
{
    Close();
}

// The total of every line of every customer: the sales view has no master.
void TFormBarang::Button2Click()
{
    const QString total = TotalJumlahHarga(DataModel::SharedView(QStringLiteral("Penjualan")));
    Edit2->setText(total);
    RepLabel5->SetCaption(total);
}

void TFormBarang::BarangCalcFields(TDataSet*)
{
    DataModel::CalcJumlahHarga(BarangHargaSatuan, BarangBanyakBarang, BarangJumlahHarga);
}

void TFormBarang::BarangPostError(TDataSet* dataSet, EDatabaseError& error, TDataAction& action)
{
    DataModel::BarangPostError(dataSet, error, action, [](const QString& text) { return MessageDlg(text, mbOK) == mrOk; });
}
