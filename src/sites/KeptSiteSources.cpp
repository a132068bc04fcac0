// The kept sites' outside sources, read when they may have changed.
#include "sites/KeptSiteSources.h"

#include "toolkit/Error.h"
#include "toolkit/Thread.h"

#include <algorithm>

namespace {

bool sameEntry(const TSourceSite& a, const TSourceSite& b)
{
    return a.name == b.name && a.source == b.source;
}

// A reading that fails gives nothing: the last one stands and the next tick tries again.
std::optional<TPolicies> readOrNothing(platform::IRegistry& registry)
{
    try {
        return ReadPolicies(registry);
    } catch (...) {
        return std::nullopt;
    }
}

} // namespace

// One reading of the policies, handed over to the UI thread as it ends.
class TKeptSiteSources::PolicyReading final : public TThread {
public:
    explicit PolicyReading(TKeptSiteSources& owner) : TThread(owner.uiThread_, owner.threads_), owner_(owner) {}
    ~PolicyReading() override { WaitFor(); }

protected:
    void Execute() override
    {
        // Nothing may unwind out of a thread.
        std::optional<TPolicies> read = readOrNothing(owner_.registry_);
        Synchronize([&] { owner_.take(std::move(read)); });
    }

private:
    TKeptSiteSources& owner_;
};

TKeptSiteSources::TKeptSiteSources(platform::IRegistry& registry, platform::IUiThread& uiThread,
                                   platform::IThreads& threads, TKeepSites& keptSites, ExceptionsReader exceptions,
                                   std::function<void()> changing)
    : registry_(registry), uiThread_(uiThread), threads_(threads), keptSites_(keptSites),
      exceptions_(std::move(exceptions)), changing_(std::move(changing))
{
    // Everything below Software\Policies, so that one event serves every browser's key.
    std::vector<platform::RegKeyName> watched;
    for (const platform::RegRoot root : policyRoots)
        watched.push_back({root, "Software\\Policies"});
    watch_ = registry_.watchKeys(watched);
}

TKeptSiteSources::~TKeptSiteSources()
{
    closing_ = true;
    thread_.reset();
}

void TKeptSiteSources::Look()
{
    if (exceptions_)
        exceptionSites_ = exceptions_();
    // Without a watch every look reads; with one, a reading stands until its keys change.
    if (!watch_ || watch_->changed() || readAgain_ || !(policiesKnown_ || reading_))
        readPolicies();
    if (keep() && OnChange)
        OnChange();
}

void TKeptSiteSources::Tick()
{
    const bool changed = watch_ && watch_->changed();
    if (changed || readAgain_ || !(policiesKnown_ || reading_))
        readPolicies();
}

void TKeptSiteSources::readPolicies()
{
    // The watch is armed again already: a change from now on asks for the next reading.
    if (reading_) {
        readAgain_ = true;
        return;
    }
    readAgain_ = false;
    reading_ = true;
    thread_.reset(); // the last reading's thread has handed over: it ends at once
    thread_ = std::make_unique<PolicyReading>(*this);
    try {
        thread_->Start();
    } catch (const Exception&) {
        // No thread to be had: read here rather than go on without the policies.
        thread_.reset();
        take(readOrNothing(registry_));
    }
}

void TKeptSiteSources::take(std::optional<TPolicies> read)
{
    if (closing_)
        return;
    // Cleared last, so that a look made from OnChange asks for a reading after this one.
    struct ReadingEnds {
        bool& reading;
        ~ReadingEnds() { reading = false; }
    } ends{reading_};
    // A change since the reading began may have moved values past its listing
    // (a deleted value shifts the rest): read once more, and meanwhile keep
    // what the last reading kept as well. Keeping a site too long loses nothing.
    if (watch_ && watch_->changed())
        readAgain_ = true;
    // The munch waits for the first reading only: an overlapped one keeps the
    // sites of both, and one that failed reads again at the next tick.
    policiesKnown_ = true;
    if (!read) {
        readAgain_ = true;
        return;
    }
    const bool overlapped = readAgain_;
    if (overlapped)
        read->sites.insert(read->sites.end(), policies_.sites.begin(), policies_.sites.end());
    const bool munchSiteDataChanged = read->munchSiteData != policies_.munchSiteData;
    policies_ = std::move(*read);
    const bool sitesChanged = keep();
    if ((sitesChanged || munchSiteDataChanged) && OnChange)
        OnChange();
}

bool TKeptSiteSources::keep()
{
    // The policies first: a site both name shows as the administrator's.
    std::vector<TSourceSite> named = policies_.sites;
    named.insert(named.end(), exceptionSites_.begin(), exceptionSites_.end());
    if (std::equal(named.begin(), named.end(), handed_.begin(), handed_.end(), sameEntry))
        return false;
    if (changing_)
        changing_();
    keptSites_.KeepFromSources(named);
    handed_ = std::move(named);
    return true;
}
