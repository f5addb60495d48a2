#pragma once

#include "TRepPaperSize.h"

#include <QList>
#include <QString>
#include <memory>

class QPrinter;
class QPrinterInfo;

// The settings of the system printer an output object prints on, read from
// and applied to the platform's printer (CUPS through QPrinter). Lengths are
// in 0.1 mm.
class TPrinterSettings {
public:
    TPrinterSettings();
    ~TPrinterSettings();
    TPrinterSettings(const TPrinterSettings&) = delete;
    TPrinterSettings& operator=(const TPrinterSettings&) = delete;

    // Whether the system has at least one printer.
    static bool systemHasPrinter();

    // Selects printer `index` of the system's list (-1: the default printer),
    // forgetting any driver state, and reads its settings.
    void selectPrinter(int index);
    // Selects the default printer when the system has any printer; false
    // when it has none (and nothing is selected).
    bool selectDefaultPrinter();
    // Whether printer `index` is selected and its driver state untouched
    // since, so that selecting it again would change nothing. Asking the
    // spooler costs several milliseconds, at the start of every report run.
    bool holdsUntouched(int index) const { return m_printer && m_untouched && m_index == index; }
    // Prints into a PDF file instead of a system printer (print to file).
    void selectPdfFile(const QString& fileName);
    // Rereads the settings from the selected printer.
    void read();
    // Hands the settings to the printer, before a job starts.
    void apply();

    QPrinter& printer() { return *m_printer; }

    QString DeviceName;
    QString DriverName;
    QString Port;
    int Copies = 1;
    bool Duplex = false;
    TRepBin OutputBin = TRepBin::First;
    TRepPaperSize PaperSize = TRepPaperSize::A4;
    TRepOrientation Orientation = TRepOrientation::poPortrait;
    int PaperWidth = 2100;  // portrait sense; Custom and Default take it from here
    int PaperLength = 2970;
    int XDpi = 0;
    int YDpi = 0;
    int LeftOffset = 0; // unprintable margins
    int TopOffset = 0;
    QList<TRepPaperSize> SupportedSizes;

private:
    void select(const QPrinterInfo& info, int index);
    void readPaper();
    void readResolution();
    void applyPaper();

    std::unique_ptr<QPrinter> m_printer;
    int m_index = -1;
    bool m_untouched = false;
};
