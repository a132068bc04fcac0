// Interim: the sites kept, as agreed with the branch that owns them; replaced
// by that branch's whole header when it is merged.
#pragma once

#include <set>
#include <string>
#include <string_view>

class TKeepSites {
public:
    bool Empty() const { return kept_.empty(); }
    bool Keeps(std::string_view host) const
    {
        std::string h(host.substr(host.starts_with('.') ? 1 : 0));
        for (char& c : h)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        for (const std::string& site : kept_)
            if (h == site || (h.size() > site.size() && h.ends_with(site) && h[h.size() - site.size() - 1] == '.'))
                return true;
        return false;
    }
    bool Keep(std::string_view site) { return kept_.emplace(site).second; }
    void Munched(std::string_view host) { munched_.emplace(host); }
    const std::set<std::string, std::less<>>& Kept() const { return kept_; }
    std::set<std::string, std::less<>> munched_;

private:
    std::set<std::string, std::less<>> kept_;
};
