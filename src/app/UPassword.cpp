#include "app/UPassword.h"

#include "app/UUtama.h"
#include "data/OperatorAccount.h"
#include "errors/HandlerGuard.h"
#include "reports/Pictures.h"
#include "widgets/Fonts.h"
#include "widgets/MessageBoxes.h"
#include "widgets/TApplication.h"
#include "widgets/TImage.h"
#include "widgets/TLabel.h"
#include "widgets/TStatusBar.h"
#include "widgets/TTimer.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

TFormPassword* FormPassword = nullptr;

namespace {

const QString kCaption = QStringLiteral("Pesan isi");

// Turns typed and pasted letters to upper case, as the account's name is kept.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = OperatorAccount::loginName(input);
        return Acceptable;
    }
};

QPushButton* makeButton(QWidget* parent, const QRect& bounds, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(bounds);
    button->setFont(pixelFont(QStringLiteral("Comic Sans MS"), 19, fsBold));
    QPalette p = button->palette();
    p.setColor(QPalette::ButtonText, Qt::blue);
    button->setPalette(p);
    button->setAutoDefault(true);
    return button;
}

} // namespace

TFormPassword::TFormPassword(QWidget* owner) : TForm(owner)
{
    initWindow(windowCaption(QStringLiteral("Password"), 39), TBorderStyle::bsDialog, QSize(294, 194));
    createControls();
    Timer1 = new TTimer(this, 500, [this] { Timer1Timer(); });
}

void TFormPassword::createControls()
{
    QWidget* c = client();
    const QString arial = QStringLiteral("Arial");
    const QString sansSerif = QStringLiteral("MS Sans Serif");
    Image2 = new TImage(c, QRect(40, 8, 33, 33), Pictures::logo());
    Label4 = new TLabel(c, 80, 8, QStringLiteral("PT. TIRTA WANGSA"), pixelFont(arial, 19, fsBold), Qt::red);
    Label5 = new TLabel(c, 80, 32, QStringLiteral("Jl. Kenanga No 11 Sukamulya"), pixelFont(sansSerif, 11), Qt::red);
    Label3 = new TLabel(c, 96, 48, QStringLiteral("PASSWORD"), pixelFont(sansSerif, 19, fsBold), Qt::blue);
    Label1 = new TLabel(c, 8, 80, QStringLiteral("Nama"), pixelFont(arial, 16, fsBold), Qt::red);

    eNama = new QLineEdit(c);
    eNama->setGeometry(88, 80, 121, 21);
    eNama->setMaxLength(OperatorAccount::kNameLength);
    eNama->setValidator(new UpperCaseValidator(eNama));

    Image1 = new TImage(c, QRect(216, 80, 65, 57), Pictures::logo());
    Image1->setCursor(Qt::PointingHandCursor);
    connect(Image1, &TImage::clicked, this, [this] { guarded([this] { Image1Click(); }); });

    Label2 = new TLabel(c, 8, 112, QStringLiteral("Password"), pixelFont(arial, 16, fsBold), Qt::red);
    ePassword = new QLineEdit(c);
    ePassword->setGeometry(88, 112, 97, 21);
    ePassword->setMaxLength(OperatorAccount::kPasswordLength);
    ePassword->setEchoMode(QLineEdit::Password);
    ePassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));

    StatusBar2 = new QFrame(c);
    StatusBar2->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    StatusBar2->setGeometry(0, 141, 291, 4);

    BitBtn1 = makeButton(c, QRect(8, 148, 73, 33), QStringLiteral("Login"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    BitBtn2 = makeButton(c, QRect(216, 148, 67, 33), QStringLiteral("Keluar"));
    connect(BitBtn2, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn2Click(); }); });

    StatusBar1 = new TStatusBar(c, 10, false);

    setTabOrder(eNama, ePassword);
    setTabOrder(ePassword, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    eNama->setFocus();
}

void TFormPassword::Timer1Timer()
{
    Label3->setHidden(!Label3->isHidden());
}

void TFormPassword::Image1Click()
{
    eNama->setText(OperatorAccount::name());
}

// A database that can't be read raises here: its own error goes to the
// error report and the typed name and password stay for another try.
std::optional<TFormPassword::Rejection> TFormPassword::rejection() const
{
    if (ePassword->text().isEmpty() && eNama->text().isEmpty())
        return Rejection{QStringLiteral("Isikan  Password dan Nama"), MB_OK};
    if (ePassword->text().isEmpty())
        return Rejection{QStringLiteral("Isikan  Password"), MB_OK};
    if (eNama->text().isEmpty())
        return Rejection{QStringLiteral("Isikan Nama"), MB_OK};
    if (!OperatorAccount::accepts(eNama->text(), ePassword->text()))
        return Rejection{QStringLiteral("Nama atau Password salah"), MB_OK | MB_ICONHAND};
    return std::nullopt;
}

void TFormPassword::BitBtn1Click()
{
    if (const auto rejected = rejection()) {
        OwnedMessageBox(this, rejected->text, kCaption, rejected->flags);
    } else {
        Hide();
        FormUtama->LoginSucceeded();
        FormUtama->Show();
    }
    ePassword->clear();
    eNama->clear();
}

void TFormPassword::BitBtn2Click()
{
    if (MessageDlg(QStringLiteral("Yakin mau keluar dari Program ? "), mbYes | mbNo) == mrYes)
        Application->Terminate();
}

// Enter runs the login unless the focus is on Keluar; Esc is Keluar.
void TFormPassword::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        guarded([this] { BitBtn2Click(); });
        return;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && focusWidget() != BitBtn2) {
        guarded([this] { BitBtn1Click(); });
        return;
    }
    TForm::keyPressEvent(event);
}
