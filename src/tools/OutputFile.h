#pragma once

#include <QString>

#include <functional>

// A file that appears whole or not at all. The work writes into a temporary
// file beside the target (so the final rename never crosses file systems);
// commit() checks what was written, forces it to the disk and renames it over
// the target. Until then an earlier file of that name stays as it was, and a
// temporary file that is not committed is removed.
//
// The target "-" is standard output: the work writes into a temporary file
// in the temporary folder, which commit() copies to standard output.
class OutputFile {
public:
    // Looks at the target first: one that exists and is not a regular file
    // (a device, a FIFO, a folder) is refused as a usage error.
    explicit OutputFile(const QString& target);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    static bool isStandardOutput(const QString& target) { return target == QLatin1String("-"); }

    // Where the work writes.
    const QString& path() const { return m_temporary; }
    // What the messages call the output: the target's path or "standard output".
    QString describe() const;

    // `complete` looks at the written file and says what is wrong with it, or
    // returns an empty text; a failed check, write or rename raises
    // std::runtime_error naming the target and the cause.
    using Check = std::function<QString(const QString& path)>;
    void commit(const Check& complete = {});

private:
    QString m_target;
    QString m_temporary;
    bool m_committed = false;
};
