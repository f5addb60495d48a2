#pragma once

#include "widgets/TForm.h"

#include <QTime>

class QAction;
class QMenu;
class QMenuBar;
class TImage;
class TLabel;
class TReport;
class TRepLabel;
class TSpeedButton;
class TStatusBar;
class TTimer;

// The main window: company name, blinking title, clock, date and the menu
// from which every other window and every report is reached.
class TFormUtama : public TForm {
    Q_OBJECT
public:
    explicit TFormUtama(QWidget* owner);

    // The login succeeded: from now on the menu, its shortcut and the exit
    // button act. Before it none of them does anything, even if the window
    // was shown by other means than the login.
    void LoginSucceeded() { m_loggedIn = true; }

    TImage* Image2;
    TLabel* Label4;
    TLabel* Label1;
    TImage* Image1;
    TSpeedButton* SpeedButton3;
    TLabel* Label2;
    TLabel* Label3;
    TLabel* Label6;
    TStatusBar* StatusBar1;
    // The sales invoice and its total label; the invoice print dialog produces it.
    TReport* repFakturPenjualan;
    TRepLabel* RepLabel10;

    QMenuBar* MainMenu1;
    QMenu* File1;
    QAction* DataPelanggan1;
    QAction* InputPesanan1;
    QAction* Penjualan1;
    QAction* DataBarang1;
    QAction* Exit1;
    QMenu* Help1;
    QMenu* Preview1;
    QAction* PenjualanPertanggal2;
    QAction* SejarahPerusaan1;
    QAction* PenjualanPertanggal1;
    QMenu* Print1;
    QAction* CetakFakturPenjualan1;
    QAction* Laporanharian1;
    QMenu* Help2;
    QAction* AboutProgram1;

    TTimer* Timer1;
    TTimer* Timer2;
    TTimer* Timer3;

    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    void SpeedButton3Click();
    void Exit1Click();
    void DataPelanggan1Click();
    void InputPesanan1Click();
    void Penjualan1Click();
    void DataBarang1Click();
    void CetakFakturPenjualan1Click();
    void AboutProgram1Click();
    void PenjualanPertanggal2Click();
    void SejarahPerusaan1Click();
    void PenjualanPertanggal1Click();
    void Laporanharian1Click();

    // The clock's text: hours, minutes and seconds without leading zeros, then "  WIB".
    static QString clockText(const QTime& time);

protected:
    void FormShow() override;

private:
    void createControls();
    void createMenu();
    QAction* addEntry(QMenu* menu, const QString& caption, void (TFormUtama::*handler)());
    // Runs a handler of the menu or the exit button, once the login succeeded.
    void act(void (TFormUtama::*handler)());
    void confirmExit();

    bool m_loggedIn = false;
    bool m_firstShowing = true;
};

extern TFormUtama* FormUtama;
