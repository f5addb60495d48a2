#pragma once

#include <QString>

#include <optional>

// Database aliases, kept by the engine in $XDG_CONFIG_HOME/pwangsa/aliases.ini
// (default ~/.config/pwangsa/aliases.ini), one INI group per alias:
//   [Dor]
//   driver=sqlite
//   path=/home/me/.local/share/pwangsa/dor.sqlite
namespace AliasConfig {

struct Alias {
    QString driver;
    QString path;
};

QString configFile();
// $XDG_DATA_HOME/pwangsa/dor.sqlite (default ~/.local/share/pwangsa/dor.sqlite).
QString defaultDatabasePath();
std::optional<Alias> find(const QString& name);
// Writes (or replaces) the alias; raises EDatabaseError when the file can't be written.
void write(const QString& name, const Alias& alias);

}
