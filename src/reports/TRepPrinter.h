#pragma once

#include "PageImageCache.h"
#include "PageRecorder.h"
#include "PrintJob.h"
#include "RecordedPage.h"
#include "TPrinterSettings.h"
#include "TRepPaperSize.h"

#include <QObject>
#include <QPainter>
#include <QPointer>
#include <functional>
#include <memory>

class TRepPageList;
class TRepStream;

enum class TRepDestination { PageStore, Printer };
enum class TRepStatus { Ready, Busy, Finished };

// The output object of one report run. The engine draws every page through
// it in 0.1 mm; it sends the pages either into a page store (recorded pages
// of the whole sheet at the screen's resolution, which the preview shows,
// saves and loads) or straight to a printer. It tells its client
// window about progress and finished pages, and its master report about
// print requests and the preview closing, by Qt events (TRepMessage.h).
class TRepPrinter : public QObject {
    Q_OBJECT

public:
    explicit TRepPrinter(QObject* parent = nullptr);
    ~TRepPrinter() override;

    // Settings, given before BeginDoc.
    void setDestination(TRepDestination destination) { m_destination = destination; }
    TRepDestination destination() const { return m_destination; }
    void setTitle(const QString& title) { m_title = title; }
    const QString& title() const { return m_title; }
    void setCompression(bool on) { m_compression = on; }
    void setPaperSize(TRepPaperSize size) { m_settings.PaperSize = size; }
    TRepPaperSize paperSize() const { return m_settings.PaperSize; }
    void setOrientation(TRepOrientation orientation) { m_settings.Orientation = orientation; }
    TRepOrientation orientation() const { return m_settings.Orientation; }
    void setCustomPaperWidth(int tenths) { m_settings.PaperWidth = tenths; }
    void setCustomPaperLength(int tenths) { m_settings.PaperLength = tenths; }
    void setCopies(int copies) { m_settings.Copies = copies; }
    void setOutputBin(TRepBin bin) { m_settings.OutputBin = bin; }
    void setDuplex(bool on) { m_settings.Duplex = on; }
    // Selects a system printer (-1: the default) when the system has one.
    void setPrinterIndex(int index);
    // Prints into a PDF file instead of a system printer.
    void setPrintToFile(const QString& pdfFileName);
    void setFirstPage(int page) { m_firstPage = page; }
    void setLastPage(int page) { m_lastPage = page; }
    int firstPage() const { return m_firstPage; }
    int lastPage() const { return m_lastPage; }
    bool inPrintRange(int page) const;

    void setClient(QObject* client) { m_client = client; }
    QObject* client() const { return m_client; }
    void setMaster(QObject* master) { m_master = master; }
    QObject* master() const { return m_master; }

    // The document.
    void BeginDoc();
    void NewPage();
    void EndDoc();
    void AbortDoc();
    void Cancel() { m_cancelled = true; }
    // The open page's canvas, none between pages.
    QPainter* Canvas() { return m_canvas; }
    // Draws `text` on the canvas as QPainter::drawText does; a recorded page
    // takes it without laying it out twice.
    void DrawText(const QPointF& baseline, const QString& text);
    void SetProgress(int percent);

    // Conversions from 0.1 mm to device pixels.
    int XPos(double x) const;
    int YPos(double y) const;
    int XSize(double w) const;
    int YSize(double h) const;
    double ScaleX = 0; // device pixels per 0.1 mm
    double ScaleY = 0;
    double DeviceOffsetX = 0; // unprintable margins, 0.1 mm
    double DeviceOffsetY = 0;

    // Paper width and length in the portrait sense, and as the sheet is
    // printed (swapped for landscape), in 0.1 mm.
    int PaperWidth() const;
    int PaperLength() const;
    int PaperWidthValue() const;
    int PaperLengthValue() const;

    TRepStatus status() const { return m_status; }
    int pageCount() const { return m_pageCount; }
    int pageNumber() const { return m_pageNumber; }
    int pagesAvailable() const { return m_pagesAvailable; }
    int progress() const { return m_progress; }
    bool cancelled() const { return m_cancelled; }
    bool printerAvailable() const { return m_printerAvailable; }
    bool loadedFromFile() const { return m_loadedFromFile; }
    TPrinterSettings& printerSettings() { return m_settings; }
    // The page store's stream, none for the printer or before BeginDoc.
    TRepStream* stream() const { return m_stream.get(); }

    // Page n read from the store and checked, none when there is no such
    // finished page or it fails a check.
    std::unique_ptr<RecordedPage> GetPage(int n) const;
    // Makes page n the current page, held in CurrentPage().
    void SetPageNumber(int n);
    const RecordedPage* CurrentPage() const { return m_shownPage.get(); }

    // The preview.
    void Preview();
    void setShowingPreview(bool on);
    bool showingPreview() const { return m_showingPreview; }
    void ClosePreview();
    void PrinterSetup();

    // Prints the stored pages in the print range, or asks the master report
    // to print itself again. A print of stored pages that is cancelled, or
    // meets the program's end, sends nothing to the printer.
    void Print();
    // Whether Print() is printing stored pages; the object must not be
    // released until it returns.
    bool printing() const { return m_printing; }
    void SaveToFile(const QString& fileName);
    // Replaces the document by a saved one; a file that cannot be read
    // leaves the current document untouched and throws ERepError.
    void LoadFromFile(const QString& fileName);

    // Callbacks to the master report.
    std::function<void()> AfterPreview;
    std::function<void()> AfterPrint;
    std::function<void()> OnPrinterSetup;
    std::function<void()> OnExport;
    // Replaces the standard preview window.
    std::function<void(TRepPrinter&)> OnPreview;

private:
    void takeScreenScales();
    void openPage();
    void closePage();
    void startRecording();
    QByteArray finishRecording();
    void openPrinterPage();
    void announcePages();
    void finishPrintJob();
    void printStoredPages(PrintJob& job);
    void releaseDocument();
    void detectPaper(const RecordedPage& firstPage);
    void post(QObject* receiver, int type, qintptr param);

    TRepDestination m_destination = TRepDestination::PageStore;
    TRepStatus m_status = TRepStatus::Ready;
    QString m_title;
    bool m_compression = false;
    int m_pageCount = 0;
    int m_pageNumber = 0;
    bool m_pageOpen = false;
    bool m_cancelled = false;
    int m_progress = 0;
    int m_pagesAvailable = 0;
    QPointer<QObject> m_client;
    QPointer<QObject> m_master;
    bool m_showingPreview = false;
    bool m_loadedFromFile = false;
    int m_firstPage = 0;
    int m_lastPage = 0;
    bool m_printerAvailable = false;
    bool m_sheetUsed = false; // the print job has drawn on its current sheet
    bool m_printing = false;  // Print() is printing stored pages

    TPrinterSettings m_settings;
    std::unique_ptr<TRepStream> m_stream;
    std::unique_ptr<TRepPageList> m_pages;
    PageRecorder m_recording;
    QPainter m_recorder;
    std::unique_ptr<PrintJob> m_job; // the open print job, none between jobs
    QPainter* m_canvas = nullptr;
    std::unique_ptr<PageImageCache> m_images; // the document's pictures, decoded
    std::unique_ptr<RecordedPage> m_shownPage;
};
