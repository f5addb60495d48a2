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

// The port of a server alias: a number from 1 to 65535, 5432 when not given.
int portOf(const QSettings& settings, const QString& name)
{
    const QString text = settings.value(QStringLiteral("port"), QStringLiteral("5432")).toString();
    bool numeric = false;
    const int port = text.trimmed().toInt(&numeric);
    if (!numeric || port <= 0 || port > 65535)
        throw EDatabaseError(QStringLiteral("Alias %1 in %2: port=%3 is not a port number")
                                 .arg(name, configFile(), text));
    return port;
}

// Makes the file readable and writable by its owner only, creating it empty
// when missing; the settings then write into it and keep its mode.
void createPrivately(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        throw EDatabaseError(QStringLiteral("Cannot write the alias file: %1").arg(path));
}

Alias load(const QSettings& settings, const QString& name)
{
    const auto text = [&](const char* key) { return settings.value(QLatin1String(key)).toString(); };
    Alias alias;
    alias.driver = settings.value(QStringLiteral("driver"), kSqlite).toString();
    alias.path = text("path");
    alias.host = text("host");
    alias.port = alias.isPostgres() ? portOf(settings, name) : 5432;
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
    return load(settings, name);
}

QString exposedPasswordWarning()
{
    const QFileInfo file(configFile());
    constexpr auto others = QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (!file.isFile() || !(file.permissions() & others))
        return QString();
    QSettings settings(configFile(), QSettings::IniFormat);
    for (const QString& group : settings.childGroups()) {
        if (!settings.value(group + QStringLiteral("/password")).toString().isEmpty())
            return QStringLiteral("The alias file %1 holds a server password and can be read by other users of this "
                                  "computer. Make it readable by you only (chmod 600 %1).")
                .arg(configFile());
    }
    return QString();
}

void write(const QString& name, const Alias& alias)
{
    QDir().mkpath(QFileInfo(configFile()).absolutePath());
    // A password kept in the file is for this user's eyes only, from the
    // moment the file exists.
    if (!alias.password.isEmpty())
        createPrivately(configFile());
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
}

}
