// One connection to a browser's existing SQLite store.
#include "platform/sqlite/SqliteConnection.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#ifdef _WIN32
// The engine's own conversion from the ANSI code page, which its header leaves out.
extern "C" char* sqlite3_win32_mbcs_to_utf8_v2(const char* text, int useAnsi);
#endif

namespace platform::sqlite {

bool saysNotTheStore(int code)
{
    switch (code & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_ERROR:
        return true;
    default:
        return false;
    }
}

// The engine's own file layer (its VFS), each file's reads, writes and cuts
// failing as an I/O error once the connection is cancelled and has committed
// nothing; all else is handed on as it is. One per connection, registered
// under a name of its own while the connection is open.
class Connection::CutFiles {
public:
    CutFiles(const Cancellation& cancellation, const bool& committed)
        : cancellation_(cancellation), committed_(committed), real_(sqlite3_vfs_find(nullptr))
    {
        name_ = "nomblet-cut-" + std::to_string(reinterpret_cast<std::uintptr_t>(this));
        vfs_.iVersion = 2;
        vfs_.szOsFile = static_cast<int>(realOffset + real_->szOsFile);
        vfs_.mxPathname = real_->mxPathname;
        vfs_.zName = name_.c_str();
        vfs_.pAppData = this;
        vfs_.xOpen = &open;
        vfs_.xDelete = [](sqlite3_vfs* v, const char* name, int sync) { return realOf(v)->xDelete(realOf(v), name, sync); };
        vfs_.xAccess = [](sqlite3_vfs* v, const char* name, int flags, int* out) {
            return realOf(v)->xAccess(realOf(v), name, flags, out);
        };
        vfs_.xFullPathname = [](sqlite3_vfs* v, const char* name, int n, char* out) {
            return realOf(v)->xFullPathname(realOf(v), name, n, out);
        };
        vfs_.xRandomness = [](sqlite3_vfs* v, int n, char* out) { return realOf(v)->xRandomness(realOf(v), n, out); };
        vfs_.xSleep = [](sqlite3_vfs* v, int us) { return realOf(v)->xSleep(realOf(v), us); };
        vfs_.xCurrentTime = [](sqlite3_vfs* v, double* out) { return realOf(v)->xCurrentTime(realOf(v), out); };
        vfs_.xGetLastError = [](sqlite3_vfs* v, int n, char* out) { return realOf(v)->xGetLastError(realOf(v), n, out); };
        vfs_.xCurrentTimeInt64 = [](sqlite3_vfs* v, sqlite3_int64* out) {
            return realOf(v)->xCurrentTimeInt64(realOf(v), out);
        };
        registered_ = sqlite3_vfs_register(&vfs_, 0) == SQLITE_OK;
    }
    ~CutFiles()
    {
        if (registered_)
            sqlite3_vfs_unregister(&vfs_);
    }
    CutFiles(const CutFiles&) = delete;
    CutFiles& operator=(const CutFiles&) = delete;

    // The name to open a database by; null when the layer could not be registered.
    const char* name() const { return registered_ ? name_.c_str() : nullptr; }

private:
    struct File {
        sqlite3_file base;
        CutFiles* owner;
        sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(this) + realOffset); }
    };
    static constexpr std::size_t realOffset = (sizeof(File) + 15) / 16 * 16;

    static sqlite3_vfs* realOf(sqlite3_vfs* vfs) { return static_cast<CutFiles*>(vfs->pAppData)->real_; }
    static File* fileOf(sqlite3_file* file) { return reinterpret_cast<File*>(file); }
    static sqlite3_file* realOf(sqlite3_file* file) { return fileOf(file)->real(); }
    static bool cut(sqlite3_file* file)
    {
        const CutFiles& owner = *fileOf(file)->owner;
        return owner.cancellation_.Cancelled() && !owner.committed_;
    }

    static int open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* outFlags)
    {
        File* ours = fileOf(file);
        ours->owner = static_cast<CutFiles*>(vfs->pAppData);
        sqlite3_file* real = ours->real();
        real->pMethods = nullptr;
        const int rc = realOf(vfs)->xOpen(realOf(vfs), name, real, flags, outFlags);
        // The engine closes only a file whose methods are set.
        file->pMethods = real->pMethods ? &methods : nullptr;
        return rc;
    }

    static const sqlite3_io_methods methods;

    const Cancellation& cancellation_;
    const bool& committed_;
    sqlite3_vfs* real_;
    std::string name_;
    sqlite3_vfs vfs_{};
    bool registered_ = false;
};

#define NOMBLET_REAL(file) realOf(file)->pMethods
const sqlite3_io_methods Connection::CutFiles::methods = {
    3,
    [](sqlite3_file* f) {
        const int rc = NOMBLET_REAL(f)->xClose(realOf(f));
        f->pMethods = nullptr;
        return rc;
    },
    [](sqlite3_file* f, void* out, int n, sqlite3_int64 at) {
        return cut(f) ? SQLITE_IOERR_READ : NOMBLET_REAL(f)->xRead(realOf(f), out, n, at);
    },
    [](sqlite3_file* f, const void* bytes, int n, sqlite3_int64 at) {
        return cut(f) ? SQLITE_IOERR_WRITE : NOMBLET_REAL(f)->xWrite(realOf(f), bytes, n, at);
    },
    [](sqlite3_file* f, sqlite3_int64 size) {
        return cut(f) ? SQLITE_IOERR_TRUNCATE : NOMBLET_REAL(f)->xTruncate(realOf(f), size);
    },
    [](sqlite3_file* f, int flags) { return NOMBLET_REAL(f)->xSync(realOf(f), flags); },
    [](sqlite3_file* f, sqlite3_int64* size) { return NOMBLET_REAL(f)->xFileSize(realOf(f), size); },
    [](sqlite3_file* f, int lock) { return NOMBLET_REAL(f)->xLock(realOf(f), lock); },
    [](sqlite3_file* f, int lock) { return NOMBLET_REAL(f)->xUnlock(realOf(f), lock); },
    [](sqlite3_file* f, int* out) { return NOMBLET_REAL(f)->xCheckReservedLock(realOf(f), out); },
    [](sqlite3_file* f, int op, void* arg) { return NOMBLET_REAL(f)->xFileControl(realOf(f), op, arg); },
    [](sqlite3_file* f) { return NOMBLET_REAL(f)->xSectorSize(realOf(f)); },
    [](sqlite3_file* f) { return NOMBLET_REAL(f)->xDeviceCharacteristics(realOf(f)); },
    [](sqlite3_file* f, int region, int size, int extend, void volatile** out) {
        return NOMBLET_REAL(f)->iVersion >= 2 ? NOMBLET_REAL(f)->xShmMap(realOf(f), region, size, extend, out)
                                               : SQLITE_IOERR_SHMMAP;
    },
    [](sqlite3_file* f, int offset, int n, int flags) {
        return NOMBLET_REAL(f)->iVersion >= 2 ? NOMBLET_REAL(f)->xShmLock(realOf(f), offset, n, flags)
                                               : SQLITE_IOERR_SHMLOCK;
    },
    [](sqlite3_file* f) {
        if (NOMBLET_REAL(f)->iVersion >= 2)
            NOMBLET_REAL(f)->xShmBarrier(realOf(f));
    },
    [](sqlite3_file* f, int deleteFlag) {
        return NOMBLET_REAL(f)->iVersion >= 2 ? NOMBLET_REAL(f)->xShmUnmap(realOf(f), deleteFlag) : SQLITE_OK;
    },
    // Files are never mapped into memory (the engine's default): every read goes through xRead.
    [](sqlite3_file*, sqlite3_int64, int, void** out) {
        *out = nullptr;
        return SQLITE_OK;
    },
    [](sqlite3_file*, sqlite3_int64, void*) { return SQLITE_OK; },
};
#undef NOMBLET_REAL

Connection::Connection() = default;

std::optional<std::string> EnginePath(const std::string& path)
{
#ifdef _WIN32
    // The program's paths are ANSI text; the engine takes UTF-8. The conversion
    // takes SQLite's memory, there once SQLite is set up (LevelDB's opens come here first too).
    char* utf8 = sqlite3_initialize() == SQLITE_OK ? sqlite3_win32_mbcs_to_utf8_v2(path.c_str(), 1) : nullptr;
    if (!utf8)
        return std::nullopt;
    std::string converted = utf8;
    sqlite3_free(utf8);
    return converted;
#else
    return path;
#endif
}

Connection::~Connection()
{
    close();
}

Opened Connection::open(const std::string& path, const OpenSettings& settings)
{
    const auto verdict = [](int rc) { return saysNotTheStore(rc) ? Opened::damaged : Opened::busy; };
    const std::optional<std::string> enginePath = EnginePath(path);
    if (!enginePath)
        return Opened::busy;
    const char* vfs = nullptr;
    if (settings.cancellation) {
        files_ = std::make_unique<CutFiles>(*settings.cancellation, committed_);
        if (!(vfs = files_->name()))
            return Opened::busy;
    }
    if (sqlite3_open_v2(enginePath->c_str(), &db_, SQLITE_OPEN_READWRITE, vfs) != SQLITE_OK)
        return Opened::busy;
    if (settings.cancellation)
        sqlite3_progress_handler(db_, progressSteps, &cancelled, const_cast<Cancellation*>(settings.cancellation));
    // Only the rows asked for change: no trigger of the file's own runs, and
    // its schema calls none of the program's functions.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    // Deleted rows are overwritten in the file, not only unlinked; a log is
    // folded into the store as it closes, never inside the commit (whose end
    // a cancel may be waiting to see); another program's lock is never waited for.
    int rc = sqlite3_exec(db_, "PRAGMA secure_delete=ON; PRAGMA wal_autocheckpoint=0", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db_, settings.pragmas, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return verdict(rc);
    inTransaction_ = true;
    // A damaged file is no store to change row by row.
    Statement check;
    rc = check.prepare(db_, "PRAGMA quick_check(1)");
    if (rc == SQLITE_OK && (rc = sqlite3_step(check.get())) == SQLITE_ROW) {
        const unsigned char* answer = sqlite3_column_text(check.get(), 0);
        if (!answer || std::string_view(reinterpret_cast<const char*>(answer)) != "ok")
            return Opened::damaged;
        rc = SQLITE_OK;
    }
    return rc == SQLITE_OK ? Opened::yes : verdict(rc);
}

int Connection::cancelled(void* cancellation)
{
    return static_cast<const Cancellation*>(cancellation)->Cancelled() ? 1 : 0;
}

bool Connection::commit()
{
    if (!inTransaction_ || sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    inTransaction_ = false;
    committed_ = true;
    return true;
}

void Connection::rollback()
{
    if (inTransaction_)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    inTransaction_ = false;
}

void Connection::close()
{
    if (db_) {
        rollback();
        sqlite3_close(db_);
        db_ = nullptr;
    }
    files_.reset();
    committed_ = false;
}

} // namespace platform::sqlite
