#include "app/Ucredits.h"

#include "app/TStyledView.h"
#include "app/UUtama.h"
#include "errors/HandlerGuard.h"
#include "reports/Pictures.h"
#include "widgets/Fonts.h"
#include "widgets/TLabel.h"
#include "widgets/TSpeedButton.h"
#include "widgets/TTimer.h"

#include <QDesktopServices>
#include <QGroupBox>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>

TFAbout* FAbout = nullptr;

const QString TFAbout::ContactAddress = QStringLiteral("rina.kartika@mail.widyanusantara.ac.id");

namespace {

// A label that reports clicks, for the e-mail address: a press on it and a
// release over it, as a button counts a click.
class ClickLabel : public TLabel {
public:
    using TLabel::TLabel;
    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        m_pressed = event->button() == Qt::LeftButton;
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        const bool clicked = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
        m_pressed = false;
        if (clicked && onClick)
            guarded(onClick);
    }

private:
    bool m_pressed = false;
};

TViewStyle creditStyles()
{
    const QString comic = QStringLiteral("Comic Sans MS");
    const QString calligraph = QStringLiteral("Calligraph421 BT");
    const QString arial = QStringLiteral("Arial");
    TViewStyle style;
    style.TextStyles = {
        {comic, 10, Qt::cyan, fsRegular, 0},
        {calligraph, 14, Qt::blue, fsBold, 0},
        {arial, 14, Qt::blue, fsBold, 1},
        {calligraph, 14, Qt::yellow, fsBold, 0},
        {arial, 10, Qt::green, fsUnderline, 1},
        {arial, 10, Qt::green, fsUnderline, 1},
        {arial, 10, QPalette().color(QPalette::WindowText), fsRegular, 1},
    };
    style.SelColor = QPalette().color(QPalette::Highlight);
    style.SelTextColor = QPalette().color(QPalette::HighlightedText);
    style.Color = QPalette().color(QPalette::WindowText);
    return style;
}

// The inner area of a caption-less group box: its frame and the room its
// caption line would take stay free.
QRect groupBoxInner(const QGroupBox* box)
{
    const int captionHeight = box->fontMetrics().height();
    return QRect(2, captionHeight + 2, box->width() - 4, box->height() - captionHeight - 4);
}

} // namespace

TFAbout::TFAbout(QWidget* owner) : TForm(owner)
{
    initWindow(windowCaption(QStringLiteral("Credits"), 98) + QLatin1Char(' '), TBorderStyle::bsNone, QSize(536, 463));
    ViewStyle1 = creditStyles();
    createControls();
    Timer1 = new TTimer(this, 60, [this] { Timer1Timer(); });
}

void TFAbout::createControls()
{
    GroupBox1 = new QGroupBox(client());
    GroupBox1->setGeometry(0, -13, 537, 470);
    GroupBox2 = new QGroupBox(GroupBox1);
    GroupBox2->setGeometry(8, 8, 521, 425);

    StyledView2 = new TStyledView(GroupBox2);
    StyledView2->setGeometry(groupBoxInner(GroupBox2));
    StyledView2->setStyle(&ViewStyle1);
    StyledView2->setBackgroundBitmap(Pictures::stone());

    Label4 = new TLabel(GroupBox1, 32, 440, QStringLiteral("Contact e-mail at :"), windowFont(), Qt::black);
    auto* mail = new ClickLabel(GroupBox1, 32, 452, ContactAddress, windowFont(), Qt::red);
    mail->setCursor(Qt::PointingHandCursor);
    mail->onClick = [this] { Label1Click(); };
    Label3 = mail;

    SpeedButton1 = new TSpeedButton(GroupBox1, QRect(440, 435, 89, 30), Pictures::buttonFace(QStringLiteral("Keluar")),
                                    [this] { SpeedButton1Click(); });
    StyledView2->setFocus();
}

void TFAbout::FormCreate()
{
    m_rollPending = true;
}

// The window has no frame whose menu could be trimmed (see changeEvent).
void TFAbout::FormShow()
{
    if (m_rollPending) {
        buildRoll();
        StyledView2->SetVSmallStep(1);
        StyledView2->Format();
        m_rollPending = false;
    }
}

void TFAbout::buildRoll()
{
    const QString blank = QStringLiteral(" ");
    TStyledView* v = StyledView2;
    const auto centred = [v](const QString& text, int style) { v->AddCenteredLine(text, style); };
    const auto repeat = [&](int count, const QString& text, int style) {
        for (int i = 0; i < count; ++i)
            centred(text, style);
    };
    v->AddText(QString(12, QLatin1Char(' ')), 0);
    centred(QStringLiteral("PT. TIRTA WANGSA"), 3);
    repeat(2, QString(), 3);
    centred(QStringLiteral("Jl. KENANGA No.11 SUKAMULYA"), 3);
    repeat(3, QString(), 3);
    repeat(2, blank, 1);
    centred(QStringLiteral("PROGRAM PENJUALAN PRODUK WANGSA"), 3);
    repeat(2, QString(), 3);
    centred(blank, 1);
    centred(QStringLiteral("Programmed by"), 1);
    centred(QStringLiteral("RINA KARTIKA DEWI"), 3);
    centred(QStringLiteral("NPM 10104521"), 3);
    centred(blank, 1);
    centred(QString(), 1);
    centred(QStringLiteral("KAMPUS"), 1);
    centred(QStringLiteral("UNIVERSITAS WIDYA NUSANTARA"), 3);
    centred(blank, 1);
    centred(QStringLiteral("Jurusan"), 1);
    centred(QStringLiteral("Sistem Informasi"), 3);
    centred(blank, 1);
    centred(QStringLiteral("Fakultas"), 1);
    centred(QStringLiteral("Ilmu Komputer"), 3);
    centred(blank, 1);
    centred(QStringLiteral("Kelas"), 2);
    centred(QStringLiteral("3KA07"), 3);
    centred(QString(), 3);
    repeat(4, blank, 1);
    centred(QStringLiteral("TERIAKASIH KEPADA"), 1);
    centred(QString(), 1);
    centred(QStringLiteral("Mas Dodi yang selalu memberi semangat"), 1);
    centred(QString(), 1);
    centred(QStringLiteral("Teman-teman seperjuangan kelas 3KA07"), 1);
    centred(QString(), 1);
    centred(QStringLiteral("Staf dan karyawan UWN"), 1);
    centred(QString(), 1);
    centred(QStringLiteral("Dosen pembimbing"), 1);
    centred(QString(), 1);
    centred(QStringLiteral("Dosen-dosen yang telah membantu penulis "), 1);
    centred(QString(), 1);
    centred(QStringLiteral("Terimakasih juga kepada PT. Tirta Wangsa"), 1);
    centred(QString(), 1);
    centred(QStringLiteral("Terimakasih kepada Orang tua ku yg tercinta"), 1);
    centred(QString(), 1);
    centred(QStringLiteral("Dan pihak lain yang telah membantu penulis"), 1);
    centred(QString(), 1);
    centred(blank, 1);
    centred(QStringLiteral("Sampai jumpa lagi pada program yang lain "), 2);
    repeat(9, blank, 1);
}

// Of the window menu's commands only Move and Close act. The window manager
// offers the others for any window (openbox does, whatever the window's
// hints say); the window is fixed in size, and a minimise is undone at once.
void TFAbout::changeEvent(QEvent* event)
{
    TForm::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        QTimer::singleShot(0, this, [this] { showNormal(); });
}

void TFAbout::Timer1Timer()
{
    if (StyledView2->VScrollPos() == StyledView2->VScrollMax())
        StyledView2->ScrollTo(0);
    else
        StyledView2->ScrollTo(StyledView2->VScrollPos() + 1);
}

void TFAbout::Label1Click()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + ContactAddress));
}

void TFAbout::SpeedButton1Click()
{
    FormUtama->Show();
    Close();
}
