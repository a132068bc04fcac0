// The site-data stores that are SQLite databases.
#include "platform/sitedata/SqliteSiteStores.h"

#include "platform/sqlite/SqliteConnection.h"

#include <set>

namespace platform {
namespace {

using sqlite::Opened;
using sqlite::Statement;

// Where a kind keeps its rows, and the name of the origin of each row: text
// as stored; a row whose origin is no text is listed by the empty name.
struct Shape {
    const char* table;
    const char* origin; // an expression over the row
    const char* returning; // what a delete hands back of each row: the bucket's id
};

Shape shapeOf(SiteStoreKind kind)
{
    switch (kind) {
    case SiteStoreKind::mozillaLocalStorage:
        return {"webappsstore2",
                "CASE WHEN typeof(originKey) = 'text' THEN originKey || "
                "CASE WHEN typeof(originAttributes) = 'text' THEN originAttributes ELSE '' END ELSE '' END",
                nullptr};
    case SiteStoreKind::chromiumQuotaManager:
        return {"buckets", "CASE WHEN typeof(storage_key) = 'text' THEN storage_key ELSE '' END", "id"};
    default: // the quota cache holds no site's rows
        return {"cache", nullptr, nullptr};
    }
}

class SqliteSiteStore final : public ISiteStore {
public:
    explicit SqliteSiteStore(SiteStoreKind kind) : kind_(kind), shape_(shapeOf(kind)) {}

    SiteStoreState open(const std::string& path)
    {
        switch (connection_.open(path)) {
        case Opened::busy:
            return SiteStoreState::busy;
        case Opened::damaged:
            return SiteStoreState::notStore;
        case Opened::yes:
            break;
        }
        sqlite3* db = connection_.db();
        if (sqlite3_create_function(db, "nomblet_goes", 1, SQLITE_UTF8 | SQLITE_DIRECTONLY, this, &goesRow, nullptr,
                                    nullptr) != SQLITE_OK)
            return SiteStoreState::busy;
        const std::string table = std::string("\"") + shape_.table + "\"";
        // Each statement names the kind's table and columns: a store of another
        // shape fails to prepare it.
        int rc = SQLITE_OK;
        if (!shape_.origin) {
            rc = delete_.prepare(db, "UPDATE " + table + " SET valid = 0");
        } else {
            Statement origins;
            rc = origins.prepare(db, std::string("SELECT DISTINCT ") + shape_.origin + " FROM " + table);
            if (rc == SQLITE_OK)
                while ((rc = sqlite3_step(origins.get())) == SQLITE_ROW)
                    origins_.push_back(sqlite::textOf(sqlite3_column_value(origins.get(), 0)));
            if (rc == SQLITE_DONE && shape_.returning) {
                Statement ids;
                rc = ids.prepare(db, std::string("SELECT ") + shape_.returning + " FROM " + table);
                if (rc == SQLITE_OK)
                    while ((rc = sqlite3_step(ids.get())) == SQLITE_ROW)
                        buckets_.push_back(sqlite::textOf(sqlite3_column_value(ids.get(), 0)));
            }
            if (rc == SQLITE_DONE)
                rc = delete_.prepare(db, "DELETE FROM " + table + " WHERE nomblet_goes(" + shape_.origin + ")" +
                                             (shape_.returning ? std::string(" RETURNING ") + shape_.returning : ""));
        }
        if (rc != SQLITE_OK)
            return sqlite::saysNotTheStore(rc) ? SiteStoreState::notStore : SiteStoreState::busy;
        return SiteStoreState::opened;
    }

    const std::vector<SiteOriginName>& Origins() const override { return origins_; }
    const std::vector<std::string>& Buckets() const override { return buckets_; }

    SiteDeletion Delete(const std::function<bool(const SiteOriginName&)>& goes, const LastStep& lastStep) override
    {
        SiteDeletion deletion;
        if (!delete_.get())
            return deletion;
        goes_ = &goes;
        std::vector<std::string> returned;
        int rc;
        while ((rc = sqlite3_step(delete_.get())) == SQLITE_ROW)
            returned.push_back(sqlite::textOf(sqlite3_column_value(delete_.get(), 0)));
        goes_ = nullptr;
        // Once only: a failed or stopped delete leaves the transaction to roll back as the store is dropped.
        delete_.finalize();
        if (rc != SQLITE_DONE || !lastStep([&] { return connection_.commit(); }))
            return deletion;
        deletion.ok = true;
        deletion.gone.assign(gone_.begin(), gone_.end());
        if (kind_ == SiteStoreKind::chromiumQuotaManager)
            deletion.buckets = std::move(returned);
        return deletion;
    }

private:
    // nomblet_goes(origin): the caller's verdict, noting each origin that goes.
    static void goesRow(sqlite3_context* context, int, sqlite3_value** args)
    {
        auto* self = static_cast<SqliteSiteStore*>(sqlite3_user_data(context));
        if (!self->goes_) {
            sqlite3_result_error(context, "no delete under way", -1);
            return;
        }
        try {
            std::string origin = sqlite::textOf(args[0]);
            const bool goes = (*self->goes_)(origin);
            if (goes)
                self->gone_.insert(std::move(origin));
            sqlite3_result_int(context, goes ? 1 : 0);
        } catch (...) {
            // Nothing unwinds through the engine: the delete fails and all is rolled back.
            sqlite3_result_error(context, "the origin could not be judged", -1);
        }
    }

    SiteStoreKind kind_;
    Shape shape_;
    sqlite::Connection connection_; // declared first: closed once the statement is finalized
    Statement delete_;
    std::vector<SiteOriginName> origins_;
    std::vector<std::string> buckets_;
    std::set<SiteOriginName> gone_;
    const std::function<bool(const SiteOriginName&)>* goes_ = nullptr;
};

} // namespace

SiteStoreOpening OpenSqliteSiteStore(SiteStoreKind kind, const std::string& path)
{
    SiteStoreOpening opening;
    sqlite3_initialize();
    auto store = std::make_unique<SqliteSiteStore>(kind);
    opening.state = store->open(path);
    if (opening.state == SiteStoreState::opened)
        opening.store = std::move(store);
    return opening;
}

} // namespace platform
