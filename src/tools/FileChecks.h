#pragma once

#include <QString>

// What pwangsa-admin looks at before it touches a path the user named.
namespace FileChecks {

// True when both paths name the same file (device and inode), whatever the
// spelling, symbolic links or hard links; false when either is missing.
bool sameFile(const QString& first, const QString& second);
// Raises CommandLine::UsageError when the path exists and is not a regular
// file (a device, a FIFO, a folder): `role` says what it was given as.
void requireRegularOrMissing(const QString& path, const QString& role);
// Makes the parent folder of a file when it is missing, readable by its owner
// only; raises std::runtime_error when that is not possible.
void makeParentFolder(const QString& file);

}
