#include "app/UUtama.h"

#include "app/Ucredits.h"
#include "data/ComponentRegistry.h"
#include "data/Formats.h"
#include "errors/HandlerGuard.h"
#include "forms/UBarang.h"
#include "forms/UPelanggan.h"
#include "forms/UPenjualan.h"
#include "forms/UPesanan.h"
#include "reports/Pictures.h"
#include "reports/RepBarang.h"
#include "reports/RepFakturPenjualan.h"
#include "reports/ReportPreparation.h"
#include "reports/TRepPrintable.h"
#include "reports/TReport.h"
#include "reports/ui/UTanggal.h"
#include "widgets/Fonts.h"
#include "widgets/MessageBoxes.h"
#include "widgets/TApplication.h"
#include "widgets/TImage.h"
#include "widgets/TLabel.h"
#include "widgets/TSpeedButton.h"
#include "widgets/TStatusBar.h"
#include "widgets/TTimer.h"

#include <QDateTime>
#include <QMenu>
#include <QMenuBar>

#include <utility>

TFormUtama* FormUtama = nullptr;

TFormUtama::TFormUtama(QWidget* owner) : TForm(owner)
{
    createMenu();
    initWindow(windowCaption(QStringLiteral("PT. TIRTA WANGSA"), 139), TBorderStyle::bsSingle, QSize(734, 335), true);
    createControls();
    const RepFakturPenjualanDefinition invoice =
        CreateRepFakturPenjualan(this, FormBarang->Barang, FormPenjualan->Penjualan, FormPelanggan->Pelanggan);
    repFakturPenjualan = invoice.repFakturPenjualan;
    RepLabel10 = invoice.RepLabel10;
    ComponentRegistry::add(QStringLiteral("FormUtama"), repFakturPenjualan);
    ComponentRegistry::add(QStringLiteral("FormUtama"), RepLabel10);
    Timer1 = new TTimer(this, 1000, [this] { Timer1Timer(); });
    Timer2 = new TTimer(this, 1000, [this] { Timer2Timer(); });
    Timer3 = new TTimer(this, 500, [this] { Timer3Timer(); });
}

// Maximised when first shown; later showings keep the state the user left.
// Set here, not at creation: setting a window state makes the native window,
// which must not exist before the login.
void TFormUtama::FormShow()
{
    if (std::exchange(m_firstShowing, false))
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TFormUtama::createControls()
{
    QWidget* c = client();
    const QString arial = QStringLiteral("Arial");
    const QString comic = QStringLiteral("Comic Sans MS");
    const QString title = QStringLiteral("PROGRAM PENJUALAN PRODUK WANGSA");
    Image2 = new TImage(c, QRect(-1, -16, 802, 521), Pictures::background());
    Label4 = new TLabel(c, 296, 110, QStringLiteral("JL. KENANGA NO. 11 SUKAMULYA"), pixelFont(arial, 15, fsBold), Qt::red);
    Label1 = new TLabel(c, 289, 72, QStringLiteral("PT. TIRTA WANGSA"), pixelFont(arial, 32, fsBold), Qt::red);
    Image1 = new TImage(c, QRect(232, 80, 49, 49), Pictures::logo());
    SpeedButton3 = new TSpeedButton(c, QRect(680, 448, 97, 38), Pictures::buttonFace(QStringLiteral("Keluar")),
                                    [this] { act(&TFormUtama::SpeedButton3Click); });
    Label2 = new TLabel(c, 665, 0, QString(), pixelFont(arial, 19, fsBold), Qt::cyan);
    Label3 = new TLabel(c, 124, 24, title, pixelFont(comic, 27, fsBold), Qt::red);
    Label3->setFixedBounds(544, 38);
    Label6 = new TLabel(c, 124, 24, title, pixelFont(comic, 27, fsBold), Qt::yellow);
    Label6->setFixedBounds(544, 38);
    StatusBar1 = new TStatusBar(c, 22, true);
}

void TFormUtama::createMenu()
{
    MainMenu1 = new QMenuBar;
    setMenuBar(MainMenu1);
    File1 = MainMenu1->addMenu(QStringLiteral("&File"));
    DataPelanggan1 = addEntry(File1, QStringLiteral("&Input Pelanggan"), &TFormUtama::DataPelanggan1Click);
    InputPesanan1 = addEntry(File1, QStringLiteral("Input Pesanan"), &TFormUtama::InputPesanan1Click);
    Penjualan1 = addEntry(File1, QStringLiteral("Input Barang"), &TFormUtama::Penjualan1Click);
    DataBarang1 = addEntry(File1, QStringLiteral("&Input Penjualan"), &TFormUtama::DataBarang1Click);
    Exit1 = addEntry(File1, QStringLiteral("&Keluar"), &TFormUtama::Exit1Click);
    Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    Exit1->setShortcutContext(Qt::WindowShortcut);
    addAction(Exit1);

    Help1 = MainMenu1->addMenu(QStringLiteral("&Report"));
    Preview1 = Help1->addMenu(QStringLiteral("&Laporan Penjualan"));
    PenjualanPertanggal2 = addEntry(Preview1, QStringLiteral("&Pelanggan"), &TFormUtama::PenjualanPertanggal2Click);
    SejarahPerusaan1 = addEntry(Preview1, QStringLiteral("&Barang"), &TFormUtama::SejarahPerusaan1Click);
    PenjualanPertanggal1 = addEntry(Preview1, QStringLiteral("&Harian"), &TFormUtama::PenjualanPertanggal1Click);
    Print1 = Help1->addMenu(QStringLiteral("Cetak"));
    CetakFakturPenjualan1 = addEntry(Print1, QStringLiteral("Faktur Penjualan"), &TFormUtama::CetakFakturPenjualan1Click);
    Laporanharian1 = addEntry(Print1, QStringLiteral("Laporan harian"), &TFormUtama::Laporanharian1Click);

    Help2 = MainMenu1->addMenu(QStringLiteral("&About"));
    AboutProgram1 = addEntry(Help2, QStringLiteral("About Program"), &TFormUtama::AboutProgram1Click);
}

QAction* TFormUtama::addEntry(QMenu* menu, const QString& caption, void (TFormUtama::*handler)())
{
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, this, [this, handler] { act(handler); });
    return action;
}

void TFormUtama::act(void (TFormUtama::*handler)())
{
    if (m_loggedIn)
        guarded([this, handler] { (this->*handler)(); });
}

void TFormUtama::Timer1Timer()
{
    StatusBar1->setPanelText(FormatDateText(QStringLiteral("dddd, dd mmmm yyyy"), QDateTime::currentDateTime()));
}

QString TFormUtama::clockText(const QTime& time)
{
    return QStringLiteral("%1:%2:%3  WIB").arg(time.hour()).arg(time.minute()).arg(time.second());
}

void TFormUtama::Timer2Timer()
{
    Label2->setCaption(clockText(QTime::currentTime()));
}

void TFormUtama::Timer3Timer()
{
    Label6->setHidden(!Label6->isHidden());
}

// Enter and Esc both give OK here: only Yes ends the program.
void TFormUtama::confirmExit()
{
    if (MessageDlg(QStringLiteral("Yakin mau keluar dari program ?"), mbYes | mbOK) == mrYes)
        Application->Terminate();
}

void TFormUtama::SpeedButton3Click()
{
    confirmExit();
}

void TFormUtama::Exit1Click()
{
    confirmExit();
}

void TFormUtama::DataPelanggan1Click()
{
    FormPelanggan->Show();
}

void TFormUtama::InputPesanan1Click()
{
    FormPesanan->Show();
}

void TFormUtama::Penjualan1Click()
{
    FormBarang->Show();
}

void TFormUtama::DataBarang1Click()
{
    FormPenjualan->Show();
}

void TFormUtama::CetakFakturPenjualan1Click()
{
    FormTanggal->Show();
}

void TFormUtama::AboutProgram1Click()
{
    FAbout->Show();
    Hide();
}

void TFormUtama::PenjualanPertanggal2Click()
{
    FormPelanggan->repPelanggan->PreviewReport();
}

// The total covers the same lines as the report's detail bands.
void TFormUtama::SejarahPerusaan1Click()
{
    WriteTotal(FormPenjualan->Penjualan, FormBarang->RepLabel5);
    FormBarang->repBarang->PreviewReport();
}

void TFormUtama::PenjualanPertanggal1Click()
{
    FormPenjualan->repHarian->PreviewReport();
}

void TFormUtama::Laporanharian1Click()
{
    if (MessageDlg(QStringLiteral("Yakin mau diprint ?"), mbYes | mbNo) == mrYes)
        FormPenjualan->repHarian->PrintReport();
}
