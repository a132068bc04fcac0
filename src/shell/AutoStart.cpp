// The start-up registration component.
#include "shell/AutoStart.h"

#include <algorithm>

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

} // namespace

TAutoStart::TAutoStart(TComponent* owner, platform::IRegistry& registry) : TComponent(owner), registry_(registry)
{
    if (!CanUseRegistry())
        SetAppName("MyApplication");
    keyPath_ = std::string(runKeyBase) + "Run";
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
    for (TRegLocation root : {TRegLocation::CurrentUser, TRegLocation::LocalMachine})
        if (auto key = openKey(root))
            key->deleteValue(name);
    auto key = openKey(location);
    if (!key || !autoRun_)
        return;
    // Without its path the value would start nothing: better none at all.
    std::string program = registry_.programPath();
    if (!program.empty())
        key->writeString(name, program);
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
    return key && !stringOf(key->readValue(appName_)).empty();
}
