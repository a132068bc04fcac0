// The in-memory registry.
#include "support/FakeRegistry.h"

#include "platform/PathText.h"

#include <algorithm>
#include <utility>

class FakeRegistryKey final : public platform::IRegistryKey {
public:
    FakeRegistryKey(FakeRegistry& registry, platform::RegRoot root, std::string path, bool readOnly)
        : registry_(registry), root_(root), path_(std::move(path)), readOnly_(readOnly)
    {
        ++registry_.openKeys;
    }
    ~FakeRegistryKey() override
    {
        std::lock_guard lock(registry_.lock_);
        --registry_.openKeys;
        registry_.record("closeKey", {FakeRegistry::rootName(root_), path_});
    }

    platform::RegValue readValue(const std::string& name) override
    {
        std::lock_guard lock(registry_.lock_);
        if (registry_.record("readValue", {FakeRegistry::rootName(root_), path_, name}))
            return {};
        auto value = registry_.value(root_, path_, name);
        return value.value_or(platform::RegValue{});
    }

    std::vector<platform::RegListedValue> listValues(std::size_t limit) override
    {
        if (registry_.beforeListing)
            registry_.beforeListing();
        std::lock_guard lock(registry_.lock_);
        std::vector<platform::RegListedValue> listed;
        const FakeRegistry::Key* key = registry_.find(root_, path_);
        if (registry_.record("listValues", {FakeRegistry::rootName(root_), path_}) || !key)
            return listed;
        for (auto it = key->values.begin(); it != key->values.end() && listed.size() < limit; ++it) {
            const std::string& name = key->names.at(it->first);
            const std::uint32_t type = it->second.type;
            const bool text = type == platform::regSz || type == platform::regExpandSz || type == platform::regMultiSz;
            std::vector<std::uint8_t> data;
            for (std::uint8_t byte : it->second.data) {
                data.push_back(byte);
                if (text)
                    data.push_back(0);
            }
            std::u16string wideName;
            for (unsigned char c : name)
                wideName.push_back(c);
            listed.push_back({std::move(wideName), type, std::move(data)});
        }
        return listed;
    }

    bool writeString(const std::string& name, const std::string& text) override
    {
        if (registry_.record("writeString", {FakeRegistry::rootName(root_), path_, name, text}))
            return false;
        FakeRegistry::Key* key = registry_.find(root_, path_);
        if (!key || readOnly_)
            return false;
        registry_.setString(root_, path_, name, text);
        return true;
    }

    bool deleteValue(const std::string& name) override
    {
        if (registry_.record("deleteValue", {FakeRegistry::rootName(root_), path_, name}))
            return false;
        FakeRegistry::Key* key = registry_.find(root_, path_);
        if (!key || readOnly_ || key->values.erase(platform::asciiLowered(name)) != 1)
            return false;
        registry_.edits_.emplace_back(root_, platform::asciiLowered(path_));
        return true;
    }

private:
    FakeRegistry& registry_;
    platform::RegRoot root_;
    std::string path_;
    bool readOnly_;
};

// Sees the edits made below its keys since it last looked.
class FakeRegistryWatch final : public platform::IRegistryWatch {
public:
    FakeRegistryWatch(FakeRegistry& registry, const std::vector<platform::RegKeyName>& keys)
        : registry_(registry), seen_(registry.edits_.size())
    {
        for (const platform::RegKeyName& key : keys)
            keys_.emplace_back(key.root, platform::asciiLowered(key.path));
    }

    bool changed() override
    {
        std::lock_guard lock(registry_.lock_);
        if (registry_.record("watchChanged"))
            return false;
        bool any = false;
        for (; seen_ < registry_.edits_.size(); ++seen_)
            for (const auto& [root, path] : keys_)
                any = any || (registry_.edits_[seen_].first == root &&
                              (registry_.edits_[seen_].second + "\\").starts_with(path + "\\"));
        return any;
    }

private:
    FakeRegistry& registry_;
    std::vector<FakeRegistry::KeyId> keys_;
    std::size_t seen_;
};

std::string FakeRegistry::rootName(platform::RegRoot root)
{
    return root == platform::RegRoot::CurrentUser ? "HKCU" : "HKLM";
}

FakeRegistry::Key* FakeRegistry::find(platform::RegRoot root, const std::string& path)
{
    return const_cast<Key*>(std::as_const(*this).find(root, path));
}

const FakeRegistry::Key* FakeRegistry::find(platform::RegRoot root, const std::string& path) const
{
    auto it = keys_.find({root, platform::asciiLowered(path)});
    return it == keys_.end() ? nullptr : &it->second;
}

std::unique_ptr<platform::IRegistryKey> FakeRegistry::open(const char* call, platform::RegRoot root,
                                                           const std::string& path, bool toRead)
{
    std::lock_guard lock(lock_);
    if (record(call, {rootName(root), path}))
        return nullptr;
    const Key* key = find(root, path);
    if (!key || key->unreadable || (key->denied && !toRead))
        return nullptr;
    return std::make_unique<FakeRegistryKey>(*this, root, path, toRead);
}

std::unique_ptr<platform::IRegistryKey> FakeRegistry::openKey(platform::RegRoot root, const std::string& path)
{
    return open("openKey", root, path, false);
}

std::unique_ptr<platform::IRegistryKey> FakeRegistry::openKeyToRead(platform::RegRoot root, const std::string& path)
{
    return open("openKeyToRead", root, path, true);
}

std::unique_ptr<platform::IRegistryWatch> FakeRegistry::watchKeys(const std::vector<platform::RegKeyName>& keys)
{
    std::vector<std::string> arguments;
    for (const platform::RegKeyName& key : keys)
        arguments.insert(arguments.end(), {rootName(key.root), key.path});
    if (record("watchKeys", arguments))
        return nullptr;
    return std::make_unique<FakeRegistryWatch>(*this, keys);
}

std::string FakeRegistry::programPath()
{
    if (record("programPath"))
        return {};
    return program;
}

void FakeRegistry::addKey(platform::RegRoot root, const std::string& path)
{
    keys_[{root, platform::asciiLowered(path)}];
    edits_.emplace_back(root, platform::asciiLowered(path));
}

void FakeRegistry::denyAccess(platform::RegRoot root, const std::string& path)
{
    keys_[{root, platform::asciiLowered(path)}].denied = true;
}

void FakeRegistry::denyReading(platform::RegRoot root, const std::string& path)
{
    keys_[{root, platform::asciiLowered(path)}].unreadable = true;
}

void FakeRegistry::setValue(platform::RegRoot root, const std::string& path, const std::string& name,
                            std::uint32_t type, std::vector<std::uint8_t> data)
{
    std::lock_guard lock(lock_);
    Key& key = keys_[{root, platform::asciiLowered(path)}];
    key.values[platform::asciiLowered(name)] = platform::RegValue{true, type, std::move(data)};
    key.names[platform::asciiLowered(name)] = name;
    edits_.emplace_back(root, platform::asciiLowered(path));
}

void FakeRegistry::setString(platform::RegRoot root, const std::string& path, const std::string& name,
                             const std::string& text, std::uint32_t type)
{
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    setValue(root, path, name, type, std::move(data));
}

std::optional<platform::RegValue> FakeRegistry::value(platform::RegRoot root, const std::string& path,
                                                      const std::string& name) const
{
    const Key* key = find(root, path);
    if (!key)
        return std::nullopt;
    auto it = key->values.find(platform::asciiLowered(name));
    if (it == key->values.end())
        return std::nullopt;
    return it->second;
}

std::optional<std::string> FakeRegistry::text(platform::RegRoot root, const std::string& path,
                                              const std::string& name) const
{
    auto v = value(root, path, name);
    if (!v)
        return std::nullopt;
    std::string result(v->data.begin(), v->data.end());
    return result.substr(0, result.find('\0'));
}
