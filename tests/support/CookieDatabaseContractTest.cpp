// The cookie-database contract against the fake.
#include "contracts/CookieDatabaseContract.h"
#include "support/FakeCookieDatabases.h"

namespace {

class FakeCookieWorld {
public:
    static constexpr const char* name = "Fake";
    platform::ICookieDatabases& databases() { return databases_; }
    std::string path(const std::string& name) const { return "C:\\Profile\\" + name; }
    void makeStore(const std::string& path, platform::CookieTable table, const CookieRows& rows)
    {
        std::vector<FakeCookieDatabases::Row> made;
        for (const auto& [host, value] : rows)
            made.push_back({host, value, static_cast<std::int64_t>(made.size() + 1)});
        databases_.addStore(path, table, made);
    }
    void makeFile(const std::string& path, const std::string& bytes) { files_.addFile(path, bytes); }
    void makePermissions(const std::string& path, const std::vector<platform::CookiePermission>& rows, const char*)
    {
        databases_.addPermissions(path, rows);
    }
    void damage(const std::string& path) { databases_.addStore(path, platform::CookieTable::mozilla, {}); }
    bool exists(const std::string& path) const { return files_.exists(path); }
    void hold(const std::string& path) { databases_.setBusy(path, true); }
    CookieRows rows(const std::string& path) const
    {
        CookieRows rows;
        for (const auto& row : databases_.rows(path))
            rows.emplace_back(row.host, row.value);
        return rows;
    }

private:
    FakeFileSystem files_;
    FakeCookieDatabases databases_{files_};
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Native, CookieDatabaseContract, FakeCookieWorld, WorldNames);
