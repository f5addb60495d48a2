#include "ComponentRegistry.h"

#include <QHash>
#include <QMultiHash>
#include <QObject>
#include <QPointer>

namespace ComponentRegistry {

namespace {

using Key = QString;

Key keyOf(const QString& window, const QString& name)
{
    return window + QLatin1Char('.') + name;
}

QHash<Key, QPointer<QObject>>& components()
{
    static QHash<Key, QPointer<QObject>> table;
    return table;
}

struct Request {
    QPointer<QObject> requester;
    std::function<void(QObject*)> assign;
};

QMultiHash<Key, Request>& pending()
{
    static QMultiHash<Key, Request> table;
    return table;
}

}

void add(const QString& window, QObject* component)
{
    const Key key = keyOf(window, component->objectName());
    components().insert(key, component);
    const auto waiting = pending().values(key);
    pending().remove(key);
    for (const Request& request : waiting) {
        if (request.requester)
            request.assign(component);
    }
}

QObject* find(const QString& window, const QString& name)
{
    return components().value(keyOf(window, name)).data();
}

void resolve(const QString& window, const QString& name, QObject* requester,
             std::function<void(QObject*)> assign)
{
    if (QObject* component = find(window, name))
        assign(component);
    else
        pending().insert(keyOf(window, name), Request{requester, std::move(assign)});
}

}
