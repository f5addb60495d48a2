#pragma once

#include <QString>

#include <functional>

class QObject;

// Components reached across windows by window name and component name (the
// goods view's master source is the customer window's dsPelanggan, the
// invoice dialog prints the main window's repFakturPenjualan). A component is
// any named object: a view, a data source, a report, a report label. A
// reference is resolved as soon as both sides exist, whichever comes first.
namespace ComponentRegistry {

// Makes a component reachable under its object name; it is forgotten when it
// is destroyed.
void add(const QString& window, QObject* component);
QObject* find(const QString& window, const QString& name);
// The component as a T, or null when there is none of that kind.
template <class T>
T* findAs(const QString& window, const QString& name)
{
    return dynamic_cast<T*>(find(window, name));
}
// Calls assign with the component now if it is registered, else when it is
// (unless the requester has been destroyed by then).
void resolve(const QString& window, const QString& name, QObject* requester,
             std::function<void(QObject*)> assign);

}
