#include "Csv.h"

#include <QIODevice>
#include <QList>

#include <algorithm>
#include <stdexcept>

namespace Csv {

namespace {

// No record of the two tables comes near these; more is a wrong file.
constexpr qint64 kMaxLineBytes = 1 << 20;
constexpr qsizetype kMaxFieldCharacters = 1 << 16;

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

}

// The state of the parse between characters; it is fed whole lines, so a
// doubled quote or a CRLF never falls between two pieces.
class Reader::Parser {
public:
    explicit Parser(const QString& file) : file(file) {}

    const QString& file;
    QList<Record> finished;
    Record current{1, {}, false};
    QString field;
    int line = 1;
    bool inQuotes = false;
    bool wasQuoted = false;
    bool anyText = false;  // the current record holds a character or a quote

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
        current.blank = !anyText && current.fields.size() == 1;
        finished.append(current);
        current = Record{line, {}, false};
        anyText = false;
    }
    void add(QChar c)
    {
        if (field.size() >= kMaxFieldCharacters)
            failAt(file, line, column(), QStringLiteral("a field longer than %1 characters").arg(kMaxFieldCharacters));
        field += c;
    }
    void take(const QString& text, qsizetype& i)
    {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            anyText = true;
        if (inQuotes) {
            if (c == QLatin1Char('"') && following(text, i) == QLatin1Char('"'))
                add(text.at(++i));
            else if (c == QLatin1Char('"'))
                inQuotes = false;
            else
                add(c);
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
            add(c);
        }
    }
    void finish()
    {
        if (inQuotes)
            failAt(file, current.line, column(), QStringLiteral("a quoted field is not closed"));
        if (anyText || !current.fields.isEmpty())
            endRecord();
    }
};

QString formatRecord(const QStringList& fields)
{
    QStringList quotedFields;
    for (const QString& field : fields)
        quotedFields.append(quoted(field));
    return quotedFields.join(QLatin1Char(',')) + QLatin1String("\r\n");
}

Reader::Reader(QIODevice& device, const QString& file)
    : m_device(device), m_file(file), m_parser(std::make_unique<Parser>(m_file))
{
}

Reader::~Reader() = default;

bool Reader::next(Record* record)
{
    while (m_parser->finished.isEmpty() && !m_ended) {
        if (m_device.atEnd()) {
            m_parser->finish();
            m_ended = true;
            break;
        }
        const QByteArray bytes = m_device.readLine(kMaxLineBytes);
        if (bytes.isEmpty())
            failAt(m_file, m_parser->line, 1, QStringLiteral("cannot be read: %1").arg(m_device.errorString()));
        if (bytes.size() >= kMaxLineBytes - 1 && !bytes.endsWith('\n'))
            failAt(m_file, m_parser->line, 1, QStringLiteral("a line longer than %1 bytes").arg(kMaxLineBytes));
        const QString text = m_utf8(bytes);
        if (m_utf8.hasError())
            failAt(m_file, m_parser->line, 1, QStringLiteral("the text is not UTF-8"));
        for (qsizetype i = 0; i < text.size(); ++i)
            m_parser->take(text, i);
    }
    if (m_parser->finished.isEmpty())
        return false;
    *record = m_parser->finished.takeFirst();
    return true;
}

void failAt(const QString& file, int line, int column, const QString& what)
{
    throw std::runtime_error(QStringLiteral("%1 line %2, column %3: %4").arg(file).arg(line).arg(column).arg(what).toStdString());
}

}
