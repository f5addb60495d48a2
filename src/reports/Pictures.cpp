#include "reports/Pictures.h"

#include <array>

namespace Pictures {

namespace {

QImage load(const QString& name)
{
    return QImage(QStringLiteral(":/pictures/") + name + QStringLiteral(".png"));
}

} // namespace

QImage logo() { return load(QStringLiteral("logo")); }
QImage background() { return load(QStringLiteral("background")); }
QImage arrowLeft() { return load(QStringLiteral("arrow-left")); }
QImage arrowRight() { return load(QStringLiteral("arrow-right")); }
QImage stone() { return load(QStringLiteral("stone")); }
QImage windowIcon() { return load(QStringLiteral("icon")); }
QImage desktopIcon() { return load(QStringLiteral("icon-256")); }
QImage closeIcon() { return load(QStringLiteral("tool-close")); }

QImage buttonFace(const QString& word)
{
    const QString name = QString(word).remove(QLatin1Char('&')).trimmed().toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
    if (name.isEmpty())
        return {};
    return load(QStringLiteral("face-") + name);
}

QImage toolbarIcon(int index)
{
    static const std::array<const char*, 11> names = {
        "zoom-fit", "zoom-100", "zoom-width", "first", "previous", "next",
        "last", "printer-setup", "print", "open", "save",
    };
    if (index < 0 || index >= int(names.size()))
        return {};
    return load(QStringLiteral("tool-") + QLatin1String(names[index]));
}

} // namespace Pictures
