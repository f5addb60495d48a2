#pragma once

#include "data/DataModel.h"
#include "widgets/TForm.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class TDBComboBox;
class TDBEdit;
class TDBGrid;
class TLabel;
class TMaskEdit;
class TPanel;
class TRepLabel;
class TReport;
class TSpeedButton;

// The goods window: a customer's order lines, priced by packaging type.
// Typing a customer code into the search box moves the customer view, and
// the goods view (its detail) follows with that customer's lines.
class TFormBarang : public TForm, public DataModel::BarangView {
    Q_OBJECT
public:
    explicit TFormBarang(QWidget* owner);

    TPanel* Panel1;
    TLabel* Label10;
    QGroupBox* GroupBox1;
    TMaskEdit* Edit1;
    TDBEdit* DBEdit5;
    TDBEdit* DBEdit6;
    TDBEdit* DBEdit1;
    TDBComboBox* JenisBarang;
    TDBEdit* DBEdit2;
    TDBEdit* DBEdit3;
    TDBEdit* DBEdit4;
    TDBEdit* DBEdit7;
    TPanel* Panel2;
    TSpeedButton* SpeedButton6;
    TSpeedButton* SpeedButton7;
    TSpeedButton* SpeedButton2;
    TSpeedButton* SpeedButton1;
    TSpeedButton* SpeedButton5;
    TSpeedButton* SpeedButton4;
    TDBGrid* DBGrid1;
    QPushButton* Button2;
    QLineEdit* Edit2;
    // The goods sales report over the sales window's view, with its total label.
    TReport* repBarang;
    TRepLabel* RepLabel5;

    void FormActivate() override;
    void Edit1Change();
    void Edit1KeyPress(QChar& key);
    void JenisBarangChange();
    void SpeedButton6Click();
    void SpeedButton7Click();
    void SpeedButton2Click();
    void SpeedButton1Click();
    void SpeedButton5Click();
    void SpeedButton4Click();
    void Button2Click();
    void BarangCalcFields(TDataSet* dataSet);
    void BarangPostError(TDataSet* dataSet, EDatabaseError& error, TDataAction& action);

private:
    void createEntryControls();
    void createButtonBar();
    void createGrid();
    void setTabOrder();
};

extern TFormBarang* FormBarang;
