// A munched cookie's host, as a browser's store may hold anything: its site in
// the menu is an ending of the host at a dot, one that can be kept (never a
// public suffix) and that keeps the host; its caption names that site again;
// and Punycode that decodes encodes back to itself (letter case aside).
#include "FuzzInput.h"
#include "sites/KeepSites.h"
#include "sites/Punycode.h"
#include "platform/PathText.h"
#include "support/FakeCodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string host = FuzzInput(data, size).rest();

    if (const auto decoded = PunycodeDecode(host))
        FUZZ_CHECK(platform::asciiLowered(PunycodeEncode(*decoded).value_or("?")) == platform::asciiLowered(host));

    const std::string site = MenuSiteOfHost(host);
    if (site.empty())
        return 0;
    const std::string name = HostForMatching(host);
    FUZZ_CHECK(name == site || name.ends_with("." + site));
    TKeepSites kept;
    FUZZ_CHECK(kept.Keep(site) && kept.Kept().contains(site) && kept.Keeps(host));
    FakeCodePage codePage;
    FUZZ_CHECK(SiteOfSpelling(codePage, CaptionOfSite(codePage, site)) == site);
    return 0;
}
