// The settings file's text, read by the fake profile as the real service reads
// one, through the main window's start-up: every setting reaches the state as
// the file holds it (cut to the read buffer), only exactly "1" sets a mark, a
// blank cookie folder becomes the default one, a site is kept by a key naming it,
// valued "1", a named sound that cannot be used leaves the program
// running, and what is saved is what was read.
#include "FuzzInput.h"
#include "app/MainForm.h"
#include "support/FakePlatform.h"
#include "toolkit/Application.h"

#include <algorithm>
#include <set>

namespace {

constexpr const char* ini = "nomblet.ini";
constexpr std::size_t longestValue = 2047; // a 2048-byte buffer and its terminator

bool blank(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

struct Expected {
    std::string name, operaName, cookieDir, icq, crunch, burp;
    bool munchIcq, soundsOn;
    std::set<std::string, std::less<>> keptSites;
};

Expected expectedFrom(FakeProfile& profile, FakeCodePage& codePage, const std::string& windowsDir)
{
    auto value = [&](const char* section, const char* key, const char* fallback) {
        return profile.get(ini, section, key).value_or(fallback).substr(0, longestValue);
    };
    Expected e{value("Cookie File", "Name", ""),      value("Cookie File", "OName", ""),
               value("Cookie Dir", "Dir", ""),        value("Cookie Dat", "ICQ", ""),
               value("Settings", "CrunchWave", "default"), value("Settings", "BurpWave", "default"),
               value("Settings", "MunchICQ", "1") == "1",  value("Settings", "SoundsOn", "1") == "1", {}};
    if (blank(e.cookieDir))
        e.cookieDir = windowsDir + "\\cookies";
    // Keys naming a site valued exactly "1", as sites.
    for (const std::string& key : profile.readKeyNames(ini, "Keep Sites"))
        if (value("Keep Sites", key.c_str(), "") == "1" && !SiteOfSpelling(codePage, key).empty())
            e.keptSites.insert(SiteOfSpelling(codePage, key));
    return e;
}

void checkState(TForm1& form, const Expected& e)
{
    FUZZ_CHECK(form.State.CookieTxtFile == e.name);
    FUZZ_CHECK(form.State.OperaCookieFile == e.operaName);
    FUZZ_CHECK(form.State.IECookieDir == e.cookieDir);
    FUZZ_CHECK(form.State.ICQCookieFile == e.icq);
    FUZZ_CHECK(form.State.CrunchWaveFile == e.crunch);
    FUZZ_CHECK(form.State.BurpWaveFile == e.burp);
    FUZZ_CHECK(form.DeleteICQCookies1->Checked == e.munchIcq);
    FUZZ_CHECK(form.SoundsOn1->Checked == e.soundsOn);
    FUZZ_CHECK(form.KeptSites.Kept() == e.keptSites);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FakePlatform fakes;
    // Sounds a setting may name: one good, one broken, one folder.
    fakes.fileSystem.addFile("C:\\snd\\bad.wav", "RIFF\xff\xff\xff\x7fWAVEdata");
    fakes.fileSystem.addFolder("C:\\snd\\dir.wav");
    fakes.profile.loadText(ini, std::string(reinterpret_cast<const char*>(data), size));
    Expected expected = expectedFrom(fakes.profile, fakes.codePage, fakes.folders.windowsDir);

    TApplication app(fakes.ui);
    app.SetTitle("Nomblet");
    TUrlCache::TestLibraryAtStart(fakes.urlCache);
    TForm1& form = app.CreateForm<TForm1>(fakes.services);
    checkState(form, expected);

    // Saved and read again, nothing changes.
    form.SaveSettings();
    form.State = TAppState{};
    form.LoadSettings();
    form.DeleteICQCookies1->Checked = !expected.munchIcq; // read again, not kept
    form.LoadSettings();
    checkState(form, expected);
    return 0;
}
