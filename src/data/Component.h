#pragma once

#include <QObject>
#include <QString>

// Base of the named parts of a window (views, fields, data sources): a name
// and an owner that destroys it.
class TComponent : public QObject {
public:
    explicit TComponent(QObject* owner = nullptr) : QObject(owner) {}

    QString Name() const { return objectName(); }
    void SetName(const QString& name) { setObjectName(name); }
};

// Raises EDatabaseError with the component's name as prefix ("Barang: text").
[[noreturn]] void DatabaseError(const QString& text, const TComponent* component = nullptr);
