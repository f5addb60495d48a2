#include "FileChecks.h"

#include "CommandLine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>
#include <sys/stat.h>

namespace FileChecks {

namespace {

bool statOf(const QString& path, struct stat* status)
{
    return ::stat(QFile::encodeName(path).constData(), status) == 0;
}

}

bool sameFile(const QString& first, const QString& second)
{
    struct stat a {}, b {};
    return statOf(first, &a) && statOf(second, &b) && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void requireRegularOrMissing(const QString& path, const QString& role)
{
    struct stat status {};
    if (statOf(path, &status) && !S_ISREG(status.st_mode))
        throw CommandLine::UsageError(
            QStringLiteral("%1 %2 exists and is not a regular file").arg(role, path).toStdString());
}

void makeParentFolder(const QString& file)
{
    const QString folder = QFileInfo(file).absolutePath();
    if (QFileInfo(folder).isDir())
        return;
    if (!QDir().mkpath(folder))
        throw std::runtime_error(QStringLiteral("Cannot create the folder %1").arg(folder).toStdString());
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

}
