#pragma once

#include "TRepBand.h"
#include "TRepFrame.h"
#include "TRepPaperSize.h"

#include <QFont>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class TDataSet;
class TRepPrintable;
class TRepPrinter;
class TReport;

// Page setup. The seven lengths are in 0.1 mm.
struct TRepPage {
    double BottomMargin = 127;
    double Length = 2970;
    double TopMargin = 127;
    double Width = 2100;
    double LeftMargin = 127;
    double RightMargin = 127;
    double ColumnSpace = 0;
    int Columns = 1;
    TRepOrientation Orientation = TRepOrientation::poPortrait;
    TRepPaperSize PaperSize = TRepPaperSize::A4;
    bool Ruler = false;

    // The stored "Values" list: BottomMargin, Length, TopMargin, Width,
    // LeftMargin, RightMargin, ColumnSpace.
    QList<double> Values() const;
    void SetValues(const QList<double>& values);
    // Reads "(127.0 2970.0 127.0 2100.0 254.0 254.0 0.0)"; false (and no
    // change) for anything but seven numbers.
    bool SetValuesText(const QString& text);
    void SetColumns(int columns) { Columns = std::max(1, columns); }
};

enum TRepOption { FirstPageHeader = 1, LastPageFooter = 2, Compression = 4 };
using TRepOptions = int;

enum class TRepUnit { MM, Inches, Pixels, Characters, Native };
enum class TRepAxis { Horizontal, Vertical };

struct TReportPrinterSettings {
    int Copies = 1;
    bool Duplex = false;
    int FirstPage = 0; // 0: no limit
    int LastPage = 0;
    TRepBin OutputBin = TRepBin::Auto;
    int PrinterIndex = -1; // the system's default printer
};

struct TReportBands {
    bool HasTitle = false;
    bool HasPageHeader = false;
    bool HasColumnHeader = false;
    bool HasDetail = false;
    bool HasPageFooter = false;
    bool HasSummary = false;
};

// The detail loop: walks the driving dataset (or asks OnNeedData) and prints
// the title, one detail band per record and the summary.
class TRepController {
public:
    using TNeedDataEvent = std::function<void(TRepController*, bool& moreData)>;

    explicit TRepController(TReport& report) : m_report(report) {}

    TDataSet* DataSet = nullptr;
    TRepBand* Header = nullptr;
    TRepBand* Detail = nullptr;
    TRepBand* Footer = nullptr;
    bool PrintIfEmpty = false;
    TNeedDataEvent OnNeedData;
    int DetailCounter = 0;
    qint64 RecordCount = 1;

    void Execute();

private:
    bool Start(bool& moreData);
    void PrintDetails(bool& moreData);
    void Advance(bool& moreData);
    void PrintEmptyReport();
    void ReportProgress();

    TReport& m_report;
};

// A banded report: page setup, driving dataset, bands (its children) and the
// operations that generate it into a preview or onto a printer.
class TReport : public QObject {
    Q_OBJECT

public:
    using TReportEvent = std::function<void(TReport*)>;
    using TBeforePrintEvent = std::function<void(TReport*, bool& printReport)>;

    explicit TReport(QObject* parent = nullptr);
    ~TReport() override;

    TDataSet* DataSet = nullptr;
    TRepPage Page;
    TRepOptions Options = FirstPageHeader | LastPageFooter;
    bool PrintIfEmpty = false;
    TReportPrinterSettings PrinterSettings;
    QString ReportTitle;
    bool ShowProgress = true;
    TRepUnit Units = TRepUnit::MM;
    QFont Font;
    TRepFrame Frame;
    QMap<QString, QString> Functions;
    QStringList Description;
    bool SnapToGrid = true;
    int Tag = 0;
    // Prints into this PDF file instead of a system printer, when set.
    QString PrintFileName;

    TBeforePrintEvent BeforePrint;
    TReportEvent AfterPrint;
    TReportEvent AfterPreview;
    TReportEvent OnStartPage;
    TReportEvent OnEndPage;
    TReportEvent OnPreview;

    int Zoom() const { return m_zoom; }
    void SetZoom(int zoom);

    // Bands, in print-list order.
    TRepBand* CreateBand(TRepBandType type);
    const QList<TRepBand*>& BandList() const { return m_bands; }
    void DestroyBand(TRepBand* band);
    // The first band of a type.
    TRepBand* FindBand(TRepBandType type) const;
    TReportBands Bands() const;
    void SetBands(const TReportBands& bands);
    // Elements placed on the report itself, printed on every page.
    QList<TRepPrintable*> Elements() const;

    TRepController& Controller() { return m_controller; }
    const TRepController& Controller() const { return m_controller; }

    // A stored length (0.1 mm) in the presentation unit, and back.
    double Present(double tenths, TRepAxis axis) const;
    double Store(double value, TRepAxis axis) const;

    // Operations.
    void PreviewReport();
    void PrintReport();
    void CancelReport();
    void RunPrinterSetup();
    void GenerateReport();

    // Run state.
    bool RunIdle() const { return m_runIdle; }
    bool CancelRequested() const { return m_cancelRequested; }
    bool DrawingPass() const { return m_drawingPass; }
    int PagesStarted() const { return m_pagesStarted; }
    int ColumnNo() const { return m_columnNo; }
    double PrintPosX() const { return m_printPosX; }
    double PrintPosY() const { return m_printPosY; }
    TRepPrinter* Output() const { return m_output.get(); }
    // Room left above the page footers on the current page, 0.1 mm.
    int SpaceLeft() const;
    // Screen pixels per inch taken when the report was created.
    double ScreenPixelsPerInch() const { return m_screenPpi; }

    // Used by the controller and the bands.
    void PrintBand(TRepBand* band);
    void NewPage();
    // The next forced new page is skipped (the first detail after the title).
    void SetSkipForcedPage() { m_skipForcedPage = true; }

protected:
    bool event(QEvent* event) override;

private:
    bool StartRun();
    void HandOverSettings();
    void PrepareRun();
    void FinishRun();
    void EndDocument();
    void PrepareElements(bool prepare);
    void SetBandWidths();
    double PageFooterSpaceOf() const;
    double PaperLength() const;
    double ColumnWidth() const;
    void AlignBandToBottom(TRepBand& band);
    void PrintBandBody(TRepBand& band);
    void PrintElements(TRepBand& band, bool unfinishedOnly);
    bool ElementsFinished(const TRepBand& band) const;
    void MakeRoom(TRepBand& band);
    void NewColumn();
    void FinishPage();
    void ForcedNewPage();
    void ForcedNewColumn();
    void PrintChild(TRepBand& band);
    void ReleaseOutput();
    void WaitForPreview();
    void PreviewClosed(TRepPrinter* closed);
    std::unique_ptr<TRepPrinter> CreateOutput();

    QList<TRepBand*> m_bands;
    TRepController m_controller;
    std::unique_ptr<TRepPrinter> m_output;
    int m_zoom = 100;
    double m_screenPpi = 96;

    TRepUnit m_savedUnits = TRepUnit::MM;
    bool m_runIdle = true;
    bool m_cancelRequested = false;
    bool m_drawingPass = true;
    bool m_onLastPage = false;
    bool m_skipForcedPage = false;
    bool m_forcedColumn = false;
    int m_pagesStarted = 0;
    int m_columnNo = 1;
    double m_printPosX = 0;
    double m_printPosY = -1;
    double m_columnTopY = 0;
    double m_pageFooterSpace = 0;
    bool m_previewClosedWhilePrinting = false;
};
