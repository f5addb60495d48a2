#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

// A SQLite connection of the tool's own, straight on the library: the online
// backup API needs the raw handle, and the care commands report the
// library's own error texts. Failures raise std::runtime_error.
class SqliteHandle {
public:
    enum class Open {
        Existing,  // an existing file, to read and write
        Create,    // made when missing
        Read,      // an existing file, only read; immutable on a read-only medium
    };
    explicit SqliteHandle(const QString& path, Open mode = Open::Existing);
    ~SqliteHandle();
    SqliteHandle(const SqliteHandle&) = delete;
    SqliteHandle& operator=(const SqliteHandle&) = delete;

    sqlite3* get() const { return m_db; }
    const QString& path() const { return m_path; }
    void exec(const QString& sql);
    // Ends an open transaction without its changes; errors are ignored, as
    // this runs while another error is on its way.
    void rollback() noexcept;
    // The first column of every result row.
    QVariantList column(const QString& sql);
    [[noreturn]] void fail(const QString& context) const;

private:
    QString m_path;
    sqlite3* m_db = nullptr;
};

// A prepared statement on a SqliteHandle. Values are null, double or text.
class SqliteStatement {
public:
    SqliteStatement(SqliteHandle& db, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(int index, const QVariant& value);
    // Steps once; true while there is a row. A finished statement is reset.
    bool next();
    QVariant value(int column) const;
    int width() const;

private:
    SqliteHandle& m_db;
    sqlite3_stmt* m_statement = nullptr;
};
