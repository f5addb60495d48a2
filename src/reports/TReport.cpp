#include "TReport.h"

#include "RepRound.h"
#include "ReportWindows.h"
#include "TRepMessage.h"
#include "TRepPrintable.h"
#include "TRepPrinter.h"
#include "data/DataSet.h"
#include "errors/HandlerGuard.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <utility>

namespace {

constexpr double TenthsPerInch = 254.0;

double screenPpi()
{
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
        ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

bool isPageBandType(TRepBandType type)
{
    return type == rbTitle || type == rbPageHeader || type == rbPageFooter || type == rbOverlay;
}

// Restores a value when the scope ends, also when an error ends it.
template <class T>
class Restore {
public:
    Restore(T& target, T value) : m_target(target), m_value(value) {}
    ~Restore() { m_target = m_value; }
    Restore(const Restore&) = delete;
    Restore& operator=(const Restore&) = delete;

private:
    T& m_target;
    T m_value;
};

} // namespace

QList<double> TRepPage::Values() const
{
    return {BottomMargin, Length, TopMargin, Width, LeftMargin, RightMargin, ColumnSpace};
}

void TRepPage::SetValues(const QList<double>& values)
{
    if (values.size() != 7)
        return;
    BottomMargin = values[0];
    Length = values[1];
    TopMargin = values[2];
    Width = values[3];
    LeftMargin = values[4];
    RightMargin = values[5];
    ColumnSpace = values[6];
}

bool TRepPage::SetValuesText(const QString& text)
{
    static const QRegularExpression list(QStringLiteral("^\\s*\\((.*)\\)\\s*$"));
    const QRegularExpressionMatch match = list.match(text);
    if (!match.hasMatch())
        return false;
    QList<double> values;
    for (const QString& item : match.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool ok = false;
        values.append(item.toDouble(&ok));
        if (!ok)
            return false;
    }
    if (values.size() != 7)
        return false;
    SetValues(values);
    return true;
}

TReport::TReport(QObject* parent) : QObject(parent), m_controller(*this), m_screenPpi(screenPpi())
{
    Font = QFont(QStringLiteral("Arial"), 10);
    Functions = {{QStringLiteral("PAGENUMBER"), QStringLiteral("0")},
                 {QStringLiteral("COLUMNNUMBER"), QStringLiteral("0")},
                 {QStringLiteral("REPORTTITLE"), QStringLiteral("''")}};
}

// A report released while its preview is open takes the preview down with
// its output object.
TReport::~TReport()
{
    m_output.reset();
}

void TReport::SetZoom(int zoom)
{
    if (zoom >= 1 && zoom <= 300)
        m_zoom = zoom;
}

TRepBand* TReport::CreateBand(TRepBandType type)
{
    auto* band = new TRepBand(type, this);
    m_bands.append(band);
    return band;
}

void TReport::DestroyBand(TRepBand* band)
{
    if (!m_bands.removeOne(band))
        return;
    for (TRepBand* other : std::as_const(m_bands)) {
        if (other->LinkBand == band)
            other->LinkBand = nullptr;
        if (other->ChildBand() == band)
            other->SetHasChild(false);
    }
    band->SetHasChild(false);
    delete band;
}

TRepBand* TReport::FindBand(TRepBandType type) const
{
    for (TRepBand* band : m_bands) {
        if (band->BandType == type)
            return band;
    }
    return nullptr;
}

TReportBands TReport::Bands() const
{
    return {FindBand(rbTitle) != nullptr, FindBand(rbPageHeader) != nullptr, FindBand(rbColumnHeader) != nullptr,
            FindBand(rbDetail) != nullptr, FindBand(rbPageFooter) != nullptr, FindBand(rbSummary) != nullptr};
}

void TReport::SetBands(const TReportBands& bands)
{
    const std::pair<TRepBandType, bool> wanted[] = {
        {rbTitle, bands.HasTitle}, {rbPageHeader, bands.HasPageHeader}, {rbColumnHeader, bands.HasColumnHeader},
        {rbDetail, bands.HasDetail}, {rbPageFooter, bands.HasPageFooter}, {rbSummary, bands.HasSummary}};
    for (const auto& [type, on] : wanted) {
        TRepBand* band = FindBand(type);
        if (on && !band)
            CreateBand(type);
        else if (!on && band)
            DestroyBand(band);
    }
}

QList<TRepPrintable*> TReport::Elements() const
{
    return findChildren<TRepPrintable*>(Qt::FindDirectChildrenOnly);
}

double TReport::Present(double tenths, TRepAxis axis) const
{
    const double characterWidth = (axis == TRepAxis::Horizontal ? 80.0 : 145.3) / Font.pointSizeF() / 2.54;
    switch (Units) {
    case TRepUnit::MM: return tenths / 10;
    case TRepUnit::Inches: return tenths / TenthsPerInch;
    case TRepUnit::Pixels: return tenths * m_screenPpi / TenthsPerInch * m_zoom / 100;
    case TRepUnit::Characters: return tenths / characterWidth / 10;
    case TRepUnit::Native: break;
    }
    return tenths;
}

double TReport::Store(double value, TRepAxis axis) const
{
    const double oneUnit = Present(1, axis);
    return oneUnit == 0 ? value : value / oneUnit;
}

// A. One run, shared by the preview and the printer.
void TReport::GenerateReport()
{
    if (!m_runIdle || !m_output)
        return;
    if (!StartRun())
        return;
    try {
        PrepareRun();
        m_controller.Execute();
        m_printPosX = Page.LeftMargin;
        m_onLastPage = true;
        if (!m_cancelRequested)
            FinishPage();
    } catch (...) {
        FinishRun();
        EndDocument();
        throw;
    }
    FinishRun();
    EndDocument();
}

bool TReport::StartRun()
{
    if (Page.Width - Page.LeftMargin - Page.RightMargin < 0)
        Page.LeftMargin = Page.RightMargin = 0;
    if (Page.Length - Page.TopMargin - Page.BottomMargin < 0)
        Page.TopMargin = Page.BottomMargin = 0;
    m_runIdle = false;
    m_cancelRequested = false;
    m_onLastPage = false;
    m_skipForcedPage = false;
    m_forcedColumn = false;
    bool print = true;
    if (BeforePrint)
        BeforePrint(this, print);
    if (!print)
        m_runIdle = true;
    return print;
}

void TReport::PrepareRun()
{
    m_savedUnits = Units;
    Units = TRepUnit::Native;
    HandOverSettings();
    m_output->BeginDoc();
    m_printPosY = -1;
    m_pagesStarted = 0;
    m_columnNo = Page.Columns;
    m_pageFooterSpace = PageFooterSpaceOf();
    SetBandWidths();
    m_printPosX = Page.LeftMargin;
    m_controller.DataSet = DataSet;
    m_controller.Header = FindBand(rbTitle);
    m_controller.Detail = FindBand(rbDetail);
    m_controller.Footer = FindBand(rbSummary);
    m_controller.PrintIfEmpty = PrintIfEmpty;
    Functions[QStringLiteral("REPORTTITLE")] = ReportTitle;
    PrepareElements(true);
}

void TReport::HandOverSettings()
{
    if (PrintFileName.isEmpty()) // a PDF file is not in the system's printer list
        m_output->setPrinterIndex(PrinterSettings.PrinterIndex);
    m_output->setPaperSize(Page.PaperSize);
    if (Page.PaperSize == TRepPaperSize::Custom) {
        m_output->setCustomPaperWidth(nearest(Page.Width));
        m_output->setCustomPaperLength(nearest(Page.Length));
    }
    m_output->setOrientation(Page.Orientation);
    m_output->setCopies(PrinterSettings.Copies);
    m_output->setOutputBin(PrinterSettings.OutputBin);
    m_output->setFirstPage(PrinterSettings.FirstPage);
    m_output->setLastPage(PrinterSettings.LastPage);
    m_output->setTitle(ReportTitle);
    m_output->setCompression(Options & Compression);
}

void TReport::FinishRun()
{
    Units = m_savedUnits;
    PrepareElements(false);
    Functions[QStringLiteral("PAGENUMBER")] = QStringLiteral("0");
    Functions[QStringLiteral("COLUMNNUMBER")] = QStringLiteral("0");
}

// The document is ended even when an error ended the run, so the report is
// never left busy.
void TReport::EndDocument()
{
    Restore<bool> idle(m_runIdle, true);
    if (m_cancelRequested || !m_drawingPass)
        m_output->AbortDoc();
    else
        m_output->EndDoc();
}

void TReport::PrepareElements(bool prepare)
{
    QList<TRepPrintable*> elements = Elements();
    for (TRepBand* band : std::as_const(m_bands))
        elements += band->Elements();
    for (TRepPrintable* element : std::as_const(elements)) {
        if (prepare)
            element->Prepare();
        else
            element->Unprepare();
    }
}

void TReport::SetBandWidths()
{
    const double pageWidth = Page.Width - Page.LeftMargin - Page.RightMargin;
    const double columnWidth =
        Page.Columns > 1 ? (pageWidth - Page.ColumnSpace * (Page.Columns - 1)) / Page.Columns : pageWidth;
    for (TRepBand* band : std::as_const(m_bands)) {
        const bool fullWidth = band->BandType == rbTitle || band->BandType == rbPageHeader
            || band->BandType == rbPageFooter || band->BandType == rbSummary || band->BandType == rbOverlay;
        band->Size.Width = fullWidth ? pageWidth : columnWidth;
    }
}

double TReport::PageFooterSpaceOf() const
{
    double space = 0;
    for (const TRepBand* band : m_bands) {
        if (band->BandType == rbPageFooter && band->Enabled)
            space += band->ChainHeight();
    }
    return space;
}

// The sheet's length as printed: the paper width for landscape pages of a
// fixed size.
double TReport::PaperLength() const
{
    if (Page.PaperSize != TRepPaperSize::Custom && Page.Orientation == TRepOrientation::poLandscape)
        return m_output->PaperWidth();
    return m_output->PaperLength();
}

int TReport::SpaceLeft() const
{
    if (m_runIdle || m_printPosY == -1)
        return 0;
    return nearest(PaperLength() - Page.BottomMargin - m_pageFooterSpace - m_printPosY);
}

// C. Every band goes through here.
void TReport::PrintBand(TRepBand* band)
{
    if (!band)
        return;
    AlignBandToBottom(*band);
    bool printIt = band->Enabled;
    if (printIt && band->BeforePrint)
        band->BeforePrint(band, printIt);
    if (printIt) {
        const bool pageType = isPageBandType(band->BandType);
        if (band->ForceNewPage && !pageType && m_pagesStarted > 0)
            ForcedNewPage();
        else if (band->ForceNewColumn && !pageType && m_pagesStarted > 0)
            ForcedNewColumn();
        else
            MakeRoom(*band);
        PrintBandBody(*band);
    }
    if (band->AfterPrint)
        band->AfterPrint(band, printIt);
    PrintChild(*band);
}

void TReport::AlignBandToBottom(TRepBand& band)
{
    if (!band.AlignToBottom)
        return;
    if (band.BandType == rbSummary && !(Options & LastPageFooter))
        m_pageFooterSpace = 0;
    m_printPosY = std::max(m_printPosY,
        double(nearest(PaperLength() - Page.BottomMargin - band.Size.Height - m_pageFooterSpace)));
}

void TReport::PrintBandBody(TRepBand& band)
{
    const double designedHeight = band.Size.Height;
    band.ResetStretch();
    if (designedHeight != 0 && band.Enabled) {
        PrintElements(band, false);
        while (!ElementsFinished(band)) {
            NewColumn();
            band.ResetStretch();
            PrintElements(band, true);
        }
    }
    m_printPosY += designedHeight + band.Stretch();
    band.ResetStretch();
}

// The band's background, its elements at the print position, then its frame
// around the band as grown by its stretching elements.
void TReport::PrintElements(TRepBand& band, bool unfinishedOnly)
{
    QPainter* canvas = m_output->Canvas();
    const QRect box(m_output->XPos(m_printPosX), m_output->YPos(m_printPosY), m_output->XSize(band.Size.Width),
                    m_output->YSize(band.Size.Height));
    if (m_drawingPass && canvas && !unfinishedOnly)
        fillBox(*canvas, box, band.Color);
    const double top = m_printPosY;
    for (TRepPrintable* element : band.Elements()) {
        if (element->Enabled && (!unfinishedOnly || !element->AllPrinted()))
            element->Print(m_printPosX, m_printPosY);
    }
    if (m_drawingPass && canvas && band.Frame.AnySide()) {
        const int bottom = m_output->YPos(top + band.Size.Height + band.Stretch() + 1);
        band.Frame.Paint(*canvas, QRect(box.left(), box.top(), box.width(), bottom - box.top()),
                         m_output->ScaleX, m_output->ScaleY);
    }
}

bool TReport::ElementsFinished(const TRepBand& band) const
{
    for (const TRepPrintable* element : band.Elements()) {
        if (element->Enabled && !element->AllPrinted())
            return false;
    }
    return true;
}

// A child of a page footer prints as a page footer.
void TReport::PrintChild(TRepBand& band)
{
    TRepBand* child = band.ChildBand();
    if (!child)
        return;
    if (band.BandType != rbPageFooter) {
        PrintBand(child);
        return;
    }
    child->BandType = rbPageFooter;
    Restore<TRepBandType> type(child->BandType, rbChild);
    PrintBand(child);
}

// D. The page-break rule.
void TReport::MakeRoom(TRepBand& band)
{
    const double height = band.LinkedHeight();
    const double printable = Page.Length - (Page.TopMargin + Page.BottomMargin);
    const bool tooLow = band.BandType != rbPageFooter && SpaceLeft() < nearest(height) && height <= printable;
    if (tooLow || m_pagesStarted == 0)
        NewColumn();
}

double TReport::ColumnWidth() const
{
    if (const TRepBand* detail = FindBand(rbDetail))
        return detail->Size.Width;
    return std::trunc((Page.Width - (Page.LeftMargin + Page.RightMargin) - Page.ColumnSpace * (Page.Columns - 1))
                      / Page.Columns);
}

// E2.
void TReport::NewColumn()
{
    if (m_columnNo >= Page.Columns) {
        m_columnNo = 1;
        m_printPosX = Page.LeftMargin;
        NewPage();
    } else {
        m_printPosX += Page.ColumnSpace + ColumnWidth();
        m_printPosY = m_columnTopY;
        ++m_columnNo;
    }
    Functions[QStringLiteral("COLUMNNUMBER")] = QString::number(m_columnNo);
    if (m_columnNo == 1 && m_pagesStarted == 1)
        return;
    TRepBand* columnHeader = FindBand(rbColumnHeader);
    if (columnHeader && columnHeader->Enabled)
        PrintBand(columnHeader);
}

// E3.
void TReport::NewPage()
{
    FinishPage();
    ++m_pagesStarted;
    Functions[QStringLiteral("PAGENUMBER")] = QString::number(m_pagesStarted);
    if (m_drawingPass || m_pagesStarted == 1)
        m_output->NewPage();
    m_printPosY = Page.TopMargin;
    if (OnStartPage)
        OnStartPage(this);
    if (m_pagesStarted > 1 || (Options & FirstPageHeader))
        PrintBand(FindBand(rbPageHeader));
    m_columnTopY = m_printPosY;
    if (m_pagesStarted == 1) {
        if (const TRepBand* title = FindBand(rbTitle))
            m_columnTopY += title->Size.Height;
    }
}

// E4.
void TReport::FinishPage()
{
    if (m_pagesStarted <= 0)
        return;
    m_printPosY = nearest(Page.Length - Page.BottomMargin - m_pageFooterSpace);
    m_printPosX = Page.LeftMargin;
    if (!m_onLastPage || (Options & LastPageFooter))
        PrintBand(FindBand(rbPageFooter));
    for (TRepPrintable* element : Elements()) {
        if (element->Enabled)
            element->Print(0, 0);
    }
    QPainter* canvas = m_output->Canvas();
    if (m_drawingPass && canvas && Frame.AnySide()) {
        const QRect box(QPoint(m_output->XPos(Page.LeftMargin), m_output->YPos(Page.TopMargin)),
                        QPoint(m_output->XPos(Page.Width - Page.RightMargin) - 1,
                               m_output->YPos(Page.Length - Page.BottomMargin) - 1));
        Frame.Paint(*canvas, box, m_output->ScaleX, m_output->ScaleY);
    }
    if (OnEndPage)
        OnEndPage(this);
}

// E5: the first band after the title or column header stays on its page.
void TReport::ForcedNewPage()
{
    if (m_runIdle)
        return;
    if (m_skipForcedPage) {
        m_skipForcedPage = false;
        return;
    }
    do
        NewColumn();
    while (m_columnNo != 1);
}

// E6.
void TReport::ForcedNewColumn()
{
    if (m_runIdle)
        return;
    if (m_forcedColumn || m_columnNo > 1)
        NewColumn();
    else
        m_forcedColumn = true;
}

void TReport::CancelReport()
{
    if (m_runIdle)
        return;
    m_cancelRequested = true;
    if (m_output)
        m_output->Cancel();
}

std::unique_ptr<TRepPrinter> TReport::CreateOutput()
{
    auto output = std::make_unique<TRepPrinter>();
    output->setMaster(this);
    // Also where a preview prints the stored pages of a loaded file.
    if (!PrintFileName.isEmpty())
        output->setPrintToFile(PrintFileName);
    output->AfterPreview = [this] {
        if (AfterPreview)
            AfterPreview(this);
    };
    output->AfterPrint = [this] {
        if (AfterPrint)
            AfterPrint(this);
    };
    return output;
}

// F.
void TReport::PreviewReport()
{
    QCoreApplication::processEvents();
    if (!m_runIdle || (m_output && m_output->showingPreview()))
        return;
    m_output = CreateOutput();
    m_output->setDestination(TRepDestination::PageStore);
    m_output->OnPrinterSetup = [this] { RunPrinterSetup(); };
    m_output->setTitle(ReportTitle);
    if (OnPreview)
        OnPreview(this);
    else
        m_output->Preview();
    GenerateReport();
    if (!m_cancelRequested)
        WaitForPreview();
    if (m_cancelRequested || std::exchange(m_previewClosedWhilePrinting, false))
        ReleaseOutput();
}

// Returns when the preview closes, or at once when the program is ending.
void TReport::WaitForPreview()
{
    while (m_output && m_output->showingPreview() && !programTerminating())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// The output object may be in the middle of a call that sent the message:
// it is deleted later, out of that call.
void TReport::ReleaseOutput()
{
    if (TRepPrinter* output = m_output.release()) {
        output->setMaster(nullptr);
        output->deleteLater();
    }
}

// G.
void TReport::PrintReport()
{
    if (!m_runIdle)
        return;
    std::unique_ptr<TRepPrinter> previous = std::move(m_output);
    m_output = CreateOutput();
    std::unique_ptr<QObject> progress;
    try {
        if (m_output->printerAvailable()) {
            m_output->setDestination(TRepDestination::Printer);
            progress = createProgressWindow(*m_output, ShowProgress);
            GenerateReport();
        }
    } catch (...) {
        m_output = std::move(previous);
        throw;
    }
    m_output = std::move(previous);
}

// H.
void TReport::RunPrinterSetup()
{
    PrinterSetupRequest request;
    request.PrinterIndex = PrinterSettings.PrinterIndex;
    request.OutputFileName = PrintFileName;
    request.Landscape = Page.Orientation == TRepOrientation::poLandscape;
    request.Copies = PrinterSettings.Copies;
    if (m_output && m_output->status() == TRepStatus::Finished) {
        request.MinPage = request.FromPage = 1;
        request.MaxPage = request.ToPage = m_output->pageCount();
    }
    if (!runPrinterSetupDialog(request)) {
        Tag = 1;
        return;
    }
    PrinterSettings.Copies = request.Copies;
    PrinterSettings.PrinterIndex = request.PrinterIndex;
    PrintFileName = request.OutputFileName;
    Page.Orientation = request.Landscape ? TRepOrientation::poLandscape : TRepOrientation::poPortrait;
    PrinterSettings.FirstPage = request.PageRange ? request.FromPage : 0;
    PrinterSettings.LastPage = request.PageRange ? request.ToPage : 0;
    Tag = 0;
    // The preview's own output prints a file loaded into it later.
    if (m_output && !PrintFileName.isEmpty())
        m_output->setPrintToFile(PrintFileName);
    else if (m_output)
        m_output->setPrinterIndex(PrinterSettings.PrinterIndex);
}

bool TReport::event(QEvent* event)
{
    const int type = event->type();
    if (type == PrintRequestMessage) {
        guarded([this] { PrintReport(); });
        return true;
    }
    if (type == PreviewClosedMessage) {
        auto* closed = reinterpret_cast<TRepPrinter*>(static_cast<TRepMessage*>(event)->param());
        guarded([this, closed] { PreviewClosed(closed); });
        return true;
    }
    return QObject::event(event);
}

// A preview closed while its report prints again from it: the print goes
// on; the preview's output is released when PreviewReport stops waiting.
void TReport::PreviewClosed(TRepPrinter* closed)
{
    if (!m_runIdle && closed && closed != m_output.get()) {
        closed->setShowingPreview(false);
        m_previewClosedWhilePrinting = true;
        return;
    }
    if (!m_runIdle) {
        CancelReport();
        return;
    }
    if (!m_output)
        return;
    m_output->setShowingPreview(false);
    ReleaseOutput();
}
