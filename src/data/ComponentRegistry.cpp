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

struct Request {
    QPointer<QObject> requester;
    std::function<void(TComponent*)> assign;
};

QMultiHash<Key, Request>& pending()
{
    static QMultiHash<Key, Request> table;
    return table;
}

}

void add(const QString& window, TComponent* component)
{
    const Key key = keyOf(window, component->Name());
    components().insert(key, component);
    const auto waiting = pending().values(key);
    pending().remove(key);
    for (const Request& request : waiting) {
        if (request.requester)
            request.assign(component);
    }
}

TComponent* find(const QString& window, const QString& name)
{
    return components().value(keyOf(window, name)).data();
}

void resolve(const QString& window, const QString& name, QObject* requester,
             std::function<void(TComponent*)> assign)
{
    if (TComponent* component = find(window, name))
        assign(component);
    else
        pending().insert(keyOf(window, name), Request{requester, std::move(assign)});
}

}
