#include "Csv.h"

#include <algorithm>
#include <stdexcept>

namespace Csv {

namespace {

QString quoted(const QString& field)
{
    static const QString special = QStringLiteral(",\"\r\n");
    if (std::none_of(field.begin(), field.end(), [](QChar c) { return special.contains(c); }))
        return field;
    return QLatin1Char('"') + QString(field).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// The character after position i, or a null character at the end.
QChar following(const QString& text, qsizetype i)
{
    return i + 1 < text.size() ? text.at(i + 1) : QChar();
}

// The state of the parse between characters.
class Parser {
public:
    explicit Parser(const QString& file) : file(file) {}

    const QString& file;
    QList<Record> records;
    Record current{1, {}};
    QString field;
    int line = 1;
    bool inQuotes = false;
    bool wasQuoted = false;

    int column() const { return int(current.fields.size()) + 1; }
    void endField()
    {
        current.fields.append(field);
        field.clear();
        wasQuoted = false;
    }
    void endRecord()
    {
        endField();
        records.append(current);
        current = Record{line, {}};
    }
    void take(const QString& text, qsizetype& i)
    {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('"') && following(text, i) == QLatin1Char('"'))
                field += text.at(++i);
            else if (c == QLatin1Char('"'))
                inQuotes = false;
            else
                field += c;
            line += c == QLatin1Char('\n') ? 1 : 0;
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && following(text, i) == QLatin1Char('\n'))) {
            i += c == QLatin1Char('\r') ? 1 : 0;
            ++line;
            endRecord();
        } else if (c == QLatin1Char('"')) {
            if (wasQuoted || !field.isEmpty())
                failAt(file, line, column(), QStringLiteral("a quote inside a field that does not start with one"));
            inQuotes = wasQuoted = true;
        } else {
            if (wasQuoted)
                failAt(file, line, column(), QStringLiteral("text after the closing quote of a field"));
            field += c;
        }
    }
};

}

QString formatRecord(const QStringList& fields)
{
    QStringList quotedFields;
    for (const QString& field : fields)
        quotedFields.append(quoted(field));
    return quotedFields.join(QLatin1Char(',')) + QLatin1String("\r\n");
}

QList<Record> parse(const QString& text, const QString& file)
{
    Parser parser(file);
    for (qsizetype i = 0; i < text.size(); ++i)
        parser.take(text, i);
    if (parser.inQuotes)
        failAt(file, parser.current.line, parser.column(), QStringLiteral("a quoted field is not closed"));
    if (!parser.field.isEmpty() || parser.wasQuoted || !parser.current.fields.isEmpty())
        parser.endRecord();
    return parser.records;
}

void failAt(const QString& file, int line, int column, const QString& what)
{
    throw std::runtime_error(QStringLiteral("%1 line %2, column %3: %4").arg(file).arg(line).arg(column).arg(what).toStdString());
}

}
