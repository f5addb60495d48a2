#include "EditMask.h"

#include "Exceptions.h"
#include "LocaleSettings.h"

#include <QStringList>

#include <algorithm>

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The position a class character of the mask stands for, or none.
bool classOf(QChar c, EditMask::Position* p)
{
    using Kind = EditMask::Kind;
    static const struct { char c; Kind kind; bool required; } classes[] = {
        {'0', Kind::Digit, true},          {'9', Kind::Digit, false},
        {'#', Kind::DigitOrSign, false},   {'L', Kind::Letter, true},
        {'l', Kind::Letter, false},        {'A', Kind::LetterOrDigit, true},
        {'a', Kind::LetterOrDigit, false}, {'C', Kind::AnyChar, true},
        {'c', Kind::AnyChar, false},
    };
    for (const auto& entry : classes) {
        if (c == QLatin1Char(entry.c)) {
            p->kind = entry.kind;
            p->required = entry.required;
            return true;
        }
    }
    return false;
}

bool kindAccepts(EditMask::Kind kind, QChar c)
{
    using Kind = EditMask::Kind;
    switch (kind) {
    case Kind::Literal: return false;
    case Kind::Digit: return isDigit(c);
    case Kind::DigitOrSign: return isDigit(c) || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char(' ');
    case Kind::Letter: return c.isLetter();
    case Kind::LetterOrDigit: return c.isLetter() || isDigit(c);
    case Kind::AnyChar: return c.isPrint();
    }
    return false;
}

} // namespace

EditMask::EditMask(const QString& mask) : m_source(mask)
{
    QString proper = mask;
    const qsizetype split = mask.indexOf(QLatin1Char(';'), std::max<qsizetype>(0, mask.size() - 4));
    if (split >= 0) {
        proper = mask.left(split);
        const QStringList rest = mask.mid(split + 1).split(QLatin1Char(';'));
        m_saveLiterals = rest.at(0) != QLatin1String("0");
        if (rest.size() > 1 && !rest.at(1).isEmpty())
            m_blank = rest.at(1).front();
    }
    const LocaleSettings& locale = localeSettings();
    Case charCase = Case::Keep;
    for (qsizetype i = 0; i < proper.size(); ++i) {
        const QChar c = proper.at(i);
        const QChar next = i + 1 < proper.size() ? proper.at(i + 1) : QChar();
        Position p;
        p.charCase = charCase;
        if (c == QLatin1Char('!')) {
            m_alignRight = true;
            continue;
        }
        if (c == QLatin1Char('>')) {
            charCase = Case::Upper;
            continue;
        }
        if (c == QLatin1Char('<')) {
            charCase = next == QLatin1Char('>') ? Case::Keep : Case::Lower;
            i += next == QLatin1Char('>');
            continue;
        }
        if (c == QLatin1Char('\\')) {
            if (next.isNull())
                break;
            p.literal = next;
            ++i;
        } else if (!classOf(c, &p)) {
            p.literal = c == QLatin1Char('/') ? locale.DateSeparator : c == QLatin1Char(':') ? locale.TimeSeparator : c;
        }
        m_positions << p;
    }
}

QChar EditMask::accept(int index, QChar typed) const
{
    if (index < 0 || index >= length() || !kindAccepts(at(index).kind, typed))
        return QChar();
    switch (at(index).charCase) {
    case Case::Upper: return typed.toUpper();
    case Case::Lower: return typed.toLower();
    case Case::Keep: break;
    }
    return typed;
}

int EditMask::nextEditable(int index) const
{
    int i = std::max(index, 0);
    while (i < length() && isLiteral(i))
        ++i;
    return i;
}

int EditMask::previousEditable(int index) const
{
    int i = std::min(index, length()) - 1;
    while (i >= 0 && isLiteral(i))
        --i;
    return i;
}

int EditMask::nextLiteral(int index) const
{
    for (int i = std::max(index, 0); i < length(); ++i) {
        if (isLiteral(i))
            return i;
    }
    return -1;
}

QString EditMask::emptyText() const
{
    return align(QString());
}

QString EditMask::sectionAligned(const QString& section, int width, QChar blankChar) const
{
    if (section.size() > width)
        return m_alignRight ? section.right(width) : section.left(width);
    const QString padding(width - section.size(), blankChar);
    return m_alignRight ? padding + section : section + padding;
}

QString EditMask::align(const QString& text, QChar blankChar) const
{
    QString result;
    if (!m_saveLiterals) {
        // The text holds the non-literal characters only: one section.
        const QString chars = sectionAligned(text, int(std::count_if(m_positions.cbegin(), m_positions.cend(),
                                                        [](const Position& p) { return p.kind != Kind::Literal; })), blankChar);
        qsizetype next = 0;
        for (const Position& p : m_positions)
            result += p.kind == Kind::Literal ? p.literal : chars.at(next++);
    } else {
        qsizetype from = 0;
        int sectionStart = 0;
        for (int i = 0; i < length(); ++i) {
            if (!isLiteral(i))
                continue;
            const qsizetype found = text.indexOf(at(i).literal, from);
            const qsizetype end = found < 0 ? text.size() : found;
            result += sectionAligned(text.mid(from, end - from), i - sectionStart, blankChar) + at(i).literal;
            from = found < 0 ? text.size() : found + 1;
            sectionStart = i + 1;
        }
        result += sectionAligned(text.mid(from), length() - sectionStart, blankChar);
    }
    for (int i = 0; i < length(); ++i) {
        if (!isLiteral(i) && result.at(i) == QLatin1Char(' '))
            result[i] = blankChar;
    }
    return result;
}

QString EditMask::textOf(const QString& editText) const
{
    QList<int> places; // the non-literal positions
    QString chars;
    for (int i = 0; i < length(); ++i) {
        if (!isLiteral(i)) {
            places << i;
            chars += i < editText.size() ? editText.at(i) : m_blank;
        }
    }
    if (m_alignRight) {
        while (chars.startsWith(m_blank))
            chars.remove(0, 1);
    } else {
        while (chars.endsWith(m_blank))
            chars.chop(1);
    }
    chars.replace(m_blank, QLatin1Char(' '));
    const QString filled = sectionAligned(chars, int(places.size()), QLatin1Char(' '));
    if (!m_saveLiterals)
        return filled;
    QString text;
    qsizetype next = 0;
    for (int i = 0; i < length(); ++i)
        text += isLiteral(i) ? at(i).literal : filled.at(next++);
    return text;
}

QString EditMask::blanked(const QString& editText, int from, int to) const
{
    QString text = editText;
    for (int i = std::max(from, 0); i < std::min<int>(to, int(text.size())) && i < length(); ++i) {
        if (!isLiteral(i))
            text[i] = m_blank;
    }
    return text;
}

int EditMask::firstInvalidPosition(const QString& editText) const
{
    for (int i = 0; i < length(); ++i) {
        const Position& p = at(i);
        if (p.kind == Kind::Literal || !p.required)
            continue;
        const QChar c = i < editText.size() ? editText.at(i) : m_blank;
        if (c == m_blank || (c == QLatin1Char(' ') && p.kind != Kind::AnyChar))
            return i;
    }
    return -1;
}

void EditMask::validate(const QString& editText) const
{
    if (firstInvalidPosition(editText) >= 0)
        throw EDBEditError(QStringLiteral("Invalid input value.  Use escape key to abandon changes"));
}

QString MaskedDisplayText(const QString& mask, const QString& value)
{
    const EditMask m(mask);
    return m.isEmpty() ? value : m.align(value, QLatin1Char(' '));
}
