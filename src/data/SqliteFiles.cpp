#include "SqliteFiles.h"

#include "StorageEngine.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <unistd.h>

namespace SqliteFiles {

bool onReadOnlyMedium(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    return ::access(QFile::encodeName(folder).constData(), W_OK) != 0;
}

QString immutableUri(const QString& path)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
        + QStringLiteral("?immutable=1");
}

void requireNoPendingLog(const QString& path)
{
    if (QFileInfo(path + QStringLiteral("-wal")).size() > 0)
        raiseEngineError(EngineCode::General,
                         QStringLiteral("Cannot read %1 on a read-only medium: its log file %1-wal still holds changes. "
                                        "Copy the database together with that file to a folder you can write, and "
                                        "open it there.")
                             .arg(path));
}

}
