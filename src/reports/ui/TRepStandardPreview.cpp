#include "TRepStandardPreview.h"

#include "TRepPreview.h"
#include "errors/HandlerGuard.h"
#include "reports/Pictures.h"
#include "reports/TRepPrinter.h"
#include "widgets/MessageBoxes.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString FileExtension = QStringLiteral("RPF");
const QString FileDescription = QStringLiteral("Prepared report file");

// The file dialog's name filter from a description and its extension.
QString nameFilter(const QString& description)
{
    return description + QStringLiteral("(*.") + FileExtension + QLatin1Char(')');
}

// Asks for a prepared report file; empty when the user cancels. Without a
// desktop (offscreen) the toolkit's own dialog is used, which tests can drive.
QString askFileName(QWidget* parent, const QString& title, const QString& filter, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, title);
    dialog.setObjectName(mode == QFileDialog::AcceptSave ? QStringLiteral("SaveDialog") : QStringLiteral("LoadDialog"));
    dialog.setAcceptMode(mode);
    // A name that does not exist reaches the window, which says so itself.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(FileExtension);
    dialog.setNameFilter(filter);
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

TRepStandardPreview::TRepStandardPreview(TRepPrinter& output) : m_output(&output)
{
    setObjectName(QStringLiteral("RepStandardPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(output.title().isEmpty() ? QStringLiteral("Print Preview") : output.title());
    CreateToolBar();
    RepPreview = new TRepPreview(this);
    RepPreview->OnPageAvailable = [this](int pages) { PageAvailable(pages); };
    RepPreview->OnProgressUpdate = [this](int percent) { ProgressUpdate(percent); };
    CreateStatusBar();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(RepPreview, 1);
    layout->addWidget(StatusBar);
    WatchKeys();

    RepPreview->Attach(output);
    RepPreview->SetPageNumber(1);
    if (output.status() == TRepStatus::Finished)
        EnableForFinished();
    // Released output: nothing is left to show.
    connect(&output, &QObject::destroyed, this, &QWidget::close);
}

TRepStandardPreview* TRepStandardPreview::Open(TRepPrinter& output)
{
    auto* preview = new TRepStandardPreview(output);
    preview->resize(652, 579);
    if (const QScreen* screen = preview->screen())
        preview->move(screen->availableGeometry().center() - preview->rect().center());
    preview->showMaximized();
    preview->ShowPagePosition();
    return preview;
}

QString TRepStandardPreview::SaveFilter()
{
    return nameFilter(FileDescription);
}

QString TRepStandardPreview::LoadFilter()
{
    return nameFilter(FileDescription + QLatin1Char(' '));
}

void TRepStandardPreview::CreateToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->setMovable(false);
    ToolBar1->addSeparator();
    CreateZoomButtons();
    ToolBar1->addSeparator();
    FirstPage = AddButton(QStringLiteral("FirstPage"), QStringLiteral("First page"), 3, &TRepStandardPreview::GoFirst);
    PreviousPage = AddButton(QStringLiteral("PreviousPage"), QStringLiteral("Previous page"), 4, &TRepStandardPreview::GoPrevious);
    ToolButton2 = AddButton(QStringLiteral("ToolButton2"), QStringLiteral("Next page"), 5, &TRepStandardPreview::GoNext);
    LastPage = AddButton(QStringLiteral("LastPage"), QStringLiteral("Last page"), 6, &TRepStandardPreview::GoLast);
    ToolBar1->addSeparator();
    PrintSetup = AddButton(QStringLiteral("PrintSetup"), QStringLiteral("Printer setup"), 7, &TRepStandardPreview::PrintSetupClick);
    Print = AddButton(QStringLiteral("Print"), QStringLiteral("Print"), 8, &TRepStandardPreview::PrintClick);
    PrintSetup->setEnabled(false);
    Print->setEnabled(false);
    ToolBar1->addSeparator();
    SaveReport = AddButton(QStringLiteral("SaveReport"), QStringLiteral("Save Report"), 10, &TRepStandardPreview::SaveReportClick);
    LoadReport = AddButton(QStringLiteral("LoadReport"), QStringLiteral("Load Report"), 9, &TRepStandardPreview::LoadReportClick);
    // Until the run is over: a load would end it halfway, a save would write nothing.
    SaveReport->setEnabled(false);
    LoadReport->setEnabled(false);
    ToolBar1->addSeparator();
    CreateExitButton();
}

// One of the three is always down; only a click moves it.
void TRepStandardPreview::CreateZoomButtons()
{
    auto* zoomGroup = new QActionGroup(this);
    ZoomFit = AddButton(QStringLiteral("ZoomFit"), QStringLiteral("Zoom to fit"), 0,
        [this] { RepPreview->ZoomToFit(); });
    Zoom100 = AddButton(QStringLiteral("Zoom100"), QStringLiteral("100%"), 1, [this] { RepPreview->SetZoom(100); });
    ZoomToWidth = AddButton(QStringLiteral("ZoomToWidth"), QStringLiteral("Zoom to width"), 2,
        [this] { RepPreview->ZoomToWidth(); });
    for (QAction* zoom : {ZoomFit, Zoom100, ZoomToWidth}) {
        zoom->setCheckable(true);
        zoomGroup->addAction(zoom);
    }
    ZoomToWidth->setChecked(true);
}

void TRepStandardPreview::CreateExitButton()
{
    ExitButton = new QToolButton(ToolBar1);
    ExitButton->setObjectName(QStringLiteral("ExitButton"));
    ExitButton->setText(QStringLiteral("&Close"));
    ExitButton->setIcon(QIcon(QPixmap::fromImage(Pictures::closeIcon())));
    ExitButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ExitButton->setAutoRaise(true);
    connect(ExitButton, &QToolButton::clicked, this, &QWidget::close);
    ToolBar1->addWidget(ExitButton);
}

QAction* TRepStandardPreview::AddButton(const QString& name, const QString& hint, int picture,
    std::function<void()> handler)
{
    QAction* action = ToolBar1->addAction(QIcon(QPixmap::fromImage(Pictures::toolbarIcon(picture))), hint);
    action->setObjectName(name);
    action->setToolTip(hint);
    connect(action, &QAction::triggered, this, [handler = std::move(handler)] { guarded(handler); });
    return action;
}

QAction* TRepStandardPreview::AddButton(const QString& name, const QString& hint, int picture,
    void (TRepStandardPreview::*handler)())
{
    return AddButton(name, hint, picture, [this, handler] { (this->*handler)(); });
}

void TRepStandardPreview::CreateStatusBar()
{
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    ProgressPanel = new QLabel(QStringLiteral("0%"), StatusBar);
    ProgressPanel->setObjectName(QStringLiteral("ProgressPanel"));
    ProgressPanel->setFixedWidth(40);
    ProgressPanel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PagePanel = new QLabel(QStringLiteral("Page"), StatusBar);
    PagePanel->setObjectName(QStringLiteral("PagePanel"));
    PagePanel->setMinimumWidth(50);
    for (QLabel* panel : {ProgressPanel, PagePanel})
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusBar->addWidget(ProgressPanel);
    StatusBar->addWidget(PagePanel, 1);
}

// Keys reach the window before any of its controls (the scroll area would
// otherwise take Page Up, Page Down, Home and End for itself).
void TRepStandardPreview::WatchKeys()
{
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool TRepStandardPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        bool handled = false;
        guarded([&] { handled = HandleKey(*static_cast<QKeyEvent*>(event)); });
        if (handled)
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TRepStandardPreview::keyPressEvent(QKeyEvent* event)
{
    bool handled = false;
    guarded([&] { handled = HandleKey(*event); });
    if (!handled)
        QWidget::keyPressEvent(event);
}

bool TRepStandardPreview::HandleKey(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers held = key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool ctrlAlone = held == Qt::ControlModifier;
    switch (key.key()) {
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_PageUp:
        ctrlAlone ? GoFirst() : GoPrevious();
        return true;
    case Qt::Key_PageDown:
        ctrlAlone ? GoLast() : GoNext();
        return true;
    case Qt::Key_Home:
        GoFirst();
        return true;
    case Qt::Key_End:
        GoLast();
        return true;
    default:
        return false;
    }
}

void TRepStandardPreview::GoFirst()
{
    GoTo(1);
}

void TRepStandardPreview::GoPrevious()
{
    GoTo(RepPreview->PageNumber() - 1);
}

void TRepStandardPreview::GoNext()
{
    GoTo(RepPreview->PageNumber() + 1);
}

void TRepStandardPreview::GoLast()
{
    if (m_output)
        GoTo(m_output->pageCount());
}

void TRepStandardPreview::GoTo(int page)
{
    if (RepPreview->SetPageNumber(page))
        ShowPagePosition();
}

// While stored pages print, nothing else may start on the document; a close
// asked for meanwhile cancels the print and happens once it has stopped.
void TRepStandardPreview::PrintClick()
{
    if (!m_output)
        return;
    for (QAction* action : {Print, PrintSetup, SaveReport, LoadReport})
        action->setEnabled(false);
    try {
        m_output->Print();
    } catch (...) {
        AfterPrinting();
        throw;
    }
    AfterPrinting();
}

void TRepStandardPreview::AfterPrinting()
{
    EnableForFinished();
    if (m_closeWhenPrinted)
        close();
}

void TRepStandardPreview::PrintSetupClick()
{
    if (m_output)
        m_output->PrinterSetup();
}

// Only a finished document is written; the output object sees to that.
void TRepStandardPreview::SaveReportClick()
{
    const QString fileName = askFileName(this, QStringLiteral("Save report"), SaveFilter(), QFileDialog::AcceptSave);
    if (!fileName.isEmpty() && m_output)
        m_output->SaveToFile(fileName);
}

void TRepStandardPreview::LoadReportClick()
{
    const QString fileName = askFileName(this, QStringLiteral("Load report"), LoadFilter(), QFileDialog::AcceptOpen);
    if (fileName.isEmpty() || !m_output)
        return;
    if (!QFile::exists(fileName)) {
        ShowMessage(QStringLiteral("File does not exist"));
        return;
    }
    m_output->LoadFromFile(fileName);
    RepPreview->ReloadPage(1);
    RepPreview->Relayout(); // the loaded paper may differ
    ShowPagePosition();
    EnableForFinished();
}

void TRepStandardPreview::PageAvailable(int)
{
    ShowPagePosition();
    if (m_output && m_output->status() == TRepStatus::Finished)
        EnableForFinished();
}

// A document without pages has nothing to print.
void TRepStandardPreview::EnableForFinished()
{
    if (!m_output || m_output->status() != TRepStatus::Finished)
        return;
    PrintSetup->setEnabled(!m_output->loadedFromFile());
    Print->setEnabled(m_output->pageCount() > 0);
    SaveReport->setEnabled(true);
    LoadReport->setEnabled(true);
}

// Figures are shown in steps of at least 5; the start and the end empty the panel.
void TRepStandardPreview::ProgressUpdate(int percent)
{
    if (percent >= m_lastProgress + 5) {
        ProgressPanel->setText(QString::number(percent) + QLatin1Char('%'));
        m_lastProgress = percent;
    }
    if (percent == 0 || percent == 100)
        ProgressPanel->clear();
}

void TRepStandardPreview::ShowPagePosition()
{
    const int pages = m_output ? m_output->pageCount() : 0;
    PagePanel->setText(QStringLiteral("Page %1 of %2").arg(RepPreview->PageNumber()).arg(pages));
}

// The report hears of the close at once; it cancels a run that is still going.
// A print of the stored pages is cancelled first: the window closes when it
// has stopped, as the output object is in use until then.
void TRepStandardPreview::closeEvent(QCloseEvent* event)
{
    if (m_output && m_output->printing()) {
        m_output->Cancel();
        m_closeWhenPrinted = true;
        event->ignore();
        return;
    }
    guarded([this] {
        QPointer<TRepPrinter> output = m_output;
        m_output = nullptr;
        if (!output)
            return;
        if (output->master())
            output->ClosePreview();
        else
            output->setShowingPreview(false);
    });
    event->accept();
}
