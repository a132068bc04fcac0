// The sites kept by something other than the user's tick, gathered into the
// kept sites: Group Policy and the browsers' own cookie exceptions. The
// policies are read from the first tick on, again as the menu opens when their
// keys changed, and between only when a policy key tells of a change (one look
// without waiting per tick).
//
// Threading: made, driven and freed on the UI thread. A reading of the
// policies runs on a thread of its own (10,000 values take seconds under
// Wine), and its result is handed over to the UI thread; meanwhile the last
// reading stands and nothing waits for it. The registry watch stays on the UI
// thread, whose notifications it is tied to.
#pragma once

#include "platform/Registry.h"
#include "platform/Threads.h"
#include "platform/UiThread.h"
#include "sites/KeepSites.h"
#include "sites/PolicySites.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TKeptSiteSources {
public:
    // The browsers' own exceptions of the browsers found, each file read again
    // only when it changed.
    using ExceptionsReader = std::function<std::vector<TSourceSite>()>;

    // changing: called before the kept sites change, so that work under way
    // with the old list never finishes with it.
    TKeptSiteSources(platform::IRegistry& registry, platform::IUiThread& uiThread, platform::IThreads& threads,
                     TKeepSites& keptSites, ExceptionsReader exceptions, std::function<void()> changing);
    // Waits for a reading under way, whose result is then dropped.
    ~TKeptSiteSources();
    TKeptSiteSources(const TKeptSiteSources&) = delete;
    TKeptSiteSources& operator=(const TKeptSiteSources&) = delete;

    // Takes the exceptions, and starts reading the policies when they were
    // never read, their keys changed or cannot be watched.
    void Look();
    // A tick: starts reading the policies when they were never read, their
    // keys changed, or they changed during the last reading; else touches nothing.
    void Tick();

    // Whether a reading of the policies that no change overlapped has come in:
    // until then the kept sites may miss a site a policy keeps, and nothing is
    // to be munched.
    bool PoliciesKnown() const { return policiesKnown_; }
    // The policy's "Munch Site Data", when one is set: it rules the row.
    std::optional<bool> MunchSiteData() const { return policies_.munchSiteData; }

    // Called on the UI thread once the kept sites or the policy's "Munch Site
    // Data" changed (after a Look, or when a reading came in).
    std::function<void()> OnChange;

private:
    class PolicyReading;

    // Starts a reading, or asks for one after the reading under way.
    void readPolicies();
    // A reading come in; none when it failed (tried again at the next tick).
    void take(std::optional<TPolicies> read);
    // Hands the sources' sites to the kept sites when they changed.
    bool keep();

    platform::IRegistry& registry_;
    platform::IUiThread& uiThread_;
    platform::IThreads& threads_;
    TKeepSites& keptSites_;
    ExceptionsReader exceptions_;
    std::function<void()> changing_;
    std::unique_ptr<platform::IRegistryWatch> watch_;
    bool policiesKnown_ = false;
    bool reading_ = false;   // a reading is under way
    bool readAgain_ = false; // the policies may have changed since the reading under way began
    bool closing_ = false;
    TPolicies policies_;
    std::vector<TSourceSite> exceptionSites_;
    std::vector<TSourceSite> handed_; // what the kept sites took last, in order
    std::unique_ptr<PolicyReading> thread_; // the latest reading's, kept until the next one starts
};
