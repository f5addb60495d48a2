#pragma once

#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <memory>

class QIODevice;

// Comma-separated text as RFC 4180 has it: fields that hold a comma, a quote
// or a line break are quoted, quotes inside doubled, records end with CRLF.
namespace Csv {

QString formatRecord(const QStringList& fields);

struct Record {
    int line = 0;  // the file line on which the record starts, from 1
    QStringList fields;
    bool blank = false;  // an empty line: no text at all
};

// Reads records one by one from a device (LF or CRLF line ends, UTF-8), so a
// file of any size is read in little memory. A quote in the middle of an
// unquoted field, text after a closing quote, an unclosed quote, text that is
// not UTF-8, and a line or field too long for any table raise
// std::runtime_error naming `file`, the line and the column.
class Reader {
public:
    Reader(QIODevice& device, const QString& file);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // The next record; false at the end of the file.
    bool next(Record* record);

private:
    class Parser;

    QIODevice& m_device;
    QString m_file;
    QStringDecoder m_utf8{QStringDecoder::Utf8};
    std::unique_ptr<Parser> m_parser;
    bool m_ended = false;
};

// "FILE line L, column C: what" as a raised std::runtime_error.
[[noreturn]] void failAt(const QString& file, int line, int column, const QString& what);

}
