// TAutoStart: registers the program to be started by Windows, as one string
// value in a "Run" key holding the program's quoted path. Reads the registry
// while its layout loads and writes it when AutoRun or RegLocation change
// afterwards; a value of its name that starts another program is never counted,
// overwritten or deleted. UI thread only. Registry failures are not reported and
// nothing throws, but AutoRun always ends as what the registry holds.
#pragma once

#include "platform/Registry.h"
#include "toolkit/Component.h"

#include <cstdint>
#include <string>

enum class TRegLocation : std::uint8_t { CurrentUser, LocalMachine };
enum class TAutoRunWhere : std::uint8_t { Run, RunOnce, RunServices, RunServicesOnce };

class TAutoStart : public TComponent {
public:
    TAutoStart(TComponent* owner, platform::IRegistry& registry);

    TRegLocation RegLocation() const { return regLocation_; }
    void SetRegLocation(TRegLocation value);

    TAutoRunWhere AutoRunWhere() const { return autoRunWhere_; }
    void SetAutoRunWhere(TAutoRunWhere value);

    bool AutoRun() const { return autoRun_; }
    void SetAutoRun(bool value);

    const std::string& AppName() const { return appName_; }
    void SetAppName(const std::string& value);

    // The key under the root, absolute (leading backslash).
    const std::string& KeyPath() const { return keyPath_; }

    // False in a design environment and while the layout is read: no writes then.
    bool CanUseRegistry() const;

protected:
    // Removes the program's value under both roots, then writes it under location
    // when AutoRun is on; AutoRun then says whether the program is registered.
    void RewriteRunValue(TRegLocation location, const std::string& name);
    // The service keys go only with the machine root.
    void ApplyLocationRule();

private:
    std::unique_ptr<platform::IRegistryKey> openKey(TRegLocation location);
    bool registeredUnder(TRegLocation location);

    platform::IRegistry& registry_;
    TRegLocation regLocation_ = TRegLocation::CurrentUser;
    TAutoRunWhere autoRunWhere_ = TAutoRunWhere::Run;
    bool autoRun_ = false;
    std::string appName_;
    std::string keyPath_;
};
