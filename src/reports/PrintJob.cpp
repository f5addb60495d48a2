#include "PrintJob.h"

#include "ERepError.h"
#include "PdfCheck.h"
#include "errors/WriteFailure.h"

#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryFile>

#include <QPrinterInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>
#include <cups/cups.h>

namespace {

// The spooler's name for the duplex mode, as CUPS options spell it.
const char* sidesOption(int duplex, bool landscape)
{
    switch (QPrinter::DuplexMode(duplex)) {
    case QPrinter::DuplexNone: return "one-sided";
    case QPrinter::DuplexLongSide: return "two-sided-long-edge";
    case QPrinter::DuplexShortSide: return "two-sided-short-edge";
    case QPrinter::DuplexAuto: return landscape ? "two-sided-short-edge" : "two-sided-long-edge";
    }
    return "one-sided";
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

PrintJob::PrintJob(const QPrinter& printer, const QString& title, bool fullPage) : m_title(title)
{
    const bool intoFile = printer.outputFormat() == QPrinter::PdfFormat;
    if (intoFile) {
        m_target = QFileInfo(printer.outputFileName()).absoluteFilePath();
    } else {
        // A printer's instance ("PDF/draft") is only a set of options here.
        m_printerName = printer.printerName().section(QLatin1Char('/'), 0, 0);
        m_copies = printer.copyCount();
        m_duplex = printer.duplex();
    }
    QPageLayout layout = printer.pageLayout();
    m_landscape = layout.orientation() == QPageLayout::Landscape;
    m_media = layout.pageSize().key();
    if (fullPage)
        layout.setMode(QPageLayout::FullPageMode);

    // Beside the target, so that the final rename stays on its file system.
    const QString folder = intoFile ? QFileInfo(m_target).absolutePath() : QDir::tempPath();
    auto file = std::make_unique<QTemporaryFile>(folder + QStringLiteral("/.pwangsa-print-XXXXXX.pdf"));
    if (!file->open()) {
        throw ERepError(QStringLiteral("Cannot start the print job on %1: %2")
                            .arg(intoFile ? m_target : m_printerName, file->errorString()));
    }
    m_file = std::move(file);
    m_writer = std::make_unique<QPdfWriter>(m_file.get());
    m_writer->setTitle(title);
    m_writer->setCreator(QStringLiteral("PWANGSA"));
    m_writer->setResolution(printer.resolution());
    m_writer->setPageLayout(layout);
    if (!m_painter.begin(m_writer.get()))
        throw ERepError(QStringLiteral("Cannot start the print job on %1").arg(intoFile ? m_target : m_printerName));
}

PrintJob::~PrintJob()
{
    abort();
}

void PrintJob::newPage()
{
    m_writer->newPage();
}

void PrintJob::abort()
{
    if (m_painter.isActive())
        m_painter.end();
    m_writer.reset();
    m_file.reset(); // the temporary file goes with it
}

void PrintJob::finish()
{
    if (!m_file)
        return;
    m_painter.end();
    QTemporaryFile* file = m_file.get();
    const QString where = m_target.isEmpty() ? m_printerName : m_target;
    if (!file->flush() || file->error() != QFileDevice::NoError) {
        const QString error = writeFailure(*file);
        abort();
        throw ERepError(QStringLiteral("Cannot print on %1: %2").arg(where, error));
    }
    const QString problem = PdfCheck::problem(file->fileName());
    if (!problem.isEmpty()) {
        abort();
        throw ERepError(QStringLiteral("Cannot print on %1: %2").arg(where, problem));
    }
    try {
        submit();
    } catch (...) {
        abort();
        throw;
    }
    abort(); // the job is out: what is left is only the temporary file
}

void PrintJob::submit()
{
    QTemporaryFile* file = m_file.get();
    if (!m_target.isEmpty()) {
        file->close();
        if (std::rename(QFile::encodeName(file->fileName()).constData(), QFile::encodeName(m_target).constData()) != 0)
            throw ERepError(QStringLiteral("Cannot write %1: %2").arg(m_target, systemError()));
        file->setAutoRemove(false);
        return;
    }
    const QByteArray copies = QByteArray::number(m_copies);
    const QByteArray media = m_media.toUtf8();
    std::vector<cups_option_t> options;
    const auto add = [&options](const char* name, const char* value) {
        options.push_back(cups_option_t{const_cast<char*>(name), const_cast<char*>(value)});
    };
    add("media", media.constData());
    add("copies", copies.constData());
    add("sides", sidesOption(m_duplex, m_landscape));
    if (m_landscape)
        add("landscape", "");
    const int job = cupsPrintFile(m_printerName.toLocal8Bit().constData(), QFile::encodeName(file->fileName()).constData(),
                                  m_title.toUtf8().constData(), int(options.size()), options.data());
    if (job != 0)
        return;
    if (!QPrinterInfo::availablePrinterNames().contains(m_printerName)) {
        throw ERepError(QStringLiteral("The printer %1 is no longer available; the report was not printed")
                            .arg(m_printerName));
    }
    throw ERepError(QStringLiteral("The printer %1 did not take the job: %2")
                        .arg(m_printerName, QString::fromUtf8(cupsLastErrorString())));
}
