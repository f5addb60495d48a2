// The page reader and the player with one recorded page whose length and
// checksum are made right first, as in a crafted file: a page is refused
// with ERepError and nothing else, or it draws onto an image, shrunk as in
// the preview at a small zoom and at its own size.

#include "FuzzDrawing.h"
#include "reports/ERepError.h"
#include "reports/PageBytes.h"
#include "reports/PageImageCache.h"

#include <QGuiApplication>
#include <QtEndian>

namespace {

PageImageCache* images = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    images = new PageImageCache;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (bytes.size() >= PageFormat::HeaderSize) {
        qToLittleEndian<quint32>(quint32(bytes.size()), bytes.data() + PageFormat::At::Length);
        qToLittleEndian<quint32>(pageChecksum(QByteArrayView(bytes).sliced(PageFormat::At::ChecksummedFrom)),
                                 bytes.data() + PageFormat::At::Checksum);
    }
    std::unique_ptr<RecordedPage> page;
    try {
        page = RecordedPage::Read(bytes, *images);
    } catch (const ERepError&) {
        return 0;
    }
    drawOnSmallImage(*page);
    return 0;
}
