#pragma once

#include <QString>

#include <functional>

class TComponent;

// Components reached across windows by window name and component name (the
// goods view's master source is the customer window's dsPelanggan). A
// reference is resolved as soon as both sides exist, whichever comes first.
namespace ComponentRegistry {

// Makes a component reachable; it is forgotten when it is destroyed.
void add(const QString& window, TComponent* component);
TComponent* find(const QString& window, const QString& name);
// Calls assign with the component now if it is registered, else when it is.
void resolve(const QString& window, const QString& name, std::function<void(TComponent*)> assign);

}
