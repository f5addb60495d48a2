#pragma once

#include "data/DataModel.h"
#include "widgets/TForm.h"

class QGroupBox;
class TDBComboBox;
class TDBEdit;
class TDBGrid;
class TLabel;
class TPanel;
class TReport;
class TSpeedButton;

// The customer window: add, correct, delete and list the customers.
class TFormPelanggan : public TForm, public DataModel::PelangganView {
    Q_OBJECT
public:
    explicit TFormPelanggan(QWidget* owner);

    TPanel* Panel1;
    TLabel* Label5;
    QGroupBox* GroupBox1;
    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label3;
    TLabel* Label4;
    TDBComboBox* DBEdit1;
    TDBEdit* DBEdit2;
    TDBEdit* DBEdit3;
    TDBEdit* DBEdit4;
    TPanel* Panel2;
    TSpeedButton* SpeedButton2;
    TSpeedButton* SpeedButton3;
    TSpeedButton* SpeedButton1;
    TSpeedButton* SpeedButton4;
    TDBGrid* DBGrid1;
    // The customer list, produced from the main window's report menu.
    TReport* repPelanggan;

    void SpeedButton3Click();
    void SpeedButton2Click();
    void SpeedButton1Click();
    void SpeedButton4Click();
    void PelangganPostError(TDataSet* dataSet, EDatabaseError& error, TDataAction& action);

protected:
    void FormActivate() override;

private:
    void createControls();
    void createEntryRows();
    void createButtons();
    void createGrid();
};

extern TFormPelanggan* FormPelanggan;
