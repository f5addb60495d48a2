#include "reports/ui/UTanggal.h"

#include "data/ComponentRegistry.h"
#include "data/DataModel.h"
#include "data/DateText.h"
#include "errors/HandlerGuard.h"
#include "reports/Pictures.h"
#include "reports/ReportPreparation.h"
#include "reports/TReport.h"
#include "widgets/Fonts.h"
#include "widgets/TDateTimePicker.h"
#include "widgets/TLabel.h"
#include "widgets/TSpeedButton.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QValidator>

TFormTanggal* FormTanggal = nullptr;

namespace {

// Typed letters become upper case as they are typed.
class UpperCase : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

// The invoice lives on the main window; each of its runs writes its own total.
TReport* invoiceReport()
{
    return ComponentRegistry::findAs<TReport>(QStringLiteral("FormUtama"), QStringLiteral("repFakturPenjualan"));
}

} // namespace

TFormTanggal::TFormTanggal(QWidget* owner) : TForm(owner)
{
    initWindow(windowCaption(QStringLiteral("Print"), 44), TBorderStyle::bsSingle, QSize(246, 150));
    createControls();
}

void TFormTanggal::createControls()
{
    QWidget* c = client();
    const QColor text = palette().color(QPalette::WindowText);
    Label1 = new TLabel(c, 32, 8, QStringLiteral("Print Faktur Penjualan "),
                        pixelFont(QStringLiteral("MS Sans Serif"), 16, fsBold), text);
    GroupBox1 = new QGroupBox(QStringLiteral("Kode Pelanggan dan Tanggal"), c);
    GroupBox1->setGeometry(8, 32, 233, 81);
    Label2 = new TLabel(GroupBox1, 8, 24, QStringLiteral("Kode Pelanggan"), windowFont(), text);
    Label3 = new TLabel(GroupBox1, 8, 48, QStringLiteral("Tanggal"), windowFont(), text);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setGeometry(96, 24, 65, 21);
    Edit1->setMaxLength(4);
    Edit1->setValidator(new UpperCase(Edit1));
    connect(Edit1, &QLineEdit::textChanged, this, [this] { guarded([this] { Edit1Change(); }); });
    dtpTanggal1 = new TDateTimePicker(GroupBox1, QRect(96, 48, 129, 21), ShortDateQtPattern(), ShortDateText);
    dtpTanggal1->SetLimits(QDate(2002, 1, 1), QDate(2006, 12, 12));
    dtpTanggal1->SetDateTime(QDateTime(QDate(2002, 12, 12), QTime(19, 29, 3)));
    setTabOrder(dtpTanggal1, Edit1);

    btnPreview = new TSpeedButton(c, QRect(-5, 112, 97, 33), Pictures::buttonFace(QStringLiteral("Preview")),
                                  [this] { btnPreviewClick(); });
    btnPrint = new TSpeedButton(c, QRect(90, 112, 73, 33), Pictures::buttonFace(QStringLiteral("Print")),
                                [this] { btnPrintClick(); });
    SpeedButton3 = new TSpeedButton(c, QRect(163, 112, 81, 33), Pictures::buttonFace(QStringLiteral("Batal")),
                                    [this] { SpeedButton3Click(); });
}

// Today lies past the picker's latest date on every start after 2006-12-12:
// the error reaches the default error report and creation goes on.
void TFormTanggal::FormCreate()
{
    dtpTanggal1->SetDate(QDate::currentDate());
}

void TFormTanggal::FormActivate()
{
    Edit1->setText(QStringLiteral("P0"));
    Edit1->setFocus();
}

void TFormTanggal::Edit1Change()
{
    LocateInvoiceCustomer(DataModel::SharedView(QStringLiteral("Pelanggan")),
                          DataModel::SharedView(QStringLiteral("Penjualan")), Edit1->text());
}

void TFormTanggal::btnPreviewClick()
{
    invoiceReport()->PreviewReport();
}

void TFormTanggal::btnPrintClick()
{
    invoiceReport()->PrintReport();
}

void TFormTanggal::SpeedButton3Click()
{
    invoiceReport()->CancelReport();
    Close();
}
