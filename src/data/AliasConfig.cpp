#include "AliasConfig.h"

#include "Exceptions.h"

#include <QDir>
#include <QFile>
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

// The settings of each driver, as INI keys.
void store(QSettings& settings, const Alias& alias)
{
    settings.setValue(QStringLiteral("driver"), alias.driver);
    if (!alias.isPostgres()) {
        settings.setValue(QStringLiteral("path"), alias.path);
        return;
    }
    settings.setValue(QStringLiteral("host"), alias.host);
    settings.setValue(QStringLiteral("port"), alias.port);
    settings.setValue(QStringLiteral("dbname"), alias.dbname);
    settings.setValue(QStringLiteral("user"), alias.user);
    if (!alias.passfile.isEmpty())
        settings.setValue(QStringLiteral("passfile"), alias.passfile);
    if (!alias.password.isEmpty())
        settings.setValue(QStringLiteral("password"), alias.password);
}

Alias load(const QSettings& settings)
{
    const auto text = [&](const char* key) { return settings.value(QLatin1String(key)).toString(); };
    Alias alias;
    alias.driver = settings.value(QStringLiteral("driver"), kSqlite).toString();
    alias.path = text("path");
    alias.host = text("host");
    alias.port = settings.value(QStringLiteral("port"), 5432).toInt();
    alias.dbname = text("dbname");
    alias.user = text("user");
    alias.passfile = text("passfile");
    alias.password = text("password");
    return alias;
}

}

QString Alias::describe() const
{
    if (!isPostgres())
        return path;
    return QStringLiteral("%1@%2:%3/%4").arg(user, host).arg(port).arg(dbname);
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
    return load(settings);
}

void write(const QString& name, const Alias& alias)
{
    QDir().mkpath(QFileInfo(configFile()).absolutePath());
    {
        QSettings settings(configFile(), QSettings::IniFormat);
        settings.remove(name);
        settings.beginGroup(name);
        store(settings, alias);
        settings.endGroup();
        settings.sync();
        if (settings.status() != QSettings::NoError)
            throw EDatabaseError(QStringLiteral("Cannot write the alias file: %1").arg(configFile()));
    }
    // A password kept in the file is for this user's eyes only.
    if (!alias.password.isEmpty())
        QFile::setPermissions(configFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

}
