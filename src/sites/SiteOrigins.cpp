// The origins of a browser's site data, read from their names.
#include "sites/SiteOrigins.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::string_view indexedDbSuffixes[] = {".indexeddb.leveldb", ".indexeddb.blob"};

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string lowered(std::string_view text)
{
    std::string low(text);
    std::transform(low.begin(), low.end(), low.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
    return low;
}

// A URL scheme: a letter, then letters, digits, '+', '-' or '.'.
bool isScheme(std::string_view text)
{
    return !text.empty() && isAsciiLetter(text.front()) && std::all_of(text.begin(), text.end(), [](char c) {
               return isAsciiLetter(c) || isDigit(c) || c == '+' || c == '-' || c == '.';
           });
}

bool isWebScheme(std::string_view scheme)
{
    return scheme == "http" || scheme == "https";
}

// A host as the browsers write a web origin's: a name of letters, digits,
// '-', '_' and '.', or an IPv6 address in brackets.
bool isWebHost(std::string_view host)
{
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        return std::all_of(host.begin() + 1, host.end() - 1, [](char c) {
            return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' || c == '.';
        });
    return !host.empty() && host.size() <= 253 && std::all_of(host.begin(), host.end(), [](char c) {
               return isAsciiLetter(c) || isDigit(c) || c == '-' || c == '_' || c == '.';
           });
}

// A port of digits only; an empty one is the scheme's own.
std::optional<std::uint16_t> portOf(std::string_view text)
{
    if (text.empty())
        return std::uint16_t{0};
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 65535 || !isDigit(text.front()))
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

// The origin of scheme, host and port text; a web origin must have a host of
// its kind, any other scheme's rest is taken as it is.
std::optional<TSiteOrigin> originOf(std::string_view scheme, std::string_view host, std::string_view port)
{
    if (!isScheme(scheme))
        return std::nullopt;
    TSiteOrigin origin{lowered(scheme), std::string(host), 0, {}};
    if (!isWebScheme(origin.Scheme))
        return origin;
    const std::optional<std::uint16_t> number = portOf(port);
    if (!isWebHost(host) || !number)
        return std::nullopt;
    origin.Port = *number;
    return origin;
}

// "%28https%2Cexample.com%29" as the bytes it stands for; nothing when a
// percent sign is not followed by two hex digits.
std::optional<std::string> percentDecoded(std::string_view text)
{
    const auto hex = [](char c) -> int {
        if (isDigit(c))
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        if (i + 2 >= text.size() || hex(text[i + 1]) < 0 || hex(text[i + 2]) < 0)
            return std::nullopt;
        decoded += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
        i += 2;
    }
    return decoded;
}

// Firefox's origin attributes after the '^': "userContextId=1&partitionKey=...".
// A partition key "(https,example.com)" or "(http,localhost,8080)" names the
// top-level site; so does a first-party domain. False when one cannot be read.
bool readMozillaAttributes(std::string_view text, TSiteOrigin& origin)
{
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('&'), text.size());
        const std::string_view attribute = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::size_t equals = attribute.find('=');
        if (equals == std::string_view::npos || equals == 0)
            return false;
        const std::string_view key = attribute.substr(0, equals);
        const std::optional<std::string> value = percentDecoded(attribute.substr(equals + 1));
        if (!value)
            return false;
        if (key == "firstPartyDomain") {
            if (!isWebHost(*value))
                return false;
            origin.TopLevelHost = *value;
        } else if (key == "partitionKey") {
            const std::string_view key = *value;
            const std::size_t comma = key.find(',');
            if (key.size() < 2 || key.front() != '(' || key.back() != ')' || comma == std::string_view::npos)
                return false;
            const std::string_view site = key.substr(comma + 1, key.size() - comma - 2);
            const std::string_view host = site.substr(0, site.find(','));
            if (!isWebHost(host))
                return false;
            origin.TopLevelHost = host;
        }
    }
    return true;
}

// "https+++www.example.com", "http+++news.example+8080", "http+++[++1]+8080",
// each maybe followed by "^attributes": the origin with ':' and '/' written '+'.
std::optional<TSiteOrigin> readMozillaFolder(std::string_view name)
{
    const std::size_t caret = name.find('^');
    const std::string_view spelled = name.substr(0, caret);
    const std::size_t plus = spelled.find('+');
    const std::string_view scheme = spelled.substr(0, plus);
    std::optional<TSiteOrigin> origin;
    if (plus == std::string_view::npos) {
        origin = originOf(scheme, {}, {}); // "chrome", "about+home" go below
    } else if (!isWebScheme(lowered(scheme))) {
        origin = originOf(scheme, spelled.substr(plus + 1), {});
    } else if (spelled.substr(plus, 3) == "+++") {
        std::string rest(spelled.substr(plus + 3));
        // An IPv6 host had its colons written '+' as well.
        std::size_t hostEnd = 0;
        if (!rest.empty() && rest.front() == '[') {
            hostEnd = rest.find(']');
            if (hostEnd == std::string::npos)
                return std::nullopt;
            std::replace(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(hostEnd), '+', ':');
            ++hostEnd;
        } else {
            hostEnd = std::min(rest.find('+'), rest.size());
        }
        const std::string_view host = std::string_view(rest).substr(0, hostEnd);
        std::string_view port = std::string_view(rest).substr(hostEnd);
        if (!port.empty() && port.front() != '+')
            return std::nullopt;
        if (!port.empty())
            port.remove_prefix(1);
        if (port.empty() && hostEnd < rest.size())
            return std::nullopt;
        origin = originOf(scheme, host, port);
    }
    if (origin && caret != std::string_view::npos && !readMozillaAttributes(name.substr(caret + 1), *origin))
        return std::nullopt;
    return origin;
}

// "moc.elpmaxe.:https:443": the host written backwards and a dot, the scheme
// and the port; the origin attributes may follow after a '^'.
std::optional<TSiteOrigin> readMozillaKey(std::string_view name)
{
    const std::size_t caret = name.find('^');
    std::string_view key = name.substr(0, caret);
    const std::size_t dotColon = key.rfind(".:");
    if (dotColon == std::string_view::npos)
        return std::nullopt;
    std::string host(key.substr(0, dotColon));
    std::reverse(host.begin(), host.end());
    key.remove_prefix(dotColon + 2);
    const std::size_t colon = key.find(':');
    std::optional<TSiteOrigin> origin = originOf(key.substr(0, colon), host,
                                                 colon == std::string_view::npos ? std::string_view() : key.substr(colon + 1));
    if (origin && caret != std::string_view::npos && !readMozillaAttributes(name.substr(caret + 1), *origin))
        return std::nullopt;
    return origin;
}

// "https_www.example.com_0.indexeddb.leveldb": scheme, host and port (0 for
// the scheme's own) joined by '_'.
std::optional<TSiteOrigin> readIndexedDb(std::string_view name)
{
    const auto suffix = std::find_if(std::begin(indexedDbSuffixes), std::end(indexedDbSuffixes), [&](auto s) {
        return name.size() > s.size() && name.substr(name.size() - s.size()) == s;
    });
    if (suffix == std::end(indexedDbSuffixes))
        return std::nullopt;
    name.remove_suffix(suffix->size());
    const std::size_t first = name.find('_');
    const std::size_t last = name.rfind('_');
    if (first == std::string_view::npos || first == last)
        return std::nullopt;
    std::string_view port = name.substr(last + 1);
    if (port == "0")
        port = {};
    return originOf(name.substr(0, first), name.substr(first + 1, last - first - 1), port);
}

// "https://example.com:8443/" with or without the closing slash, then maybe
// "^0https://top.example" (the top-level site) and other "^<digit>" parts.
std::optional<TSiteOrigin> readStorageKey(std::string_view name)
{
    const std::size_t caret = name.find('^');
    std::string_view url = name.substr(0, caret);
    const std::size_t separator = url.find("://");
    if (separator == std::string_view::npos)
        return std::nullopt;
    const std::string_view scheme = url.substr(0, separator);
    url.remove_prefix(separator + 3);
    if (!url.empty() && url.back() == '/')
        url.remove_suffix(1);
    std::optional<TSiteOrigin> origin;
    if (!isWebScheme(lowered(scheme))) {
        origin = originOf(scheme, url, {});
    } else if (!url.empty() && url.find('/') == std::string_view::npos) {
        // The port's colon comes after an IPv6 host's brackets.
        const std::size_t hostEnd = url.front() == '[' ? url.find(']') : 0;
        const std::size_t colon = hostEnd == std::string_view::npos ? hostEnd : url.find(':', hostEnd);
        if (hostEnd == std::string_view::npos || colon == url.size() - 1)
            return std::nullopt;
        origin = originOf(scheme, url.substr(0, colon),
                          colon == std::string_view::npos ? std::string_view() : url.substr(colon + 1));
    }
    for (std::string_view rest = caret == std::string_view::npos ? std::string_view() : name.substr(caret);
         origin && !rest.empty();) {
        const std::size_t next = std::min(rest.find('^', 1), rest.size());
        const std::string_view part = rest.substr(0, next);
        rest.remove_prefix(next);
        if (part.size() < 2 || !isDigit(part[1]))
            return std::nullopt;
        if (part[1] == '0') {
            const std::optional<TSiteOrigin> site = readStorageKey(part.substr(2));
            if (!site || !site->Web())
                return std::nullopt;
            origin->TopLevelHost = site->Host;
        }
    }
    return origin;
}

// A base-128 number of up to ten bytes, taken off the front of the text.
std::optional<std::uint64_t> varint(std::string_view& bytes)
{
    std::uint64_t value = 0;
    for (int shift = 0; shift < 70 && !bytes.empty(); shift += 7) {
        const auto byte = static_cast<std::uint8_t>(bytes.front());
        bytes.remove_prefix(1);
        value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            return value;
    }
    return std::nullopt;
}

// A cache index is a protocol buffer: its caches in field 1, and its origin
// (or storage key) as a text field of its own beside them.
std::optional<TSiteOrigin> readCacheIndex(std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::optional<std::uint64_t> key = varint(bytes);
        if (!key)
            return std::nullopt;
        std::size_t skip = 0;
        switch (*key & 7) {
        case 0:
            if (!varint(bytes))
                return std::nullopt;
            break;
        case 1:
            skip = 8;
            break;
        case 5:
            skip = 4;
            break;
        case 2: {
            const std::optional<std::uint64_t> length = varint(bytes);
            if (!length || *length > bytes.size())
                return std::nullopt;
            if (*key >> 3 != 1)
                if (std::optional<TSiteOrigin> origin = readStorageKey(bytes.substr(0, *length)))
                    return origin;
            skip = *length;
            break;
        }
        default:
            return std::nullopt;
        }
        if (skip > bytes.size())
            return std::nullopt;
        bytes.remove_prefix(skip);
    }
    return std::nullopt;
}

} // namespace

bool TSiteOrigin::Web() const
{
    return isWebScheme(Scheme) && !Host.empty();
}

std::optional<TSiteOrigin> ReadSiteOrigin(TOriginNaming naming, std::string_view name)
{
    switch (naming) {
    case TOriginNaming::onMozillaFolder:
        return readMozillaFolder(name);
    case TOriginNaming::onMozillaKey:
        return readMozillaKey(name);
    case TOriginNaming::onChromiumIndexedDb:
        return readIndexedDb(name);
    case TOriginNaming::onStorageKey:
        return readStorageKey(name);
    case TOriginNaming::onCacheIndex:
        return readCacheIndex(name);
    }
    return std::nullopt;
}
