#include "TRepPrinter.h"

#include "ERepError.h"
#include "PagePlayer.h"
#include "RepRound.h"
#include "ReportWindows.h"
#include "TRepMessage.h"
#include "TRepPageList.h"
#include "TRepStream.h"
#include "errors/WriteFailure.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPrinter>
#include <QSaveFile>
#include <QScreen>

namespace {

constexpr double TenthsPerInch = 254.0;

double screenPixelsPerInch()
{
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
        ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

int tableTenths(double mm)
{
    return nearest(mm * 10);
}

} // namespace

TRepPrinter::TRepPrinter(QObject* parent) : QObject(parent)
{
    m_printerAvailable = m_settings.selectDefaultPrinter();
}

// Releasing while a document is open drops it; an open print job goes with
// it, so nothing half-made reaches the printer.
TRepPrinter::~TRepPrinter()
{
    if (m_recorder.isActive())
        m_recorder.end();
}

// A run hands over the printer its output object chose when it was made, as
// a rule the default one: it is not asked for again.
void TRepPrinter::setPrinterIndex(int index)
{
    if (m_printerAvailable && !m_settings.holdsUntouched(index))
        m_settings.selectPrinter(index);
}

void TRepPrinter::setPrintToFile(const QString& pdfFileName)
{
    m_settings.selectPdfFile(pdfFileName);
    m_printerAvailable = true;
}

bool TRepPrinter::inPrintRange(int page) const
{
    return (m_firstPage <= 0 || page >= m_firstPage) && (m_lastPage <= 0 || page <= m_lastPage);
}

void TRepPrinter::BeginDoc()
{
    if (m_status != TRepStatus::Ready)
        throw ERepError(QStringLiteral("RepPrinter not ready"));
    m_cancelled = false;
    m_pagesAvailable = 0;
    if (m_destination == TRepDestination::Printer) {
        if (!m_printerAvailable)
            throw ERepError(QStringLiteral("No printer is installed"));
        m_settings.apply();
        m_settings.printer().setFullPage(false);
        ScaleX = m_settings.XDpi / TenthsPerInch;
        ScaleY = m_settings.YDpi / TenthsPerInch;
        DeviceOffsetX = m_settings.LeftOffset;
        DeviceOffsetY = m_settings.TopOffset;
        m_sheetUsed = false;
    } else {
        m_stream = std::make_unique<TRepStream>(TRepStream::DefaultMemoryLimit);
        m_pages = std::make_unique<TRepPageList>(*m_stream, m_compression);
        m_images = std::make_unique<PageImageCache>();
        takeScreenScales();
    }
    m_pageCount = 0;
    m_pageNumber = 0;
    m_status = TRepStatus::Busy;
}

void TRepPrinter::takeScreenScales()
{
    ScaleX = ScaleY = screenPixelsPerInch() / TenthsPerInch;
    DeviceOffsetX = DeviceOffsetY = 0;
}

void TRepPrinter::NewPage()
{
    if (m_status != TRepStatus::Busy)
        throw ERepError(QStringLiteral("Illegal call to NewPage"));
    closePage();
    ++m_pageCount;
    ++m_pageNumber;
    openPage();
}

void TRepPrinter::openPage()
{
    if (m_destination == TRepDestination::Printer && inPrintRange(m_pageNumber)) {
        openPrinterPage();
    } else {
        startRecording();
        m_canvas = &m_recorder;
    }
    m_pageOpen = true;
}

// A recorded page of the whole sheet at the scales' resolution.
void TRepPrinter::startRecording()
{
    m_recording.StartPage(QSize(nearest(PaperWidthValue() * ScaleX), nearest(PaperLengthValue() * ScaleY)),
                          nearest(ScaleY * TenthsPerInch));
    m_recorder.begin(&m_recording);
}

QByteArray TRepPrinter::finishRecording()
{
    m_recorder.end();
    return m_recording.TakePage();
}

// Sheets are changed lazily, when the next page in range starts, so a job
// never ends with an empty sheet whatever the range.
void TRepPrinter::openPrinterPage()
{
    if (!m_job) {
        m_job = std::make_unique<PrintJob>(m_settings.printer(), m_title, false);
        m_sheetUsed = false;
    }
    if (m_sheetUsed)
        m_job->newPage();
    m_sheetUsed = true;
    m_job->painter().save();
    m_canvas = &m_job->painter();
}

void TRepPrinter::DrawText(const QPointF& baseline, const QString& text)
{
    if (!m_canvas)
        return;
    if (m_canvas == &m_recorder && m_recording.RecordText(m_recorder, baseline, text))
        return;
    m_canvas->drawText(baseline, text);
}

void TRepPrinter::closePage()
{
    if (!m_pageOpen)
        return;
    m_pageOpen = false;
    m_canvas = nullptr;
    if (m_destination == TRepDestination::PageStore) {
        m_pages->addPage(finishRecording());
    } else if (m_recorder.isActive()) {
        finishRecording(); // a page outside the print range
    } else {
        m_job->painter().restore();
    }
    ++m_pagesAvailable;
    announcePages();
}

void TRepPrinter::announcePages()
{
    post(m_client, PageAvailableMessage, m_pagesAvailable);
}

void TRepPrinter::post(QObject* receiver, int type, qintptr param)
{
    if (receiver)
        QCoreApplication::postEvent(receiver, new TRepMessage(TRepMessageType(type), param));
}

// A print cancelled from its progress window ends like an aborted one: the
// operator asked for no paper, so the pages made so far are not printed.
void TRepPrinter::EndDoc()
{
    if (m_status != TRepStatus::Busy)
        return;
    if (m_destination == TRepDestination::Printer && m_cancelled) {
        AbortDoc();
        return;
    }
    closePage();
    try {
        finishPrintJob();
    } catch (const ERepError&) {
        m_status = TRepStatus::Finished;
        throw;
    }
    m_status = TRepStatus::Finished;
    QCoreApplication::processEvents();
    announcePages();
    if (m_destination == TRepDestination::PageStore)
        m_pages->writeHeader();
    else if (AfterPrint)
        AfterPrint();
}

// The store keeps the pages made so far, with a header that counts them, so
// an aborted preview can still be saved and loaded again.
void TRepPrinter::AbortDoc()
{
    if (m_status != TRepStatus::Busy)
        return;
    if (m_destination == TRepDestination::PageStore) {
        closePage();
        m_pages->writeHeader();
    } else {
        if (m_recorder.isActive())
            m_recorder.end();
        else if (m_pageOpen && m_job)
            m_job->painter().restore();
        m_pageOpen = false;
        m_canvas = nullptr;
        m_job.reset();
    }
    m_status = TRepStatus::Finished;
}

// The spooler gets the job only now, whole; a job it refuses is reported.
void TRepPrinter::finishPrintJob()
{
    if (const std::unique_ptr<PrintJob> job = std::move(m_job))
        job->finish();
}

void TRepPrinter::SetProgress(int percent)
{
    m_progress = percent;
    post(m_client, ProgressMessage, percent);
}

int TRepPrinter::XPos(double x) const
{
    return nearest((x - DeviceOffsetX) * ScaleX);
}

int TRepPrinter::YPos(double y) const
{
    return nearest((y - DeviceOffsetY) * ScaleY);
}

int TRepPrinter::XSize(double w) const
{
    return nearest(w * ScaleX);
}

int TRepPrinter::YSize(double h) const
{
    return nearest(h * ScaleY);
}

int TRepPrinter::PaperWidth() const
{
    if (isFixedPaperSize(m_settings.PaperSize))
        return tableTenths(paperSizeMm(m_settings.PaperSize).width());
    return m_settings.PaperWidth;
}

int TRepPrinter::PaperLength() const
{
    if (isFixedPaperSize(m_settings.PaperSize))
        return tableTenths(paperSizeMm(m_settings.PaperSize).height());
    return m_settings.PaperLength;
}

int TRepPrinter::PaperWidthValue() const
{
    return m_settings.Orientation == TRepOrientation::poLandscape ? PaperLength() : PaperWidth();
}

int TRepPrinter::PaperLengthValue() const
{
    return m_settings.Orientation == TRepOrientation::poLandscape ? PaperWidth() : PaperLength();
}

std::unique_ptr<RecordedPage> TRepPrinter::GetPage(int n) const
{
    if (m_status == TRepStatus::Ready || !m_pages || n < 1 || n > m_pages->count())
        return nullptr;
    try {
        return RecordedPage::Read(m_pages->page(n), *m_images);
    } catch (const ERepError&) {
        return nullptr; // nothing is drawn from a damaged page
    }
}

void TRepPrinter::SetPageNumber(int n)
{
    if (n < 1 || n > m_pageCount)
        return;
    m_pageNumber = n;
    m_shownPage = GetPage(n);
}

void TRepPrinter::Preview()
{
    if (OnPreview)
        OnPreview(*this);
    else
        showPreviewWindow(*this);
}

void TRepPrinter::setShowingPreview(bool on)
{
    m_showingPreview = on;
    if (on)
        return;
    if (m_status == TRepStatus::Busy)
        Cancel();
    if (AfterPreview)
        AfterPreview();
}

// Sent, not posted: the master may release this object while handling it.
void TRepPrinter::ClosePreview()
{
    if (!m_master)
        return;
    TRepMessage message(PreviewClosedMessage, qintptr(this));
    QCoreApplication::sendEvent(m_master, &message);
}

void TRepPrinter::PrinterSetup()
{
    if (OnPrinterSetup)
        OnPrinterSetup();
}

void TRepPrinter::Print()
{
    if (m_master && !m_loadedFromFile) {
        post(m_master, PrintRequestMessage, qintptr(this));
        return;
    }
    if (m_status != TRepStatus::Finished || !m_printerAvailable || m_pageCount == 0 || m_printing)
        return;
    m_settings.apply();
    m_printing = true;
    m_cancelled = false;
    try {
        // Stored pages are whole sheets: they are placed on the paper's corner.
        PrintJob job(m_settings.printer(), m_title, true);
        printStoredPages(job);
        if (!m_cancelled)
            job.finish();
    } catch (...) {
        m_printing = false;
        throw;
    }
    m_printing = false;
}

// Pending input is handled before every page, so Cancel (or closing the
// preview) is seen between pages; the job is then dropped whole.
void TRepPrinter::printStoredPages(PrintJob& job)
{
    const int first = m_firstPage > 0 ? m_firstPage : 1;
    const int last = m_lastPage > 0 ? std::min(m_lastPage, m_pageCount) : m_pageCount;
    for (int i = first; i <= last; ++i) {
        QCoreApplication::processEvents();
        if (programTerminating())
            Cancel();
        if (m_cancelled)
            return;
        SetPageNumber(i);
        if (m_shownPage)
            PagePlayer::PlayAtTrueSize(*m_shownPage, job.painter());
        if (i < last)
            job.newPage();
    }
}

void TRepPrinter::SaveToFile(const QString& fileName)
{
    if (m_status != TRepStatus::Finished || !m_stream)
        return;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw ERepError(QStringLiteral("Cannot write file %1: %2").arg(fileName, file.errorString()));
    m_stream->copyTo(file);
    if (!file.commit())
        throw ERepError(QStringLiteral("Cannot write file %1: %2").arg(fileName, writeFailure(file)));
}

// Every page is checked completely before the file replaces the document, so
// a page that fails is never shown, in part or at all.
void TRepPrinter::LoadFromFile(const QString& fileName)
{
    auto stream = std::make_unique<TRepStream>(fileName);
    auto pages = std::make_unique<TRepPageList>(*stream, fileName);
    auto images = std::make_unique<PageImageCache>();
    std::unique_ptr<RecordedPage> first;
    for (int i = 1; i <= pages->count(); ++i) {
        try {
            if (i == 1)
                first = RecordedPage::Read(pages->page(i), *images);
            else
                RecordedPage::Check(pages->page(i), *images);
        } catch (const ERepError& error) {
            throw ERepError(QStringLiteral("Not a valid prepared report file: %1 (page %2: %3)")
                                .arg(fileName).arg(i).arg(error.message()));
        }
    }
    releaseDocument();
    m_stream = std::move(stream);
    m_pages = std::move(pages);
    m_images = std::move(images);
    m_destination = TRepDestination::PageStore;
    m_pageCount = m_pagesAvailable = m_pages->count();
    takeScreenScales();
    if (first)
        detectPaper(*first);
    m_status = TRepStatus::Finished;
    OnPrinterSetup = nullptr;
    OnExport = nullptr;
    m_loadedFromFile = true;
    SetPageNumber(1);
}

void TRepPrinter::releaseDocument()
{
    if (m_status == TRepStatus::Busy) {
        Cancel();
        AbortDoc();
    }
    m_shownPage.reset();
    m_pages.reset();
    m_stream.reset();
    m_pageCount = m_pageNumber = m_pagesAvailable = 0;
}

// The paper is recognised in steps of 4 mm; of several sizes that match,
// the last in the table wins (an A4 sheet thus reads as A4Small). A sheet of
// no listed size is taken as a custom size. The sheet's pixels are measured at
// the resolution the page was recorded at.
void TRepPrinter::detectPaper(const RecordedPage& firstPage)
{
    const int width = int(firstPage.SheetSize().width() / (firstPage.Resolution().width() / TenthsPerInch));
    const int length = int(firstPage.SheetSize().height() / (firstPage.Resolution().height() / TenthsPerInch));
    const int w = width / 40;
    const int l = length / 40;
    TRepPaperSize found = TRepPaperSize::Custom;
    TRepOrientation orientation = TRepOrientation::poPortrait;
    for (int s = int(TRepPaperSize::Letter); s <= int(TRepPaperSize::ESheet); ++s) {
        const QSizeF mm = paperSizeMm(TRepPaperSize(s));
        const int tw = int(mm.width() / 4);
        const int tl = int(mm.height() / 4);
        if (w == tw && l == tl) {
            found = TRepPaperSize(s);
            orientation = TRepOrientation::poPortrait;
        } else if (w == tl && l == tw) {
            found = TRepPaperSize(s);
            orientation = TRepOrientation::poLandscape;
        }
    }
    m_settings.PaperSize = found;
    m_settings.Orientation = orientation;
    if (found == TRepPaperSize::Custom) {
        m_settings.PaperWidth = width;
        m_settings.PaperLength = length;
    }
}
