#include "widgets/TApplication.h"

#include "errors/Exception.h"
#include "errors/HandlerGuard.h"
#include "widgets/Fonts.h"
#include "widgets/MessageBoxes.h"
#include "widgets/TForm.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

#include <dlfcn.h>

TApplication* Application = nullptr;

TApplication::TApplication(const QString& programFile)
    : m_title(titleFromProgramFile(programFile)), m_owner(new QWidget)
{
    Application = this;
    substituteWindowFonts();
    m_owner->setWindowTitle(m_title);
    QApplication::setQuitOnLastWindowClosed(false);
    qApp->installEventFilter(this);
    setErrorReporter([this](const Exception& error) { ShowException(error); });
}

TApplication::~TApplication()
{
    setErrorReporter({});
    destroyForms();
    delete m_owner;
    if (Application == this)
        Application = nullptr;
}

QString TApplication::titleFromProgramFile(const QString& programFile)
{
    QString name = programFile.section(QLatin1Char('/'), -1).section(QLatin1Char('\\'), -1);
    name = name.section(QLatin1Char('.'), 0, 0);
    return name.left(1) + name.mid(1).toLower();
}

void TApplication::adopt(TForm* form)
{
    if (!m_mainForm)
        m_mainForm = form;
    m_forms << form;
    guarded([form] { form->FormCreate(); });
    Q_EMIT formCreated(form);
}

int TApplication::Run()
{
    if (m_mainForm && !m_terminated)
        m_mainForm->Show();
    if (!m_terminated)
        QApplication::exec();
    for (TForm* form : std::as_const(m_forms))
        form->hide();
    destroyForms();
    return 0;
}

// The request ends the loop once control is back in it; the handler that
// asked runs to its end first.
void TApplication::Terminate()
{
    m_terminated = true;
    QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents();
}

void TApplication::destroyForms()
{
    while (!m_forms.isEmpty())
        delete m_forms.takeLast();
    m_mainForm = nullptr;
}

void TApplication::ShowException(const Exception& error)
{
    if (dynamic_cast<const EAbort*>(&error))
        return;
    MessageBox(errorReportText(error.message()), m_title, MB_OK | MB_ICONHAND);
}

int TApplication::MessageBox(const QString& text, const QString& caption, unsigned flags)
{
    const QPointer<QWidget> active = QApplication::activeWindow();
    const QPointer<QWidget> focused = active ? active->focusWidget() : nullptr;
    // The box appears on the monitor of the active window.
    const QScreen* screen = active ? active->screen() : QGuiApplication::primaryScreen();
    const int result = PlatformMessageBox(nullptr, text, caption, flags, Qt::ApplicationModal, screen);
    if (active && active->isVisible()) {
        active->activateWindow();
        if (focused)
            focused->setFocus();
    }
    return result;
}

bool TApplication::eventFilter(QObject* watched, QEvent* event)
{
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->isWindow())
        updateTaskbarEntry();
    return QObject::eventFilter(watched, event);
}

void TApplication::updateTaskbarEntry()
{
    bool anyVisible = false;
    for (const TForm* form : std::as_const(m_forms))
        anyVisible = anyVisible || form->isVisible();
    if (anyVisible != m_taskbarEntryVisible) {
        m_taskbarEntryVisible = anyVisible;
        Q_EMIT taskbarEntryChanged(anyVisible);
    }
}

QString applicationErrorText(const Exception& error)
{
    Dl_info info{};
    QString module = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    quintptr offset = quintptr(error.raiseAddress());
    if (dladdr(error.raiseAddress(), &info) && info.dli_fname) {
        module = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).fileName();
        offset -= quintptr(info.dli_fbase);
    }
    QString message = error.message();
    if (!message.endsWith(QLatin1Char('.')))
        message += QLatin1Char('.');
    return QStringLiteral("Exception %1 in module %2 at %3.\n%4\n")
        .arg(error.className(), module, QStringLiteral("%1").arg(offset, 8, 16, QLatin1Char('0')).toUpper(), message);
}

void showApplicationError(const Exception& error)
{
    PlatformMessageBox(nullptr, applicationErrorText(error), QStringLiteral("Application Error"),
                       MB_OK | MB_ICONHAND, Qt::ApplicationModal);
}
