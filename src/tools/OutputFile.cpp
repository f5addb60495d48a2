#include "OutputFile.h"

#include "FileChecks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace {

[[noreturn]] void failWith(const QString& text)
{
    throw std::runtime_error(text.toStdString());
}

QString systemError(int error = errno)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// An existing target that is a symbolic link is replaced where the link
// points, so the link stays.
QString resolvedTarget(const QString& target)
{
    const QFileInfo info(target);
    FileChecks::requireRegularOrMissing(info.absoluteFilePath(), QStringLiteral("The output"));
    return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

QString makeTemporary(const QString& pattern)
{
    QByteArray name = QFile::encodeName(pattern);
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        failWith(QStringLiteral("Cannot create a file beside %1: %2").arg(pattern.chopped(7), systemError()));
    ::close(fd);
    return QFile::decodeName(name);
}

// Forces the file's contents to the disk; a write that the disk refused
// late (a full disk) shows here.
void syncFile(const QString& path, const QString& target)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        failWith(QStringLiteral("Cannot write %1: %2").arg(target, systemError(error)));
    }
    ::close(fd);
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void copyToStandardOutput(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        failWith(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    std::fflush(stdout);
    while (!file.atEnd()) {
        const QByteArray block = file.read(1 << 16);
        if (block.isEmpty() && file.error() != QFile::NoError)
            failWith(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
        if (std::fwrite(block.constData(), 1, size_t(block.size()), stdout) != size_t(block.size()))
            failWith(QStringLiteral("Cannot write to standard output: %1").arg(systemError()));
    }
    if (std::fflush(stdout) != 0)
        failWith(QStringLiteral("Cannot write to standard output: %1").arg(systemError()));
}

} // namespace

OutputFile::OutputFile(const QString& target)
{
    if (isStandardOutput(target)) {
        m_temporary = makeTemporary(QDir::temp().filePath(QStringLiteral("pwangsa-admin-XXXXXX")));
        return;
    }
    m_target = resolvedTarget(target);
    FileChecks::makeParentFolder(m_target);
    const QFileInfo info(m_target);
    m_temporary = makeTemporary(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
}

OutputFile::~OutputFile()
{
    if (!m_committed || m_target.isEmpty())
        QFile::remove(m_temporary);
}

QString OutputFile::describe() const
{
    return m_target.isEmpty() ? QStringLiteral("standard output") : m_target;
}

void OutputFile::commit(const Check& complete)
{
    if (complete) {
        const QString problem = complete(m_temporary);
        if (!problem.isEmpty())
            failWith(QStringLiteral("Cannot write %1: %2").arg(describe(), problem));
    }
    if (m_target.isEmpty()) {
        copyToStandardOutput(m_temporary);
        m_committed = true;
        return;
    }
    syncFile(m_temporary, m_target);
    if (::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_target).constData()) != 0)
        failWith(QStringLiteral("Cannot write %1: %2").arg(m_target, systemError()));
    m_committed = true;
    syncFolder(QFileInfo(m_target).absolutePath());
}
