// The in-memory registry.
#include "support/FakeRegistry.h"

#include "platform/PathText.h"

#include <algorithm>
#include <utility>

class FakeRegistryKey final : public platform::IRegistryKey {
public:
    FakeRegistryKey(FakeRegistry& registry, platform::RegRoot root, std::string path)
        : registry_(registry), root_(root), path_(std::move(path))
    {
        ++registry_.openKeys;
    }
    ~FakeRegistryKey() override
    {
        --registry_.openKeys;
        registry_.record("closeKey", {FakeRegistry::rootName(root_), path_});
    }

    platform::RegValue readValue(const std::string& name) override
    {
        if (registry_.record("readValue", {FakeRegistry::rootName(root_), path_, name}))
            return {};
        auto value = registry_.value(root_, path_, name);
        return value.value_or(platform::RegValue{});
    }

    bool writeString(const std::string& name, const std::string& text) override
    {
        if (registry_.record("writeString", {FakeRegistry::rootName(root_), path_, name, text}))
            return false;
        FakeRegistry::Key* key = registry_.find(root_, path_);
        if (!key)
            return false;
        registry_.setString(root_, path_, name, text);
        return true;
    }

    bool deleteValue(const std::string& name) override
    {
        if (registry_.record("deleteValue", {FakeRegistry::rootName(root_), path_, name}))
            return false;
        FakeRegistry::Key* key = registry_.find(root_, path_);
        return key && key->values.erase(platform::asciiLowered(name)) == 1;
    }

private:
    FakeRegistry& registry_;
    platform::RegRoot root_;
    std::string path_;
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

std::unique_ptr<platform::IRegistryKey> FakeRegistry::openKey(platform::RegRoot root, const std::string& path)
{
    if (record("openKey", {rootName(root), path}))
        return nullptr;
    const Key* key = find(root, path);
    if (!key || key->denied)
        return nullptr;
    return std::make_unique<FakeRegistryKey>(*this, root, path);
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
}

void FakeRegistry::denyAccess(platform::RegRoot root, const std::string& path)
{
    keys_[{root, platform::asciiLowered(path)}].denied = true;
}

void FakeRegistry::setValue(platform::RegRoot root, const std::string& path, const std::string& name,
                            std::uint32_t type, std::vector<std::uint8_t> data)
{
    keys_[{root, platform::asciiLowered(path)}].values[platform::asciiLowered(name)] = platform::RegValue{true, type, std::move(data)};
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
