#pragma once

#include "widgets/TForm.h"

class QGroupBox;
class TDBComboBox;
class TDBEdit;
class TLabel;
class TPanel;
class TSpeedButton;

// The order entry window: new order lines (order number, customer, goods
// code and product name) written through the goods window's view.
class TFormPesanan : public TForm {
    Q_OBJECT
public:
    explicit TFormPesanan(QWidget* owner);

    TPanel* Panel2;
    TLabel* Label4;
    TPanel* Panel1;
    TSpeedButton* SpeedButton3;
    TSpeedButton* SpeedButton1;
    TSpeedButton* SpeedButton2;
    TSpeedButton* SpeedButton4;
    QGroupBox* GroupBox1;
    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label3;
    TLabel* Label5;
    TDBEdit* DBEdit1;
    TDBEdit* DBEdit2;
    TDBComboBox* KodeBarang;
    TDBEdit* DBEdit3;

    void SpeedButton1Click();
    void SpeedButton3Click();
    void SpeedButton2Click();
    void SpeedButton4Click();
    void KodeBarangChange();

    // The product name of a goods code, matched exactly; empty for none.
    static QString productName(const QString& goodsCode);

protected:
    void FormActivate() override;

private:
    void createButtons();
    void createEntryRows();
};

extern TFormPesanan* FormPesanan;
