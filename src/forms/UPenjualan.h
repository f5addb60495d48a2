#pragma once

#include "data/DataModel.h"
#include "widgets/TForm.h"

class TDBEdit;
class TDBGrid;
class TLabel;
class TMaskEdit;
class TPanel;
class TReport;
class TSpeedButton;

// The sales window: a customer's order line found by code gets its invoice
// number and date of sale. Its view holds every line of the table.
class TFormPenjualan : public TForm, public DataModel::PenjualanView {
    Q_OBJECT
public:
    explicit TFormPenjualan(QWidget* owner);

    TPanel* Panel2;
    TLabel* Label4;
    TMaskEdit* Edit1;
    TDBEdit* DBEdit1;
    TDBEdit* DBEdit2;
    TDBEdit* DBEdit3;
    TDBGrid* DBGrid1;
    TPanel* Panel1;
    TSpeedButton* SpeedButton1;
    TSpeedButton* SpeedButton4;
    TSpeedButton* SpeedButton5;
    TSpeedButton* SpeedButton2;
    TSpeedButton* SpeedButton3;
    // The daily sales report.
    TReport* repHarian;

    void MaskEdit1Change();
    void Edit1KeyPress(QChar& key);
    void SpeedButton1Click();
    void SpeedButton4Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton5Click();
    void PenjualanCalcFields(TDataSet* dataSet);

private:
    void createEntryRows();
    void createGrid();
    void createButtonPanel();
};

extern TFormPenjualan* FormPenjualan;
