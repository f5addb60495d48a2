// The prepared-report loader with whole files: a damaged file raises ERepError
// and leaves the output object as it was; a file that loads gives every page.

#include "FuzzSupport.h"
#include "reports/ERepError.h"
#include "reports/TRepPrinter.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

QString* fileName = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    static QTemporaryDir dir;
    fileName = new QString(dir.filePath(QStringLiteral("input.rpf")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QFile file(*fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(fuzzBytes(data, size));
    file.close();
    TRepPrinter output;
    try {
        output.LoadFromFile(*fileName);
    } catch (const ERepError&) {
        if (output.status() != TRepStatus::Ready || output.pageCount() != 0)
            std::abort();
        return 0;
    }
    // Walking backward from the last page reaches every page again.
    for (int n = output.pageCount(); n >= 1; --n) {
        if (!output.GetPage(n))
            std::abort();
    }
    return 0;
}
