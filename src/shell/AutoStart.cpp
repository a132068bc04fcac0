// The start-up registration component.
#include "shell/AutoStart.h"

#include "platform/PathText.h"

#include <algorithm>
#include <string_view>

namespace {

const char* const runKeyBase = "\\Software\\Microsoft\\Windows\\CurrentVersion\\";

const char* keyName(TAutoRunWhere where)
{
    switch (where) {
    case TAutoRunWhere::RunOnce:
        return "RunOnce";
    case TAutoRunWhere::RunServices:
        return "RunServices";
    case TAutoRunWhere::RunServicesOnce:
        return "RunServicesOnce";
    case TAutoRunWhere::Run:
        break;
    }
    return "Run";
}

platform::RegRoot rootOf(TRegLocation location)
{
    return location == TRegLocation::CurrentUser ? platform::RegRoot::CurrentUser
                                                 : platform::RegRoot::LocalMachine;
}

// The text of a string-typed value up to its first zero; other types give nothing.
std::string stringOf(const platform::RegValue& value)
{
    if (!value.found || (value.type != platform::regSz && value.type != platform::regExpandSz))
        return {};
    auto end = std::find(value.data.begin(), value.data.end(), std::uint8_t{0});
    return std::string(value.data.begin(), end);
}

// Whether a value's data starts this program: its path, quoted or not, in any
// letter case. The value's name is a common one; another program may own it.
bool namesProgram(const std::string& data, const std::string& program)
{
    std::string_view path = data;
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    return !program.empty() && platform::sameIgnoringCase(path, program);
}

} // namespace

TAutoStart::TAutoStart(TComponent* owner, platform::IRegistry& registry) : TComponent(owner), registry_(registry)
{
    keyPath_ = std::string(runKeyBase) + "Run";
    // Only a designer names the value here; a layout that is loading names it
    // itself, and reading the registry now would be too early.
    if (Has(csDesigning))
        SetAppName("MyApplication");
}

bool TAutoStart::CanUseRegistry() const
{
    return !Has(csDesigning) && !Has(csReading) && !Has(csLoading);
}

void TAutoStart::SetRegLocation(TRegLocation value)
{
    if (value == regLocation_)
        return;
    RewriteRunValue(value, appName_);
    regLocation_ = value;
    ApplyLocationRule();
}

void TAutoStart::SetAutoRunWhere(TAutoRunWhere value)
{
    if (value == autoRunWhere_)
        return;
    autoRunWhere_ = value;
    ApplyLocationRule();
    keyPath_ = std::string(runKeyBase) + keyName(autoRunWhere_);
}

void TAutoStart::SetAutoRun(bool value)
{
    if (value == autoRun_ || !CanUseRegistry())
        return;
    autoRun_ = value;
    ApplyLocationRule();
    RewriteRunValue(regLocation_, appName_);
}

void TAutoStart::SetAppName(const std::string& value)
{
    if (Has(csLoading)) {
        appName_ = value;
        bool found = false;
        if (registeredUnder(TRegLocation::CurrentUser)) {
            regLocation_ = TRegLocation::CurrentUser;
            found = true;
        } else if (registeredUnder(TRegLocation::LocalMachine)) {
            regLocation_ = TRegLocation::LocalMachine;
            found = true;
        }
        autoRun_ = found;
    } else if (!CanUseRegistry() && !value.empty() && value != appName_) {
        appName_ = value;
    }
}

void TAutoStart::ApplyLocationRule()
{
    if (regLocation_ == TRegLocation::CurrentUser &&
        (autoRunWhere_ == TAutoRunWhere::RunServices || autoRunWhere_ == TAutoRunWhere::RunServicesOnce))
        autoRunWhere_ = TAutoRunWhere::Run;
}

void TAutoStart::RewriteRunValue(TRegLocation location, const std::string& name)
{
    if (!CanUseRegistry())
        return;
    // Without its path the program cannot tell its value from another's: it writes
    // and deletes nothing then.
    const std::string program = registry_.programPath();
    for (TRegLocation root : {TRegLocation::CurrentUser, TRegLocation::LocalMachine})
        if (auto key = openKey(root); key && namesProgram(stringOf(key->readValue(name)), program))
            key->deleteValue(name);
    if (autoRun_) {
        auto key = openKey(location);
        // Quoted, so that a path with spaces cannot start another program; a value of
        // the name that another program owns is left to it.
        if (key && !program.empty() && !key->readValue(name).found)
            key->writeString(name, "\"" + program + "\"");
    }
    // AutoRun says what the registry holds now, whether or not the change could be made.
    autoRun_ = registeredUnder(TRegLocation::CurrentUser) || registeredUnder(TRegLocation::LocalMachine);
}

std::unique_ptr<platform::IRegistryKey> TAutoStart::openKey(TRegLocation location)
{
    // KeyPath is absolute from the root; the service takes it without the backslash.
    std::string path = keyPath_;
    if (!path.empty() && path.front() == '\\')
        path.erase(0, 1);
    return registry_.openKey(rootOf(location), path);
}

bool TAutoStart::registeredUnder(TRegLocation location)
{
    auto key = openKey(location);
    return key && namesProgram(stringOf(key->readValue(appName_)), registry_.programPath());
}
