#pragma once

#include <QPainter>
#include <QString>
#include <memory>

class QPdfWriter;
class QPrinter;
class QTemporaryFile;

// One print job whose pages reach their destination only when the job ends
// complete. The pages are drawn into a PDF document of the job's own: for a
// system printer a temporary file that finish() hands to the spooler, for a
// PDF file a temporary file beside it that finish() renames over it. A job
// that is aborted, fails or is destroyed unfinished leaves nothing: no job in
// the spooler, no file. (Qt's own printer sends whatever was drawn when its
// painter ends, even after abort(), and CUPS then prints it.)
class PrintJob {
public:
    // Starts the job on the printer `printer` is set up for, with its page
    // layout and resolution; `fullPage` puts the painter's origin on the
    // paper's corner instead of the printable area's. Throws ERepError when
    // the job's file cannot be made.
    PrintJob(const QPrinter& printer, const QString& title, bool fullPage);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    QPainter& painter() { return m_painter; }
    // Moves to a new sheet.
    void newPage();
    // Ends the document and hands it over; throws ERepError naming the cause
    // when it cannot, and leaves nothing behind then.
    void finish();
    // Drops the job; nothing reaches the printer or the file.
    void abort();

private:
    void submit();

    QString m_title;
    QString m_printerName; // empty when printing into a file
    QString m_target;      // the PDF file when printing into one
    int m_copies = 1;
    int m_duplex = 0;
    bool m_landscape = false;
    QString m_media;
    std::unique_ptr<QTemporaryFile> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
};
