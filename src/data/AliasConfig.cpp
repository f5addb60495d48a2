#include "AliasConfig.h"

#include "Exceptions.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace AliasConfig {

namespace {

QString xdgDir(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    // Relative values are invalid for XDG variables and are ignored.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return QDir::homePath() + QLatin1Char('/') + fallback;
}

}

QString configFile()
{
    return xdgDir("XDG_CONFIG_HOME", QStringLiteral(".config")) + QStringLiteral("/pwangsa/aliases.ini");
}

QString defaultDatabasePath()
{
    return xdgDir("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/pwangsa/dor.sqlite");
}

std::optional<Alias> find(const QString& name)
{
    if (name.isEmpty() || !QFileInfo::exists(configFile()))
        return std::nullopt;
    QSettings settings(configFile(), QSettings::IniFormat);
    if (!settings.childGroups().contains(name))
        return std::nullopt;
    settings.beginGroup(name);
    return Alias{settings.value(QStringLiteral("driver"), QStringLiteral("sqlite")).toString(),
                 settings.value(QStringLiteral("path")).toString()};
}

void write(const QString& name, const Alias& alias)
{
    QDir().mkpath(QFileInfo(configFile()).absolutePath());
    QSettings settings(configFile(), QSettings::IniFormat);
    settings.beginGroup(name);
    settings.setValue(QStringLiteral("driver"), alias.driver);
    settings.setValue(QStringLiteral("path"), alias.path);
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw EDatabaseError(QStringLiteral("Cannot write the alias file: %1").arg(configFile()));
}

}
