// The in-memory private-profile service.
#include "support/FakeProfile.h"

#include "platform/PathText.h"

#include <algorithm>

const FakeProfile::Section* FakeProfile::findSection(const std::string& file, const std::string& section) const
{
    auto f = files_.find(file);
    if (f == files_.end())
        return nullptr;
    for (const Section& s : f->second)
        if (platform::sameIgnoringCase(s.name, section))
            return &s;
    return nullptr;
}

FakeProfile::Section* FakeProfile::findSection(const std::string& file, const std::string& section)
{
    return const_cast<Section*>(std::as_const(*this).findSection(file, section));
}

std::string FakeProfile::readString(const std::string& file, const std::string& section, const std::string& key,
                                    const std::string& fallback, std::size_t bufferSize)
{
    // A read that fails gives the fallback, as for a missing key.
    const bool failed = record("readString", {file, section, key, fallback, std::to_string(bufferSize)});
    std::string value = failed ? fallback : get(file, section, key).value_or(fallback);
    if (bufferSize == 0)
        return {};
    return value.substr(0, bufferSize - 1);
}

bool FakeProfile::writeString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& value)
{
    if (record("writeString", {file, section, key, value}))
        return false;
    set(file, section, key, value);
    return true;
}

std::vector<std::string> FakeProfile::readKeyNames(const std::string& file, const std::string& section)
{
    // A read that fails finds no section.
    std::vector<std::string> names;
    const Section* s = record("readKeyNames", {file, section}) ? nullptr : findSection(file, section);
    if (s)
        for (const auto& entry : s->keys)
            names.push_back(entry.first);
    return names;
}

bool FakeProfile::removeKey(const std::string& file, const std::string& section, const std::string& key)
{
    if (record("removeKey", {file, section, key}))
        return false;
    if (Section* s = findSection(file, section))
        std::erase_if(s->keys, [&](const auto& entry) { return platform::sameIgnoringCase(entry.first, key); });
    return true;
}

void FakeProfile::set(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value)
{
    Section* s = findSection(file, section);
    if (!s) {
        files_[file].push_back({section, {}});
        s = &files_[file].back();
    }
    for (auto& entry : s->keys) {
        if (platform::sameIgnoringCase(entry.first, key)) {
            entry.second = value;
            return;
        }
    }
    s->keys.emplace_back(key, value);
}

std::optional<std::string> FakeProfile::get(const std::string& file, const std::string& section,
                                            const std::string& key) const
{
    const Section* s = findSection(file, section);
    if (!s)
        return std::nullopt;
    for (const auto& entry : s->keys)
        if (platform::sameIgnoringCase(entry.first, key))
            return entry.second;
    return std::nullopt;
}

bool FakeProfile::hasFile(const std::string& file) const
{
    return files_.count(file) != 0;
}

namespace {

std::string trimmed(const std::string& s)
{
    const char* blanks = " \t\r";
    std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

} // namespace

void FakeProfile::loadText(const std::string& file, const std::string& text)
{
    File& loaded = files_[file];
    loaded.clear();
    Section* current = nullptr;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';')
            continue;
        std::size_t close = line.rfind(']');
        if (line[0] == '[' && close != std::string::npos) {
            // A repeated section stays apart: lookups find the first one only.
            loaded.push_back({trimmed(line.substr(1, close - 1)), {}});
            current = &loaded.back();
            continue;
        }
        std::size_t equals = line.find('=');
        if (!current || equals == std::string::npos)
            continue;
        std::string key = trimmed(line.substr(0, equals));
        std::string value = trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        bool known = std::any_of(current->keys.begin(), current->keys.end(),
                                 [&](const auto& entry) { return platform::sameIgnoringCase(entry.first, key); });
        if (!known)
            current->keys.emplace_back(key, value);
    }
}
