#include "widgets/MessageBoxes.h"

#include "widgets/TApplication.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace {

const QString kRule = QString(27, QLatin1Char('-'));

// Horizontal and vertical dialog units of the dialog's font.
struct DialogUnits {
    double x;
    double y;
    explicit DialogUnits(const QFontMetrics& fm) : x(fm.averageCharWidth() / 4.0), y(fm.height() / 8.0) {}
};

} // namespace

TMessageForm::TMessageForm(const QString& caption, const QString& text, bool questionIcon,
                           TMsgDlgButtons buttons, QWidget* parent)
    : QDialog(parent ? parent : Application ? Application->owner() : nullptr), m_caption(caption), m_text(text)
{
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    const DialogUnits du(fontMetrics());
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(int(8 * du.x), int(8 * du.y), int(8 * du.x), int(8 * du.y));
    grid->setHorizontalSpacing(int(10 * du.x));
    grid->setVerticalSpacing(int(10 * du.y));

    int textColumn = 0;
    if (questionIcon) {
        auto* icon = new QLabel(this);
        icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
        icon->setAlignment(Qt::AlignTop);
        grid->addWidget(icon, 0, 0);
        textColumn = 1;
    }
    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("Message"));
    label->setTextFormat(Qt::PlainText);
    // The text wraps only beyond half the screen's width.
    const int maxWidth = screen() ? screen()->availableGeometry().width() / 2 : 512;
    const QRect textBounds = label->fontMetrics().boundingRect(QRect(0, 0, maxWidth, 10000), Qt::TextWordWrap, text);
    label->setWordWrap(true);
    label->setFixedSize(textBounds.size());
    grid->addWidget(label, 0, textColumn, Qt::AlignTop);

    if (buttons & mbYes)
        addButton(QStringLiteral("&Yes"), mrYes);
    if (buttons & mbNo)
        addButton(QStringLiteral("&No"), mrNo);
    if (buttons & mbOK)
        addButton(QStringLiteral("OK"), mrOk);

    // Enter gives OK when it is offered, else Yes; Esc gives No when offered, else OK.
    QPushButton* defaultButton = (buttons & mbOK) ? button(mrOk) : button(mrYes);
    m_cancelResult = (buttons & mbNo) ? mrNo : mrOk;
    if (defaultButton) {
        defaultButton->setDefault(true);
        defaultButton->setFocus();
    }

    int buttonWidth = int(50 * du.x);
    for (QPushButton* b : m_buttons)
        buttonWidth = std::max(buttonWidth, b->fontMetrics().horizontalAdvance(b->text().remove(QLatin1Char('&'))) + 8);
    auto* row = new QHBoxLayout;
    row->setSpacing(int(4 * du.x));
    row->addStretch();
    for (QPushButton* b : m_buttons) {
        b->setFixedSize(buttonWidth, int(14 * du.y));
        row->addWidget(b);
    }
    row->addStretch();
    grid->addLayout(row, 1, 0, 1, textColumn + 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void TMessageForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TMessageForm::addButton(const QString& caption, TModalResult result)
{
    auto* b = new QPushButton(caption, this);
    b->setProperty("modalResult", int(result));
    b->setAutoDefault(true);
    connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
    m_buttons << b;
}

QPushButton* TMessageForm::button(TModalResult result) const
{
    for (QPushButton* b : m_buttons)
        if (b->property("modalResult").toInt() == result)
            return b;
    return nullptr;
}

QString TMessageForm::clipboardText() const
{
    QString captions;
    for (const QPushButton* b : m_buttons)
        captions += b->text().remove(QLatin1Char('&')) + QStringLiteral("   ");
    const QStringList items{kRule, m_caption, kRule, m_text, kRule, captions, kRule};
    return items.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void TMessageForm::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        QApplication::beep();
        QApplication::clipboard()->setText(clipboardText());
        return;
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        done(m_cancelResult);
        return;
    }
    // The buttons take no typed characters, so a plain letter works as the
    // accelerator it is ("&Yes", "&No"), as Alt with it does.
    if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        && event->text().size() == 1) {
        const QString letter = event->text().toLower();
        for (QPushButton* b : std::as_const(m_buttons)) {
            const QString caption = b->text();
            const qsizetype amp = caption.indexOf(QLatin1Char('&'));
            if (amp >= 0 && caption.mid(amp + 1, 1).toLower() == letter) {
                b->click();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}

// The close box and the system's close command.
void TMessageForm::reject()
{
    done(mrCancel);
}

// The box is a window of the program: when it closes, the window that was
// active before it becomes active again at once (its activation handler
// runs), with or without a window manager, so that a box shown right after
// it returns to the same window.
int execAndReactivate(QDialog& box)
{
    const QPointer<QWidget> active = QApplication::activeWindow();
    const int result = box.exec();
    if (active && active->isVisible()) {
        QApplication::setActiveWindow(active);
        active->activateWindow();
    }
    return result;
}

int MessageDlg(const QString& text, TMsgDlgButtons buttons)
{
    TMessageForm box(QStringLiteral("Confirm"), text, true, buttons);
    return execAndReactivate(box);
}

void ShowMessage(const QString& text)
{
    TMessageForm box(Application ? Application->Title() : QString(), text, false, mbOK);
    execAndReactivate(box);
}

namespace {

QMessageBox::Icon iconOf(unsigned flags)
{
    switch (flags & 0xF0) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

void addButtons(QMessageBox& box, unsigned flags)
{
    switch (flags & 0x0F) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    }
}

int resultCode(QMessageBox::StandardButton b)
{
    switch (b) {
    case QMessageBox::Ok: return mrOk;
    case QMessageBox::Yes: return mrYes;
    case QMessageBox::No: return mrNo;
    default: return mrCancel;
    }
}

} // namespace

int PlatformMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags,
                       Qt::WindowModality modality, const QScreen* screen)
{
    QMessageBox box(iconOf(flags), caption, text, QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(modality);
    addButtons(box, flags);
    if (!owner && screen) {
        box.adjustSize();
        box.move(screen->availableGeometry().center() - box.rect().center());
    }
    box.exec();
    return resultCode(box.standardButton(box.clickedButton()));
}

int OwnedMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags)
{
    return PlatformMessageBox(owner, text, caption, flags, owner ? Qt::WindowModal : Qt::ApplicationModal);
}

QString errorReportText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}
