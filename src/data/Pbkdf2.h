#pragma once

#include <QByteArray>

// PBKDF2 with HMAC-SHA256 as the pseudo-random function.
QByteArray pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations, int length);
