#include "ComponentRegistry.h"

#include "Component.h"

#include <QHash>
#include <QMultiHash>
#include <QPointer>

namespace ComponentRegistry {

namespace {

using Key = QString;

Key keyOf(const QString& window, const QString& name)
{
    return window + QLatin1Char('.') + name;
}

QHash<Key, QPointer<TComponent>>& components()
{
    static QHash<Key, QPointer<TComponent>> table;
    return table;
}

QMultiHash<Key, std::function<void(TComponent*)>>& pending()
{
    static QMultiHash<Key, std::function<void(TComponent*)>> table;
    return table;
}

}

void add(const QString& window, TComponent* component)
{
    const Key key = keyOf(window, component->Name());
    components().insert(key, component);
    const auto waiting = pending().values(key);
    pending().remove(key);
    for (const auto& assign : waiting)
        assign(component);
}

TComponent* find(const QString& window, const QString& name)
{
    return components().value(keyOf(window, name)).data();
}

void resolve(const QString& window, const QString& name, std::function<void(TComponent*)> assign)
{
    if (TComponent* component = find(window, name))
        assign(component);
    else
        pending().insert(keyOf(window, name), std::move(assign));
}

}
