// Small helpers over SQLite's C interface for the program's database stores:
// a statement that finalizes itself, one statement run to its end, names
// quoted as SQL quotes them, a value's text. Called on the store worker only.
#pragma once

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace platform::sqlite {

// A value's bytes as text (a value that is not text comes as the engine renders it).
inline std::string textOf(sqlite3_value* value)
{
    const unsigned char* text = sqlite3_value_text(value);
    return text ? std::string(reinterpret_cast<const char*>(text), sqlite3_value_bytes(value)) : std::string();
}

class Statement {
public:
    Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { finalize(); }
    void finalize()
    {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
    int prepare(sqlite3* db, const std::string& sql)
    {
        finalize();
        return sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size() + 1), &stmt_, nullptr);
    }
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

// One statement run to its end; whether it prepared, and how its step ended.
struct Ran {
    bool prepared;
    int rc;
};

inline Ran run(sqlite3* db, const std::string& sql)
{
    Statement statement;
    const int rc = statement.prepare(db, sql);
    if (rc != SQLITE_OK)
        return {false, rc};
    int step;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
    }
    return {true, step};
}

// A name in double quotes, its own double quotes doubled.
inline std::string quoted(std::string_view name)
{
    std::string out = "\"";
    for (char c : name)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

} // namespace platform::sqlite
