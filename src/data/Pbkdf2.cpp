#include "Pbkdf2.h"

#include <QMessageAuthenticationCode>
#include <QtEndian>

QByteArray pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations, int length)
{
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    QByteArray derived;
    for (quint32 block = 1; derived.size() < length; ++block) {
        QByteArray counter(4, Qt::Uninitialized);
        qToBigEndian(block, counter.data());
        mac.reset();
        mac.addData(salt);
        mac.addData(counter);
        QByteArray u = mac.result();
        QByteArray t = u;
        for (int i = 1; i < iterations; ++i) {
            mac.reset();
            mac.addData(u);
            u = mac.result();
            for (int j = 0; j < t.size(); ++j)
                t[j] = char(t[j] ^ u[j]);
        }
        derived += t;
    }
    return derived.left(length);
}
