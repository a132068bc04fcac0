// An environment for LevelDB that reads a database's own files and keeps
// whatever LevelDB writes in memory: a store opened through it is read without
// a byte of it written, renamed or removed (its log is not rewritten into a
// table, its lock file taken but never made). For a store that is only read.
#pragma once

#include <leveldb/env.h>

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace platform {

class UnwrittenLevelDbEnv final : public leveldb::EnvWrapper {
public:
    explicit UnwrittenLevelDbEnv(leveldb::Env* files) : leveldb::EnvWrapper(files) {}

    leveldb::Status NewSequentialFile(const std::string& name, leveldb::SequentialFile** file) override;
    leveldb::Status NewRandomAccessFile(const std::string& name, leveldb::RandomAccessFile** file) override;
    leveldb::Status NewWritableFile(const std::string& name, leveldb::WritableFile** file) override;
    leveldb::Status NewAppendableFile(const std::string& name, leveldb::WritableFile** file) override;
    bool FileExists(const std::string& name) override;
    leveldb::Status GetChildren(const std::string& folder, std::vector<std::string>* names) override;
    leveldb::Status DeleteFile(const std::string& name) override;
    leveldb::Status CreateDir(const std::string&) override { return leveldb::Status::OK(); }
    leveldb::Status DeleteDir(const std::string&) override { return leveldb::Status::OK(); }
    leveldb::Status GetFileSize(const std::string& name, uint64_t* size) override;
    leveldb::Status RenameFile(const std::string& from, const std::string& to) override;
    leveldb::Status LockFile(const std::string& name, leveldb::FileLock** lock) override;
    leveldb::Status UnlockFile(leveldb::FileLock* lock) override;

private:
    using Content = std::shared_ptr<std::string>;
    // A copy of the file written here under that name, or null: then the one on disk, unless removed.
    Content written(const std::string& name);
    bool removed(const std::string& name);

    std::mutex lock_; // LevelDB's background thread writes too
    std::map<std::string, Content> written_;
    std::set<std::string> removed_; // files on disk that read as gone
};

} // namespace platform
