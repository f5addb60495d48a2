#pragma once

#include <QString>

#include <functional>

class QObject;
class TComponent;

// Components reached across windows by window name and component name (the
// goods view's master source is the customer window's dsPelanggan). A
// reference is resolved as soon as both sides exist, whichever comes first.
namespace ComponentRegistry {

// Makes a component reachable; it is forgotten when it is destroyed.
void add(const QString& window, TComponent* component);
TComponent* find(const QString& window, const QString& name);
// Calls assign with the component now if it is registered, else when it is
// (unless the requester has been destroyed by then).
void resolve(const QString& window, const QString& name, QObject* requester,
             std::function<void(TComponent*)> assign);

}
