#include "widgets/TForm.h"

#include "errors/HandlerGuard.h"
#include "widgets/Fonts.h"
#include "widgets/TApplication.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

TForm::TForm(QWidget* owner) : QWidget(owner, Qt::Window), m_client(new QWidget(this))
{
    m_client->setObjectName(QStringLiteral("client"));
    setAttribute(Qt::WA_QuitOnClose, false);
}

void TForm::initWindow(const QString& caption, TBorderStyle style, QSize clientSize, bool maximisable)
{
    setCaption(caption);
    setBorderStyle(style);
    setFont(windowFont());
    m_fixedSize = style != TBorderStyle::bsSizeable && !maximisable;
    m_fixedWhenRestored = style != TBorderStyle::bsSizeable && maximisable;
    setClientSize(clientSize.width(), clientSize.height());
    centreOnScreen();
}

void TForm::setBorderStyle(TBorderStyle style)
{
    Qt::WindowFlags flags = Qt::Window;
    switch (style) {
    case TBorderStyle::bsNone:
        flags |= Qt::FramelessWindowHint;
        break;
    case TBorderStyle::bsDialog:
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint;
        break;
    case TBorderStyle::bsSingle:
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
        break;
    case TBorderStyle::bsSizeable:
        break;
    }
    setWindowFlags(flags);
}

void TForm::setClientSize(int width, int height)
{
    const QSize size(width, height + menuHeight());
    m_restoredSize = size;
    if (m_fixedSize)
        setFixedSize(size);
    else
        resize(size);
}

QSize TForm::clientSize() const
{
    return m_client->size();
}

void TForm::setMenuBar(QMenuBar* menuBar)
{
    m_menuBar = menuBar;
    m_menuBar->setParent(this);
}

int TForm::menuHeight() const
{
    return m_menuBar ? m_menuBar->sizeHint().height() : 0;
}

void TForm::Show()
{
    show();
    raise();
    activateWindow();
}

// Windows open centred; done once, before the first showing, so that the
// restored bounds of a maximised window are centred too.
void TForm::centreOnScreen()
{
    if (const QScreen* s = screen()) {
        QRect bounds = geometry();
        bounds.moveCenter(s->availableGeometry().center());
        move(bounds.topLeft());
    }
}

void TForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void TForm::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (Application && Application->MainForm() == this)
        Application->Terminate();
}

void TForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);

    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        guarded([this] { FormActivate(); });
}

// A window of fixed size that may be maximised keeps its size while
// restored: a resize of its frame is undone. Size hints can't say it, as
// window managers then refuse to maximise it. The check waits a moment, so
// that a resize that belongs to maximising or restoring finds its new state.
void TForm::keepRestoredSize()
{
    const bool restored = !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
    if (restored && isVisible() && size() != m_restoredSize)
        resize(m_restoredSize);
}

void TForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_fixedWhenRestored && event->size() != m_restoredSize)
        QTimer::singleShot(100, this, [this] { keepRestoredSize(); });
    const int top = menuHeight();
    if (m_menuBar)
        m_menuBar->setGeometry(0, 0, width(), top);
    m_client->setGeometry(0, top, width(), height() - top);
}
