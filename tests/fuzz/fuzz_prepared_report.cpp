// The prepared-report loader and the player with whole files: a damaged file
// raises ERepError and leaves the document loaded before as it was; a file
// that loads gives every page, and every page draws onto an image, shrunk as
// in the preview at a small zoom and at its own size, so that playback is
// fuzzed too. One output object serves every input (making one asks the
// print spooler for its printers, which would dominate the run).

#include "FuzzDrawing.h"
#include "FuzzSupport.h"
#include "reports/ERepError.h"
#include "reports/TRepPrinter.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

QTemporaryDir* workDir = nullptr;
TRepPrinter* output = nullptr;
QString loadedFile; // the file of the document loaded last, read in place
int inputNumber = 0;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    workDir = new QTemporaryDir;
    output = new TRepPrinter;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Each input gets a file of its own: the loaded document reads its file.
    const QString fileName = workDir->filePath(QStringLiteral("input%1.rpf").arg(++inputNumber));
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(fuzzBytes(data, size));
    file.close();
    const int before = output->pageCount();
    try {
        output->LoadFromFile(fileName);
    } catch (const ERepError&) {
        if (output->pageCount() != before)
            std::abort();
        QFile::remove(fileName);
        return 0;
    }
    QFile::remove(loadedFile);
    loadedFile = fileName;
    // Walking backward from the last page reaches every page again.
    for (int n = output->pageCount(); n >= 1; --n) {
        const std::unique_ptr<RecordedPage> page = output->GetPage(n);
        if (!page)
            std::abort();
        drawOnSmallImage(*page);
    }
    return 0;
}
