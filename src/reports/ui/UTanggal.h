#pragma once

#include "widgets/TForm.h"

class QGroupBox;
class QLineEdit;
class TDateTimePicker;
class TLabel;
class TSpeedButton;

// The invoice print dialog: a customer code moves the customer, goods and
// sales views; the invoice is then previewed or printed for that customer.
class TFormTanggal : public TForm {
    Q_OBJECT
public:
    explicit TFormTanggal(QWidget* owner);

    TLabel* Label1;
    QGroupBox* GroupBox1;
    TLabel* Label2;
    TLabel* Label3;
    QLineEdit* Edit1;
    TDateTimePicker* dtpTanggal1;
    TSpeedButton* btnPreview;
    TSpeedButton* btnPrint;
    TSpeedButton* SpeedButton3;

    void FormCreate() override;
    void Edit1Change();
    void btnPreviewClick();
    void btnPrintClick();
    void SpeedButton3Click();

protected:
    void FormActivate() override;

private:
    void createControls();
};

extern TFormTanggal* FormTanggal;
