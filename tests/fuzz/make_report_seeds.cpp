// Writes the seeds that need the program's own writers: small prepared-report
// files (one page, three pages, three compressed pages) into the folder given
// first, coded pages for fuzz_decompress into the folder given second.

#include "reports/TRepCompression.h"
#include "reports/TRepPrinter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

namespace {

void writeReport(const QString& fileName, int pages, bool compressed)
{
    TRepPrinter output;
    output.setCompression(compressed);
    output.setPaperSize(TRepPaperSize::A5);
    output.BeginDoc();
    for (int page = 1; page <= pages; ++page) {
        output.NewPage();
        output.Canvas()->drawText(output.XPos(100), output.YPos(100), QStringLiteral("Halaman %1").arg(page));
        output.Canvas()->drawRect(output.XPos(50), output.YPos(50), output.XSize(300), output.YSize(80));
    }
    output.EndDoc();
    output.SaveToFile(fileName);
}

void writeFile(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir dir(app.arguments().value(1, QStringLiteral(".")));
    writeReport(dir.filePath(QStringLiteral("one-page.rpf")), 1, false);
    writeReport(dir.filePath(QStringLiteral("three-pages.rpf")), 3, false);
    writeReport(dir.filePath(QStringLiteral("three-pages-compressed.rpf")), 3, true);
    const QDir coded(app.arguments().value(2, QStringLiteral(".")));
    writeFile(coded.filePath(QStringLiteral("text")), TRepCompression::compress("PT. TIRTA WANGSA"));
    QFile page(dir.filePath(QStringLiteral("one-page.rpf")));
    if (page.open(QIODevice::ReadOnly))
        writeFile(coded.filePath(QStringLiteral("page")), TRepCompression::compress(page.readAll()));
    writeFile(coded.filePath(QStringLiteral("empty")), TRepCompression::compress(QByteArray()));
    return 0;
}
