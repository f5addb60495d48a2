#include "PdfCheck.h"

#include <QFile>

namespace PdfCheck {

QString problem(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    constexpr qint64 kTail = 1024;
    const qint64 size = file.size();
    file.seek(qMax<qint64>(0, size - kTail));
    const QByteArray tail = file.readAll().trimmed();
    const qsizetype at = tail.lastIndexOf("startxref");
    if (!tail.endsWith("%%EOF") || at < 0)
        return QStringLiteral("the PDF is incomplete (the disk may be full)");
    bool numeric = false;
    const qint64 xref = tail.mid(at + 9, tail.size() - at - 9 - 5).trimmed().toLongLong(&numeric);
    if (!numeric || xref <= 0 || xref >= size || !file.seek(xref) || !file.read(4).startsWith("xref"))
        return QStringLiteral("the PDF is incomplete (the disk may be full)");
    return QString();
}

} // namespace PdfCheck
