// The aliases file reader with any file content: each input is written as the
// alias file of a fresh configuration folder and the aliases are looked up.

#include "FuzzSupport.h"
#include "data/AliasConfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

namespace {

QTemporaryDir* workDir = nullptr;
int inputNumber = 0;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    workDir = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A new folder each time: the settings layer caches files by name and age.
    const QString home = workDir->filePath(QString::number(++inputNumber));
    QDir().mkpath(home + QStringLiteral("/pwangsa"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home));
    QFile file(AliasConfig::configFile());
    if (file.open(QIODevice::WriteOnly))
        file.write(fuzzBytes(data, size));
    file.close();
    AliasConfig::find(QStringLiteral("Dor"));
    AliasConfig::find(QStringLiteral("dor"));
    AliasConfig::find(QStringLiteral("General"));
    AliasConfig::find(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(std::min<size_t>(size, 8))));
    QDir(home).removeRecursively();
    return 0;
}
