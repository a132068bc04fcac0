// The policies read from the registry, and the administrative template that sets them.
#include "sites/PolicySites.h"

#include "support/FakeRegistry.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

using platform::RegRoot;

namespace {

const std::string firefoxAllow = PolicySiteLists().back();

// Each host read, with its source.
std::set<std::string> hostsOf(const TPolicies& policies)
{
    std::set<std::string> hosts;
    for (const TSourceSite& site : policies.sites) {
        std::string host;
        for (char16_t unit : site.name)
            host += unit < 0x80 ? static_cast<char>(unit) : '?';
        hosts.insert(host + " (" + site.source + ")");
    }
    return hosts;
}

} // namespace

TEST(PolicySites, EachStringValueNamesTheHostItsPatternNamesAndNothingElseNamesAny)
{
    const struct {
        std::uint32_t type;
        std::string bytes;
        std::set<std::string> hosts;
    } cases[] = {
        {platform::regSz, std::string("[*.]example.com\0", 16), {"example.com (policy)"}},
        {platform::regSz, "https://www.b\xfc" "cher.example:443/path", {"www.b?cher.example (policy)"}},
        {platform::regExpandSz, std::string("expand.example\0", 15), {"expand.example (policy)"}},
        {platform::regSz, std::string("http://192.168.0.1:8080\0", 24), {"192.168.0.1 (policy)"}},
        {platform::regSz, std::string("[*.]com\0", 8), {"com (policy)"}}, // a public suffix: the kept sites refuse it
        {platform::regSz, std::string("https://*\0", 10), {}},
        {platform::regSz, std::string("*\0", 2), {}},
        {platform::regSz, "", {}},
        {platform::regSz, std::string("\0example.com\0", 13), {}},
        {platform::regMultiSz, std::string("multi.example\0\0", 15), {}},
        {platform::regDword, std::string("\1\0\0\0", 4), {}},
        {platform::regBinary, "bin.example", {}},
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        registry.setValue(RegRoot::CurrentUser, firefoxAllow, "1", c.type, {c.bytes.begin(), c.bytes.end()});
        EXPECT_EQ(hostsOf(ReadPolicies(registry)), c.hosts) << c.bytes;
    }
}

TEST(PolicySites, EveryListOfBothRootsIsReadUpToItsBoundAndAKeyNoOneMayReadSaysNothing)
{
    FakeRegistry registry;
    for (const char* list : PolicySiteLists())
        registry.setString(RegRoot::LocalMachine, list, "1", std::string(list).substr(18, 3) + "m.example");
    registry.setString(RegRoot::CurrentUser, nombletKeepSitesKey, "1", "user.example");
    registry.denyAccess(RegRoot::CurrentUser, nombletKeepSitesKey); // a user may read, not change, a policy
    for (int n = 1; n <= 10001; ++n)
        registry.setString(RegRoot::CurrentUser, firefoxAllow, std::to_string(n), "s" + std::to_string(n) + ".example");
    registry.setString(RegRoot::CurrentUser, PolicySiteLists()[1], "1", "hidden.example");
    registry.denyReading(RegRoot::CurrentUser, PolicySiteLists()[1]);

    const TPolicies read = ReadPolicies(registry);
    EXPECT_EQ(read.sites.size(), PolicySiteLists().size() + 1 + maxPolicyValues) << "one per list, and the user's";
    const std::set<std::string> hosts = hostsOf(read);
    for (const char* host : {"Nomm.example (policy)", "Goom.example (policy)", "Micm.example (policy)",
                             "Chrm.example (policy)", "Bram.example (policy)", "Yanm.example (policy)",
                             "Mozm.example (policy)", "user.example (policy)"})
        EXPECT_TRUE(hosts.contains(host)) << host;
    EXPECT_FALSE(hosts.contains("hidden.example (policy)"));
}

TEST(PolicySites, MunchSiteDataIsTheMachinesNumberElseTheUsersAndOnlyAFourByteZeroOrOne)
{
    const std::optional<std::string> none;
    const struct {
        std::optional<std::string> machine, user;
        std::uint32_t type;
        std::optional<bool> rules;
    } cases[] = {
        {none, none, platform::regDword, std::nullopt},
        {none, std::string("\1\0\0\0", 4), platform::regDword, true},
        {std::string("\0\0\0\0", 4), std::string("\1\0\0\0", 4), platform::regDword, false},
        {std::string("\2\0\0\0", 4), std::string("\1\0\0\0", 4), platform::regDword, true},
        {std::string("\1\0", 2), none, platform::regDword, std::nullopt},
        {std::string("1\0", 2), none, platform::regSz, std::nullopt},
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        for (const auto& [root, bytes] : {std::pair{RegRoot::LocalMachine, c.machine}, std::pair{RegRoot::CurrentUser, c.user}})
            if (bytes)
                registry.setValue(root, nombletPolicyKey, munchSiteDataPolicy, c.type, {bytes->begin(), bytes->end()});
        EXPECT_EQ(ReadPolicies(registry).munchSiteData, c.rules);
    }
}

// The template, read as Group Policy reads it: every element with its attributes.
struct TemplateElement {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
};

std::vector<TemplateElement> readTemplate(const std::string& file)
{
    std::ifstream in(std::string(NOMBLET_SOURCE_DIR) + "/policy/" + file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<TemplateElement> elements;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &elements);
    XML_SetElementHandler(
        parser,
        [](void* data, const XML_Char* name, const XML_Char** attributes) {
            auto& read = *static_cast<std::vector<TemplateElement>*>(data);
            read.push_back({name, {}, {}});
            for (; *attributes; attributes += 2)
                read.back().attributes[attributes[0]] = attributes[1];
        },
        nullptr);
    XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* chars, int length) {
        static_cast<std::vector<TemplateElement>*>(data)->back().text.append(chars, length);
    });
    const bool wellFormed = XML_Parse(parser, text.str().data(), static_cast<int>(text.str().size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    EXPECT_TRUE(wellFormed) << file;
    return elements;
}

TEST(PolicySites, TheTemplateSetsEveryPolicyOfTheProgramAndItsLanguageFileHoldsEveryTextItNames)
{
    const std::vector<TemplateElement> admx = readTemplate("nomblet.admx");
    const std::vector<TemplateElement> adml = readTemplate("en-US/nomblet.adml");
    auto has = [](const std::vector<TemplateElement>& elements, const std::string& name, const std::string& attribute,
                  const std::string& value) {
        return std::any_of(elements.begin(), elements.end(), [&](const TemplateElement& e) {
            return e.name == name && e.attributes.contains(attribute) && e.attributes.at(attribute) == value;
        });
    };
    EXPECT_TRUE(has(admx, "list", "key", nombletKeepSitesKey));
    EXPECT_TRUE(has(admx, "list", "valuePrefix", "")) << "values named 1, 2, ...";
    EXPECT_TRUE(has(admx, "policy", "key", nombletPolicyKey));
    EXPECT_TRUE(has(admx, "policy", "valueName", munchSiteDataPolicy));

    int references = 0;
    for (const TemplateElement& element : admx)
        for (const auto& [attribute, value] : element.attributes)
            for (const std::string kind : {"string", "presentation"})
                if (value.starts_with("$(" + kind + ".")) {
                    ++references;
                    const std::string id = value.substr(kind.size() + 3, value.size() - kind.size() - 4);
                    EXPECT_TRUE(has(adml, kind, "id", id)) << value;
                }
    EXPECT_GT(references, 0);
    for (const TemplateElement& element : adml)
        if (element.attributes.contains("refId"))
            EXPECT_TRUE(has(admx, "list", "id", element.attributes.at("refId"))) << element.attributes.at("refId");
}
