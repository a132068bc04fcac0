// A munched cookie's host, as a browser's store may hold anything: its site in
// the menu is an ending of the host at a dot, one that can be kept (never a
// public suffix) and that keeps the host; its caption names that site again;
// and Punycode that decodes encodes back to itself (letter case aside). The
// same bytes as a key written by a person (in the code page, and as UTF-16):
// the site it names is its own site, keeps the names below it and what is
// partitioned under it, and, when it is an address, no other address. The
// UTF-16 reads back as itself through its code points, and a mapped name once
// normalised stays so.
#include "FuzzInput.h"
#include "sites/CodePoints.h"
#include "sites/IdnaMapping.h"
#include "sites/KeepSites.h"
#include "sites/Nfc.h"
#include "sites/Punycode.h"
#include "platform/PathText.h"
#include "support/FakeCodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string host = FuzzInput(data, size).rest();

    if (const auto decoded = PunycodeDecode(host))
        FUZZ_CHECK(platform::asciiLowered(PunycodeEncode(*decoded).value_or("?")) == platform::asciiLowered(host));

    FakeCodePage codePage;
    std::u16string wide;
    for (std::size_t i = 0; i + 1 < host.size(); i += 2)
        wide += static_cast<char16_t>(static_cast<unsigned char>(host[i]) |
                                      static_cast<unsigned char>(host[i + 1]) << 8);
    if (const auto points = CodePointsOfUtf16(wide)) {
        FUZZ_CHECK(Utf16OfCodePoints(*points) == wide);
        if (const auto mapped = IdnaMapped(*points)) {
            const std::u32string normalised = NfcNormalized(*mapped);
            FUZZ_CHECK(NfcNormalized(normalised) == normalised);
        }
    }
    for (const std::string& keySite : {SiteOfSpelling(codePage, host), SiteOfName(wide)}) {
        if (keySite.empty())
            continue;
        FUZZ_CHECK(MenuSiteOfHost(keySite) == keySite &&
                   SiteOfName(std::u16string(keySite.begin(), keySite.end())) == keySite);
        TKeepSites byKey;
        const bool address = keySite.find_first_not_of("0123456789.") == std::string::npos;
        FUZZ_CHECK(byKey.Keep(keySite) && byKey.Keeps(keySite) && byKey.Keeps("1." + keySite) == !address &&
                   !byKey.Keeps("x" + keySite) && byKey.KeepsOrigin({"https", "other.invalid", 0, keySite}));
    }

    const std::string site = MenuSiteOfHost(host);
    if (site.empty())
        return 0;
    const std::string name = HostForMatching(host);
    FUZZ_CHECK(name == site || name.ends_with("." + site));
    TKeepSites kept;
    FUZZ_CHECK(kept.Keep(site) && kept.Kept().contains(site) && kept.Keeps(host));
    FUZZ_CHECK(SiteOfSpelling(codePage, CaptionOfSite(codePage, site)) == site);
    return 0;
}
