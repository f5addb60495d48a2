#pragma once

#include <QString>

class QIODevice;

// Why a write to `device` failed, in words an operator understands. A write
// that a full disk cuts short sets no error of its own and Qt then says
// "Unknown error"; when the device is a file on a full disk, the cause is
// named instead.
QString writeFailure(const QIODevice& device);
