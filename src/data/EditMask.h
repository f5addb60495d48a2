#pragma once

#include <QChar>
#include <QList>
#include <QString>

// An edit mask: "mask;save-literals;blank". The mask proper is a row of
// positions. Classes of a position: "0" digit (required), "9" digit (optional),
// "#" digit, "+", "-" or space (optional), "L"/"l" letter, "A"/"a" letter or
// digit, "C"/"c" any character (upper case required, lower case optional).
// Directives take no position: "\" makes the next character a literal, "!"
// aligns text to the right of each section, ">" and "<" turn the following
// letters to upper or lower case ("<>" ends that). "/" and ":" are the locale's
// date and time separators; any other character is a literal of itself.
// The ";" separators count only among the last four characters; a flag "0"
// means literals are not part of Text; the blank character defaults to "_".
class EditMask {
public:
    enum class Kind { Literal, Digit, DigitOrSign, Letter, LetterOrDigit, AnyChar };
    enum class Case { Keep, Upper, Lower };
    struct Position {
        Kind kind = Kind::Literal;
        bool required = false;
        Case charCase = Case::Keep;
        QChar literal; // the character of a literal position
    };

    EditMask() = default; // no mask: the control edits freely
    // Parses a mask string. "/" and ":" take the separators in force now.
    explicit EditMask(const QString& mask);

    const QString& source() const { return m_source; }
    bool isEmpty() const { return m_positions.isEmpty(); }
    int length() const { return int(m_positions.size()); }
    bool savesLiterals() const { return m_saveLiterals; }
    QChar blank() const { return m_blank; }
    bool alignsRight() const { return m_alignRight; }
    const Position& at(int index) const { return m_positions.at(index); }
    bool isLiteral(int index) const { return at(index).kind == Kind::Literal; }

    // The character a position takes for a typed one (case directives applied),
    // or a null QChar when the position refuses it. Literals refuse everything.
    QChar accept(int index, QChar typed) const;
    // First non-literal position at or after index; length() when none.
    int nextEditable(int index) const;
    // Last non-literal position before index; -1 when none.
    int previousEditable(int index) const;
    // First literal position at or after index; -1 when none.
    int nextLiteral(int index) const;

    // Literals in place, the blank character everywhere else.
    QString emptyText() const;
    // Aligns a text to the mask (the text carries the literals when they are
    // saved): each section between literals is padded with blankChar or cut,
    // at its end (at its start with "!"); a missing literal counts as if at the
    // end of the text; spaces in non-literal positions become blankChar.
    QString align(const QString& text, QChar blankChar) const;
    QString align(const QString& text) const { return align(text, m_blank); }
    // The Text of an edit text: blank characters read as spaces, trailing
    // (with "!" leading) blanks dropped and refilled as spaces, literals in
    // place when saved.
    QString textOf(const QString& editText) const;
    // Edit text with blankChar in the non-literal positions of [from, to).
    QString blanked(const QString& editText, int from, int to) const;
    // First required position left blank (or holding a space, except "C");
    // -1 when the edit text satisfies the mask.
    int firstInvalidPosition(const QString& editText) const;
    // Raises EDBEditError "Invalid input value.  Use escape key to abandon
    // changes" when firstInvalidPosition() finds one.
    void validate(const QString& editText) const;

private:
    QString sectionAligned(const QString& section, int width, QChar blankChar) const;

    QString m_source;
    QList<Position> m_positions;
    bool m_saveLiterals = true;
    bool m_alignRight = false;
    QChar m_blank = QLatin1Char('_');
};

// The display text of a string field with a mask: the value aligned to the
// mask with a space as the blank character. No mask: the value itself.
QString MaskedDisplayText(const QString& mask, const QString& value);
