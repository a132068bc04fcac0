// A private-profile service held in memory: files of sections of keys, looked
// up without regard to letter case, as the real one does.
#pragma once

#include "platform/Profile.h"
#include "support/FakeService.h"

#include <map>
#include <optional>
#include <utility>
#include <vector>

class FakeProfile final : public platform::IProfile, public FakeService {
public:
    std::string readString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& fallback, std::size_t bufferSize) override;
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    std::vector<std::string> readKeyNames(const std::string& file, const std::string& section) override;
    bool removeKey(const std::string& file, const std::string& section, const std::string& key) override;

    // Direct access for tests, bypassing the call log and the faults.
    void set(const std::string& file, const std::string& section, const std::string& key, const std::string& value);
    std::optional<std::string> get(const std::string& file, const std::string& section,
                                   const std::string& key) const;
    bool hasFile(const std::string& file) const;
    // Replaces a file by what the text of an INI file holds, read as the real
    // service reads one: "[section]" lines, "key=value" lines with blanks cut
    // from both ends of key and value and one pair of enclosing quotes taken
    // off the value, the first of equal sections and keys winning (a repeated
    // section is never read); lines without "=", comment lines (";") and lines
    // before the first section give nothing.
    void loadText(const std::string& file, const std::string& text);

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
    };
    using File = std::vector<Section>;

    Section* findSection(const std::string& file, const std::string& section);
    const Section* findSection(const std::string& file, const std::string& section) const;

    std::map<std::string, File> files_;
};
