#include "forms/UPelanggan.h"

#include "data/DataModel.h"
#include "data/controls/TDBComboBox.h"
#include "data/controls/TDBEdit.h"
#include "data/controls/TDBGrid.h"
#include "forms/EntryWindow.h"
#include "reports/Pictures.h"
#include "reports/RepPelanggan.h"
#include "widgets/Fonts.h"
#include "widgets/MessageBoxes.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"
#include "widgets/TSpeedButton.h"

#include <QGroupBox>

TFormPelanggan* FormPelanggan = nullptr;

namespace {

// The codes offered in the code box, then an empty item that empties the code.
QStringList customerCodes()
{
    QStringList codes;
    for (int i = 1; i <= 20; ++i)
        codes << QStringLiteral("P%1").arg(i, 3, 10, QLatin1Char('0'));
    codes << QString();
    return codes;
}

} // namespace

TFormPelanggan::TFormPelanggan(QWidget* owner)
    : TForm(owner), DataModel::PelangganView(DataModel::SetupPelanggan(this))
{
    initWindow(windowCaption(QStringLiteral("Pelanggan"), 98), TBorderStyle::bsSingle, QSize(550, 383));
    Pelanggan->OnPostError = [this](TDataSet* dataSet, EDatabaseError& error, TDataAction& action) {
        PelangganPostError(dataSet, error, action);
    };
    createControls();
    Pelanggan->Open();
    repPelanggan = CreateRepPelanggan(this, Pelanggan);
}

void TFormPelanggan::createControls()
{
    Panel1 = new TPanel(client(), QRect(0, 0, 550, 41), TPanelBevel::bvRaised, TPanelBevel::bvLowered);
    Label5 = new TLabel(Panel1, 120, 4, QStringLiteral("INPUT DATA PELANGGAN"),
                        pixelFont(QStringLiteral("MS Sans Serif"), 24, fsBold), Qt::black);
    createEntryRows();
    createButtons();
    createGrid();
    setTabOrder(DBGrid1, DBEdit2);
    setTabOrder(DBEdit2, DBEdit3);
    setTabOrder(DBEdit3, DBEdit4);
    setTabOrder(DBEdit4, DBEdit1);
}

void TFormPelanggan::createEntryRows()
{
    GroupBox1 = new QGroupBox(QStringLiteral("Data Pelanggan"), client());
    GroupBox1->setGeometry(16, 40, 521, 137);
    const QFont labelFont = pixelFont(QStringLiteral("Arial"), 11, fsBold);
    Label1 = new TLabel(GroupBox1, 16, 24, QStringLiteral("Kode Pelanggan"), labelFont, Qt::black);
    Label2 = new TLabel(GroupBox1, 16, 56, QStringLiteral("Nama Pelanggan"), labelFont, Qt::black);
    Label3 = new TLabel(GroupBox1, 16, 88, QStringLiteral("Alamat"), labelFont, Qt::black);
    Label4 = new TLabel(GroupBox1, 16, 116, QStringLiteral("Telepon"), labelFont, Qt::black);

    DBEdit1 = new TDBComboBox(GroupBox1, QRect(136, 20, 73, 21), dsPelanggan, QStringLiteral("Kode Pelanggan"),
                              customerCodes());
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit2 = new TDBEdit(GroupBox1, QRect(136, 52, 177, 21), dsPelanggan, QStringLiteral("Nama Pelanggan"));
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->SetCharCase(TEditCharCase::ecUpperCase);
    DBEdit3 = new TDBEdit(GroupBox1, QRect(136, 84, 209, 21), dsPelanggan, QStringLiteral("Alamat"));
    DBEdit3->setObjectName(QStringLiteral("DBEdit3"));
    DBEdit4 = new TDBEdit(GroupBox1, QRect(136, 112, 115, 21), dsPelanggan, QStringLiteral("No Telepon"));
    DBEdit4->setObjectName(QStringLiteral("DBEdit4"));
    DBEdit4->SetMaxLength(13);
}

void TFormPelanggan::createButtons()
{
    Panel2 = new TPanel(client(), QRect(16, 176, 521, 49), TPanelBevel::bvRaised, TPanelBevel::bvLowered);
    auto button = [this](int left, int width, const QString& word, void (TFormPelanggan::*handler)()) {
        return new TSpeedButton(Panel2, QRect(left, 6, width, 35), Pictures::buttonFace(word),
                                [this, handler] { (this->*handler)(); });
    };
    SpeedButton2 = button(8, 105, QStringLiteral("Simpan"), &TFormPelanggan::SpeedButton2Click);
    SpeedButton3 = button(152, 105, QStringLiteral("Tambah"), &TFormPelanggan::SpeedButton3Click);
    SpeedButton1 = button(296, 89, QStringLiteral("Hapus"), &TFormPelanggan::SpeedButton1Click);
    SpeedButton4 = button(416, 89, QStringLiteral("Keluar"), &TFormPelanggan::SpeedButton4Click);
}

void TFormPelanggan::createGrid()
{
    DBGrid1 = new TDBGrid(client(), QRect(16, 224, 521, 137), dsPelanggan);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->AddColumn(QStringLiteral("Kode Pelanggan"), QString(), Qt::AlignHCenter, EntryWindow::kInactiveCaptionText);
    DBGrid1->AddColumn(QStringLiteral("Nama Pelanggan"));
    DBGrid1->AddColumn(QStringLiteral("Alamat"), QString(), Qt::AlignLeft, EntryWindow::kInactiveCaptionText);
    DBGrid1->AddColumn(QStringLiteral("No Telepon"), QString(), Qt::AlignHCenter);
}

// Every activation, also after one of the program's own message boxes,
// starts with empty entry controls; the view stays where it is.
void TFormPelanggan::FormActivate()
{
    EntryWindow::clearShownText(DBEdit1);
    DBEdit2->ClearShownText();
    DBEdit3->ClearShownText();
    DBEdit4->ClearShownText();
}

// Add: a pending record is settled by the insert itself; an error there
// goes to the error report once and the focus stays where it was. A focus in
// the grid leaves it first: the grid, losing the focus after the insert,
// would cancel the untouched new record.
void TFormPelanggan::SpeedButton3Click()
{
    QWidget* focused = focusWidget();
    if (focused && (focused == DBGrid1 || DBGrid1->isAncestorOf(focused))) {
        DBEdit1->setFocus(Qt::OtherFocusReason);
        if (!DBEdit1->hasFocus())
            return; // the grid kept the focus: its pending cell was refused
    }
    Pelanggan->Insert();
    DBEdit1->setFocus(Qt::OtherFocusReason);
}

void TFormPelanggan::SpeedButton2Click()
{
    EntryWindow::saveView(Pelanggan, QStringLiteral("Data sudah disimpan"));
}

// Delete: the customer, then the sales line the sales view stands on, but
// only a line of this customer; a line of another customer is left alone,
// and a new customer, not yet stored, has no lines. The customer's other
// order lines stay in their table.
void TFormPelanggan::SpeedButton1Click()
{
    TDataSet* penjualan = DataModel::SharedView(QStringLiteral("Penjualan"));
    const bool stored = Pelanggan->State() != dsInsert;
    const QString code = PelangganKodePelanggan->AsString();
    EntryWindow::deleteCurrent({Pelanggan, penjualan}, [&](TDataSet* view) {
        return view == Pelanggan
            || (stored && penjualan->FieldByName(QStringLiteral("Kode Pelanggan"))->AsString() == code);
    });
}

void TFormPelanggan::SpeedButton4Click()
{
    Close();
}

void TFormPelanggan::PelangganPostError(TDataSet* dataSet, EDatabaseError& error, TDataAction& action)
{
    DataModel::PelangganPostError(dataSet, error, action, [](const QString& text) { ShowMessage(text); });
}
