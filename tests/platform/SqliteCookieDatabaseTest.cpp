// The cookie-database service on SQLite: its contract on real files, and what
// only real files show (journals, write-ahead logs, damaged and odd stores,
// overwritten bytes).
#include "platform/sqlite/SqliteConnection.h"
#include "support/SqliteStores.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using platform::CookieStoreState;
using platform::CookieTable;
using namespace sqlite_stores;

namespace {

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "nomblet-sqlite-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(folder_); }
    std::string path(const std::string& name) const { return (fs::path(folder_) / name).string(); }

private:
    std::string folder_;
};

class PosixSqliteWorld : public SqliteWorld {
public:
    static constexpr const char* name = "Sqlite";
    std::string path(const std::string& name) const { return folder_.path(name); }

private:
    TempFolder folder_;
};

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

CookieRows manyRows(const std::string& host, int n, const std::string& valuePrefix)
{
    CookieRows rows;
    for (int i = 0; i < n; ++i)
        rows.emplace_back(host, valuePrefix + std::to_string(i));
    return rows;
}

CookieRows joined(CookieRows a, const CookieRows& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Munches what keeps() does not keep: the rows gone, or none when the munch did not last.
std::uint64_t munch(platform::ICookieStore& store, const std::function<bool(std::string_view)>& keeps)
{
    std::uint64_t gone = 0;
    for (const auto& host : store.Hosts())
        gone += keeps(host.host) ? 0 : host.rows;
    return store.Munch(keeps) == platform::CookieMunchOutcome::munched ? gone : 0;
}

class SqliteCookieDatabaseTest : public testing::Test {
protected:
    TempFolder folder;
    platform::Cancellation cancellation;
    platform::SqliteCookieDatabases databases;
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Native, CookieDatabaseContract, PosixSqliteWorld, WorldNames);

TEST_F(SqliteCookieDatabaseTest, EveryKindOfStoreHasItsOutcome)
{
    const CookieRows rows = manyRows("a.example", 300, "value-");
    struct Case {
        const char* name;
        std::function<void(const std::string& path)> make;
        CookieStoreState expected;
        std::uint64_t rows; // when opened
        platform::CookieMunchOutcome munched = platform::CookieMunchOutcome::munched;
    };
    const Case cases[] = {
        {"empty", [](auto& p) { makeStore(p, CookieTable::mozilla, {}); }, CookieStoreState::opened, 0},
        {"no table: a database of other things",
         [](auto& p) { Db(p).exec("CREATE TABLE moz_places(id INTEGER PRIMARY KEY, url TEXT)"); },
         CookieStoreState::notCookies, 0},
        {"a cookie table of another shape",
         [](auto& p) { Db(p).exec("CREATE TABLE moz_cookies(id INTEGER PRIMARY KEY, name TEXT, site TEXT)"); },
         CookieStoreState::notCookies, 0},
        {"a cookie table without row ids: munched in place",
         [](auto& p) {
             Db(p).exec("CREATE TABLE moz_cookies(host TEXT PRIMARY KEY, value TEXT) WITHOUT ROWID;"
                        "INSERT INTO moz_cookies VALUES ('a.example', '1'), ('b.example', '2')");
         },
         CookieStoreState::opened, 2},
        {"an index on a function the engine lacks: read, never changed",
         [&](auto& p) {
             makeStore(p, CookieTable::mozilla, rows);
             Db db(p);
             sqlite3_create_function(
                 db.db, "reversed", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                 [](sqlite3_context* c, int, sqlite3_value** v) { sqlite3_result_value(c, v[0]); }, nullptr, nullptr);
             db.exec("CREATE INDEX by_reversed ON moz_cookies(reversed(host))");
         },
         CookieStoreState::opened, 300, platform::CookieMunchOutcome::unchangeable},
        {"no bytes", [](auto& p) { std::ofstream(p, std::ios::binary); }, CookieStoreState::notCookies, 0},
        {"truncated",
         [&](auto& p) {
             makeStore(p, CookieTable::mozilla, rows);
             fs::resize_file(p, fs::file_size(p) / 2);
         },
         CookieStoreState::notCookies, 0},
        {"a damaged page",
         [&](auto& p) {
             makeStore(p, CookieTable::mozilla, rows);
             std::fstream f(p, std::ios::in | std::ios::out | std::ios::binary);
             f.seekp(4096 + 8);
             f << std::string(64, '\xff');
         },
         CookieStoreState::notCookies, 0},
        {"hosts of 100,000 characters and of control bytes",
         [](auto& p) {
             makeStore(p, CookieTable::mozilla,
                       {{std::string(100000, 'h'), "1"}, {std::string("a\0b\r\n\x01.example", 14), "2"}});
         },
         CookieStoreState::opened, 2},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string path = folder.path("case" + std::to_string(++n));
        c.make(path);
        platform::CookieStoreOpening opening = databases.Open(path, CookieTable::mozilla, cancellation);
        EXPECT_EQ(opening.state, c.expected) << c.name;
        if (!opening.store)
            continue;
        std::uint64_t total = 0;
        for (const auto& host : opening.store->Hosts())
            total += host.rows;
        EXPECT_EQ(total, c.rows) << c.name;
        EXPECT_EQ(opening.store->Munch([](std::string_view) { return false; }), c.munched) << c.name;
        opening.store.reset();
        if (c.munched != platform::CookieMunchOutcome::munched)
            continue;
        EXPECT_EQ(Db(path, SQLITE_OPEN_READONLY).query("SELECT count(*) FROM moz_cookies").front().first, "0")
            << c.name;
        EXPECT_EQ(integrityOf(path), "ok") << c.name;
    }
}

TEST_F(SqliteCookieDatabaseTest, AHotJournalIsRolledBackAndRowsOnlyInTheLogCountAndGo)
{
    struct Case {
        const char* name;
        const char* journalMode;
        const char* companion;
        CookieRows expected; // what the copy holds once opened
    };
    const CookieRows before = manyRows("old.example", 400, "before-");
    const CookieRows after = manyRows("new.example", 400, "after-");
    for (const Case& c : {Case{"a hot journal a crashed browser left", "DELETE", "-journal", before},
                          Case{"rows only in the write-ahead log", "WAL", "-wal", joined(before, after)}}) {
        const std::string original = folder.path(std::string("orig-") + c.journalMode);
        const std::string copy = folder.path(std::string("copy-") + c.journalMode);
        makeStore(original, CookieTable::mozilla, before, c.journalMode);
        {
            // The browser, caught mid-work: its cache spills changes into the file
            // before they are committed, or its log is never checkpointed.
            Db browser(original);
            browser.exec("PRAGMA cache_size=2; PRAGMA wal_autocheckpoint=0");
            if (std::string(c.journalMode) == "WAL") {
                insertRows(browser, CookieTable::mozilla, after);
            } else {
                browser.exec("BEGIN; DELETE FROM moz_cookies");
                insertRows(browser, CookieTable::mozilla, after);
            }
            fs::copy_file(original, copy);
            fs::copy_file(original + c.companion, copy + c.companion);
            if (std::string(c.journalMode) != "WAL")
                browser.exec("ROLLBACK");
        }
        platform::CookieStoreOpening opening = databases.Open(copy, CookieTable::mozilla, cancellation);
        ASSERT_EQ(opening.state, CookieStoreState::opened) << c.name;
        std::uint64_t total = 0;
        for (const auto& host : opening.store->Hosts())
            total += host.rows;
        EXPECT_EQ(total, c.expected.size()) << c.name;
        EXPECT_EQ(munch(*opening.store, [](std::string_view host) { return host == "old.example"; }),
                  c.expected.size() - before.size())
            << c.name;
        opening.store.reset();
        EXPECT_EQ(rowsOf(copy, CookieTable::mozilla), before) << c.name;
        EXPECT_EQ(integrityOf(copy), "ok") << c.name;
    }
}

TEST_F(SqliteCookieDatabaseTest, AMunchedCookiesValueIsOverwrittenInTheFileAndKeptRowsStayAsTheyWere)
{
    // 500 kept among 1,000 are deleted around; 10 among 1,000 are set aside and put back.
    for (int keptRows : {500, 10}) {
        for (CookieTable table : {CookieTable::mozilla, CookieTable::chromium}) {
            for (const char* mode : {"DELETE", "WAL"}) {
                const std::string what = std::string(tableName(table)) + " " + mode + " " + std::to_string(keptRows);
                const std::string path = folder.path("secure-" + std::to_string(keptRows) + tableName(table) + mode);
                CookieRows rows = manyRows("gone.example", 1000 - keptRows, "SECRET-gone-");
                const CookieRows kept = manyRows(".kept.example", keptRows, "kept-");
                rows.insert(rows.begin() + 250, kept.begin(), kept.end());
                makeStore(path, table, rows, mode);
                const std::string column = std::string("SELECT ") + hostColumn(table) + ", rowid || ' ' || " +
                                           (table == CookieTable::mozilla ? "id || name || path || expiry"
                                                                          : "creation_utc || name || path") +
                                           " FROM " + tableName(table) + " WHERE value LIKE 'kept-%' ORDER BY 1, 2";
                const CookieRows keptBefore = Db(path, SQLITE_OPEN_READONLY).query(column);
                {
                    platform::CookieStoreOpening opening = databases.Open(path, table, cancellation);
                    ASSERT_EQ(opening.state, CookieStoreState::opened) << what;
                    EXPECT_EQ(munch(*opening.store, [](std::string_view h) { return h == ".kept.example"; }),
                              static_cast<std::uint64_t>(1000 - keptRows))
                        << what;
                }
                EXPECT_EQ(bytesOf(path).find("SECRET-gone-"), std::string::npos) << what;
                for (const char* companion : {"-wal", "-journal"})
                    EXPECT_FALSE(fs::exists(path + companion) &&
                                 bytesOf(path + companion).find("SECRET") != std::string::npos)
                        << what << companion;
                EXPECT_NE(bytesOf(path).find("kept-" + std::to_string(keptRows - 1)), std::string::npos) << what;
                EXPECT_EQ(Db(path, SQLITE_OPEN_READONLY).query(column), keptBefore) << what;
                EXPECT_EQ(integrityOf(path), "ok") << what;
            }
        }
    }
}

TEST_F(SqliteCookieDatabaseTest, AFailedMunchRollsEverythingBackAndTheStoreIsHeldOnlyForItsWork)
{
    const CookieRows rows = manyRows("a.example", 100, "v");
    const auto writable = [](const std::string& path) {
        try {
            Db(path).exec("BEGIN IMMEDIATE; COMMIT");
            return true;
        } catch (const std::runtime_error&) {
            return false;
        }
    };
    struct Case {
        const char* name;
        std::function<bool(std::string_view)> keeps;
        platform::CookieMunchOutcome outcome;
        std::size_t left;
    };
    int n = 0;
    for (const Case& c : {Case{"a host that cannot be judged", [](std::string_view) -> bool { throw std::runtime_error("judge"); },
                               platform::CookieMunchOutcome::failed, rows.size()},
                          Case{"munched", [](std::string_view) { return false; }, platform::CookieMunchOutcome::munched,
                               0}}) {
        const std::string path = folder.path("held" + std::to_string(++n));
        makeStore(path, CookieTable::chromium, rows);
        platform::CookieStoreOpening opening = databases.Open(path, CookieTable::chromium, cancellation);
        ASSERT_EQ(opening.state, CookieStoreState::opened) << c.name;
        EXPECT_FALSE(writable(path)) << c.name;
        EXPECT_EQ(opening.store->Munch(c.keeps), c.outcome) << c.name;
        // A browser starting now writes at once, while the store is still open.
        EXPECT_TRUE(writable(path)) << c.name;
        opening.store.reset();
        EXPECT_EQ(rowsOf(path, CookieTable::chromium).size(), c.left) << c.name;
        EXPECT_EQ(integrityOf(path), "ok") << c.name;
    }
}

TEST_F(SqliteCookieDatabaseTest, StoresRealBrowsersWroteLoseTheRowsOfSitesNotKeptAndNothingElse)
{
    const fs::path data = fs::path(NOMBLET_SOURCE_DIR) / "tests/data/browsers";
    struct Case {
        const char* store;
        const char* companion;
        CookieTable table;
    };
    for (const Case& c : {Case{"cookies.sqlite", "-wal", CookieTable::mozilla},
                          Case{"Cookies", "-journal", CookieTable::chromium}}) {
        const std::string path = folder.path(c.store);
        fs::copy_file(data / c.store, path);
        fs::copy_file(data / (std::string(c.store) + c.companion), path + c.companion);
        const std::string keptRows = std::string("SELECT * FROM ") + tableName(c.table) + " WHERE " +
                                     hostColumn(c.table) + " LIKE '%keep.example' ORDER BY 1, 2, 3, 4";
        const auto everyColumn = [&] {
            // Every column of every kept row, as text, one row per line.
            Db db(path, SQLITE_OPEN_READONLY);
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(db.db, keptRows.c_str(), -1, &stmt, nullptr);
            std::string all;
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, i));
                    all += (bytes ? std::string(bytes, sqlite3_column_bytes(stmt, i)) : std::string()) + "|";
                }
                all += "\n";
            }
            sqlite3_finalize(stmt);
            return all;
        };
        const std::string keptBefore = everyColumn();
        platform::CookieStoreOpening opening = databases.Open(path, c.table, cancellation);
        ASSERT_EQ(opening.state, CookieStoreState::opened) << c.store;
        std::uint64_t total = 0;
        for (const auto& host : opening.store->Hosts())
            total += host.rows;
        EXPECT_EQ(total, 20u) << c.store;
        EXPECT_EQ(munch(*opening.store, [](std::string_view h) { return h.ends_with("keep.example"); }), 12u)
            << c.store;
        opening.store.reset();
        EXPECT_EQ(rowsOf(path, c.table).size(), 8u) << c.store;
        EXPECT_EQ(everyColumn(), keptBefore) << c.store;
        EXPECT_EQ(integrityOf(path), "ok") << c.store;
    }
}

TEST_F(SqliteCookieDatabaseTest, KeptRowsSetAsideAreAllOfThemOrTheOthersAreDeletedInPlace)
{
    // A kept host stored as bytes, not text, is not found through the index.
    struct Case {
        const char* name;
        const char* keptAsBytes;
    };
    for (const Case& c : {Case{"every kept host stored as text", "'kept.example'"},
                          Case{"one stored as bytes", "CAST('kept.example' AS BLOB)"}}) {
        const std::string path = folder.path(std::string("aside-") + c.name);
        makeStore(path, CookieTable::mozilla, joined(manyRows("gone.example", 100, "g"), {{"kept.example", "k1"}}));
        Db(path).exec(std::string("INSERT INTO moz_cookies (name, value, host) VALUES ('b', 'k2', ") + c.keptAsBytes +
                      ")");
        platform::CookieStoreOpening opening = databases.Open(path, CookieTable::mozilla, cancellation);
        ASSERT_EQ(opening.state, CookieStoreState::opened) << c.name;
        EXPECT_EQ(munch(*opening.store, [](std::string_view h) { return h == "kept.example"; }), 100u) << c.name;
        opening.store.reset();
        EXPECT_EQ(Db(path, SQLITE_OPEN_READONLY).query("SELECT value FROM moz_cookies ORDER BY 1"),
                  (CookieRows{{"k1", ""}, {"k2", ""}}))
            << c.name;
    }
}

TEST_F(SqliteCookieDatabaseTest, ACancelCutsShortEvenTheOneStepThatEmptiesATable)
{
    // One operation of the engine, which never calls the progress handler: the files' reads and writes fail.
    for (const char* mode : {"DELETE", "WAL"}) {
        for (bool cancelled : {true, false}) {
            const std::string what = std::string(mode) + (cancelled ? ", cancelled" : "");
            const std::string path = folder.path("empty-" + what);
            makeStore(path, CookieTable::chromium, manyRows("a.example", 20000, "value-"), mode);
            platform::Cancellation stop;
            platform::sqlite::Connection connection;
            ASSERT_EQ(connection.open(path, {"PRAGMA cache_size=-256", &stop}), platform::sqlite::Opened::yes);
            if (cancelled)
                stop.Cancel();
            EXPECT_EQ(platform::sqlite::run(connection.db(), "DELETE FROM main.cookies").rc == SQLITE_DONE, !cancelled);
            EXPECT_EQ(stop.RunUnlessCancelled([&] { return connection.commit(); }), !cancelled) << what;
            connection.close();
            EXPECT_EQ(rowsOf(path, CookieTable::chromium).size(), cancelled ? 20000u : 0u) << what;
            EXPECT_EQ(integrityOf(path), "ok") << what;
        }
    }
}
