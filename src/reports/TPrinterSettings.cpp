#include "TPrinterSettings.h"

#include "RepRound.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

// The system bin codes count from 1 in the order of Qt's paper sources,
// except the cassette.
constexpr int CassetteBinCode = 14;

QPrinter::PaperSource paperSource(int code)
{
    if (code == CassetteBinCode)
        return QPrinter::Cassette;
    return QPrinter::PaperSource(code - 1);
}

int binCodeOf(QPrinter::PaperSource source)
{
    return source == QPrinter::Cassette ? CassetteBinCode : int(source) + 1;
}

TRepBin binOf(QPrinter::PaperSource source)
{
    const int code = binCodeOf(source);
    for (int bin = int(TRepBin::First); bin <= int(TRepBin::Last); ++bin) {
        if (binCode(TRepBin(bin)) == code)
            return TRepBin(bin);
    }
    return TRepBin::First;
}

// The paper size whose system code the page size carries, Default if none.
TRepPaperSize paperSizeOf(const QPageSize& size)
{
    const int code = size.windowsId();
    if (code >= paperCode(TRepPaperSize::Letter) && code <= paperCode(TRepPaperSize::ESheet))
        return TRepPaperSize(code);
    return TRepPaperSize::Default;
}

int tenthsOfMm(double pixels, int dpi)
{
    return nearest(pixels / dpi * 254);
}

} // namespace

TPrinterSettings::TPrinterSettings() = default;

TPrinterSettings::~TPrinterSettings() = default;

bool TPrinterSettings::systemHasPrinter()
{
    return !QPrinterInfo::availablePrinters().isEmpty();
}

// The default printer is asked for alone: the whole list costs a spooler
// request of its own, some milliseconds at the start of every report run.
void TPrinterSettings::selectPrinter(int index)
{
    QPrinterInfo info;
    if (index >= 0) {
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        if (index < printers.size())
            info = printers.at(index);
    }
    select(info.isNull() ? QPrinterInfo::defaultPrinter() : info, index);
}

bool TPrinterSettings::selectDefaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() && !systemHasPrinter())
        return false;
    select(info, -1);
    return true;
}

void TPrinterSettings::select(const QPrinterInfo& info, int index)
{
    m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    read();
    m_index = index;
    m_untouched = true;
}

void TPrinterSettings::selectPdfFile(const QString& fileName)
{
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setOutputFileName(fileName);
    read();
    m_untouched = false;
}

void TPrinterSettings::read()
{
    const QPrinterInfo info(*m_printer);
    DeviceName = m_printer->printerName();
    DriverName = info.makeAndModel();
    Port = info.location();
    Copies = m_printer->supportsMultipleCopies() ? m_printer->copyCount() : 1;
    OutputBin = binOf(m_printer->paperSource());
    Duplex = info.supportedDuplexModes().size() > 1 && m_printer->duplex() != QPrinter::DuplexNone;
    SupportedSizes.clear();
    for (const QPageSize& size : info.supportedPageSizes()) {
        const TRepPaperSize known = paperSizeOf(size);
        if (known != TRepPaperSize::Default && !SupportedSizes.contains(known))
            SupportedSizes.append(known);
    }
    readPaper();
}

void TPrinterSettings::readPaper()
{
    readResolution();
    const QPageLayout layout = m_printer->pageLayout();
    const QSize full = layout.pageSize().sizePixels(XDpi); // portrait sense
    PaperWidth = tenthsOfMm(full.width(), XDpi);
    PaperLength = tenthsOfMm(full.height(), YDpi);
    PaperSize = paperSizeOf(layout.pageSize());
    Orientation = layout.orientation() == QPageLayout::Landscape
        ? TRepOrientation::poLandscape : TRepOrientation::poPortrait;
}

void TPrinterSettings::readResolution()
{
    XDpi = YDpi = m_printer->resolution();
    const QRect paint = m_printer->pageLayout().paintRectPixels(XDpi);
    LeftOffset = tenthsOfMm(paint.left(), XDpi);
    TopOffset = tenthsOfMm(paint.top(), YDpi);
}

void TPrinterSettings::apply()
{
    m_untouched = false;
    applyPaper();
    m_printer->setDuplex(Duplex ? QPrinter::DuplexShortSide : QPrinter::DuplexNone);
    m_printer->setCopyCount(Copies);
    m_printer->setPaperSource(paperSource(binCode(OutputBin)));
    m_printer->setPageOrientation(Orientation == TRepOrientation::poLandscape
        ? QPageLayout::Landscape : QPageLayout::Portrait);
    readResolution();
}

// Fixed sizes go to the printer with the table's dimensions, which Qt matches
// to its own paper names; Default leaves the printer's paper alone.
void TPrinterSettings::applyPaper()
{
    if (PaperSize == TRepPaperSize::Custom) {
        const QPrinterInfo info(*m_printer);
        if (info.isNull() || info.supportsCustomPageSizes()) {
            m_printer->setPageSize(QPageSize(QSizeF(PaperWidth / 10.0, PaperLength / 10.0),
                QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
        }
    } else if (PaperSize != TRepPaperSize::Default) {
        m_printer->setPageSize(QPageSize(paperSizeMm(PaperSize), QPageSize::Millimeter,
            QString(), QPageSize::FuzzyMatch));
    }
}
