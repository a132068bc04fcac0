// The cookie-database service on SQLite, built into the program from its
// amalgamation: the same code in both builds (Windows' and the native tests').
#pragma once

#include "platform/CookieDatabase.h"

namespace platform {

class SqliteCookieDatabases final : public ICookieDatabases {
public:
    SqliteCookieDatabases(); // readies the engine once, before any other call
    CookieStoreOpening Open(const std::string& path, CookieTable table, Cancellation& cancellation) override;
    CookiePermissionsReading ReadCookiePermissions(const std::string& path) override;
};

} // namespace platform
