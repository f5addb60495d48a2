#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Comma-separated text as RFC 4180 has it: fields that hold a comma, a quote
// or a line break are quoted, quotes inside doubled, records end with CRLF.
namespace Csv {

QString formatRecord(const QStringList& fields);

struct Record {
    int line;  // the file line on which the record starts, from 1
    QStringList fields;
};

// Splits text into records (LF or CRLF line ends). A quote in the middle of
// an unquoted field, text after a closing quote or an unclosed quote raise
// std::runtime_error naming `file`, the line and the column.
QList<Record> parse(const QString& text, const QString& file);

// "FILE line L, column C: what" as a raised std::runtime_error.
[[noreturn]] void failAt(const QString& file, int line, int column, const QString& what);

}
