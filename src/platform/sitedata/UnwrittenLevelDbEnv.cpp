// LevelDB's files read from disk, its writes kept in memory.
#include "platform/sitedata/UnwrittenLevelDbEnv.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

class MemoryReader final : public leveldb::SequentialFile, public leveldb::RandomAccessFile {
public:
    explicit MemoryReader(std::shared_ptr<std::string> content) : content_(std::move(content)) {}

    leveldb::Status Read(size_t n, leveldb::Slice* result, char* scratch) override
    {
        const leveldb::Status status = Read(at_, n, result, scratch);
        at_ += result->size();
        return status;
    }
    leveldb::Status Skip(uint64_t n) override
    {
        at_ = std::min<uint64_t>(at_ + n, content_->size());
        return leveldb::Status::OK();
    }
    leveldb::Status Read(uint64_t offset, size_t n, leveldb::Slice* result, char* scratch) const override
    {
        if (offset > content_->size())
            return leveldb::Status::IOError("read past the end");
        const size_t length = std::min<uint64_t>(n, content_->size() - offset);
        std::memcpy(scratch, content_->data() + offset, length);
        *result = leveldb::Slice(scratch, length);
        return leveldb::Status::OK();
    }

private:
    std::shared_ptr<std::string> content_;
    uint64_t at_ = 0;
};

class MemoryWriter final : public leveldb::WritableFile {
public:
    MemoryWriter(std::shared_ptr<std::string> content, std::mutex& lock) : content_(std::move(content)), lock_(lock) {}

    leveldb::Status Append(const leveldb::Slice& data) override
    {
        std::lock_guard<std::mutex> hold(lock_);
        content_->append(data.data(), data.size());
        return leveldb::Status::OK();
    }
    leveldb::Status Close() override { return leveldb::Status::OK(); }
    leveldb::Status Flush() override { return leveldb::Status::OK(); }
    leveldb::Status Sync() override { return leveldb::Status::OK(); }

private:
    std::shared_ptr<std::string> content_;
    std::mutex& lock_;
};

class NoLock final : public leveldb::FileLock {};

} // namespace

UnwrittenLevelDbEnv::Content UnwrittenLevelDbEnv::written(const std::string& name)
{
    std::lock_guard<std::mutex> hold(lock_);
    const auto file = written_.find(name);
    // As it stands: a writer may still append.
    return file == written_.end() ? nullptr : std::make_shared<std::string>(*file->second);
}

bool UnwrittenLevelDbEnv::removed(const std::string& name)
{
    std::lock_guard<std::mutex> hold(lock_);
    return removed_.count(name) != 0;
}

leveldb::Status UnwrittenLevelDbEnv::NewSequentialFile(const std::string& name, leveldb::SequentialFile** file)
{
    if (removed(name))
        return leveldb::Status::NotFound("removed", name);
    if (const Content content = written(name)) {
        *file = new MemoryReader(content);
        return leveldb::Status::OK();
    }
    return target()->NewSequentialFile(name, file);
}

leveldb::Status UnwrittenLevelDbEnv::NewRandomAccessFile(const std::string& name, leveldb::RandomAccessFile** file)
{
    if (removed(name))
        return leveldb::Status::NotFound("removed", name);
    if (const Content content = written(name)) {
        *file = new MemoryReader(content);
        return leveldb::Status::OK();
    }
    return target()->NewRandomAccessFile(name, file);
}

leveldb::Status UnwrittenLevelDbEnv::NewWritableFile(const std::string& name, leveldb::WritableFile** file)
{
    std::lock_guard<std::mutex> hold(lock_);
    auto content = std::make_shared<std::string>();
    written_[name] = content;
    removed_.erase(name);
    *file = new MemoryWriter(content, lock_);
    return leveldb::Status::OK();
}

leveldb::Status UnwrittenLevelDbEnv::NewAppendableFile(const std::string& name, leveldb::WritableFile**)
{
    return leveldb::Status::NotSupported("no appending", name);
}

bool UnwrittenLevelDbEnv::FileExists(const std::string& name)
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (written_.count(name) != 0)
            return true;
        if (removed_.count(name) != 0)
            return false;
    }
    return target()->FileExists(name);
}

leveldb::Status UnwrittenLevelDbEnv::GetChildren(const std::string& folder, std::vector<std::string>* names)
{
    const leveldb::Status status = target()->GetChildren(folder, names);
    if (!status.ok())
        return status;
    std::lock_guard<std::mutex> hold(lock_);
    std::erase_if(*names, [&](const std::string& name) { return removed_.count(folder + "/" + name) != 0; });
    for (const auto& [name, content] : written_)
        if (name.size() > folder.size() + 1 && name.compare(0, folder.size() + 1, folder + "/") == 0 &&
            std::find(names->begin(), names->end(), name.substr(folder.size() + 1)) == names->end())
            names->push_back(name.substr(folder.size() + 1));
    return status;
}

leveldb::Status UnwrittenLevelDbEnv::DeleteFile(const std::string& name)
{
    std::lock_guard<std::mutex> hold(lock_);
    written_.erase(name);
    removed_.insert(name);
    return leveldb::Status::OK();
}

leveldb::Status UnwrittenLevelDbEnv::GetFileSize(const std::string& name, uint64_t* size)
{
    if (removed(name))
        return leveldb::Status::NotFound("removed", name);
    if (const Content content = written(name)) {
        *size = content->size();
        return leveldb::Status::OK();
    }
    return target()->GetFileSize(name, size);
}

leveldb::Status UnwrittenLevelDbEnv::RenameFile(const std::string& from, const std::string& to)
{
    std::lock_guard<std::mutex> hold(lock_);
    const auto file = written_.find(from);
    // LevelDB renames only what it wrote itself (CURRENT's new text).
    if (file == written_.end())
        return leveldb::Status::IOError("not renamed", from);
    written_[to] = file->second;
    removed_.erase(to);
    written_.erase(file);
    return leveldb::Status::OK();
}

leveldb::Status UnwrittenLevelDbEnv::LockFile(const std::string& name, leveldb::FileLock** lock)
{
    // The browser's lock is taken as any reader takes it (a store it holds is busy), but never made.
    if (target()->FileExists(name))
        return target()->LockFile(name, lock);
    *lock = new NoLock;
    return leveldb::Status::OK();
}

leveldb::Status UnwrittenLevelDbEnv::UnlockFile(leveldb::FileLock* lock)
{
    if (!dynamic_cast<NoLock*>(lock))
        return target()->UnlockFile(lock);
    delete lock;
    return leveldb::Status::OK();
}

} // namespace platform
