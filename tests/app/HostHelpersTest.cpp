// Host and shell helpers.
#include "app/HostHelpers.h"

#include "support/FakeHost.h"

#include <gtest/gtest.h>

namespace {
std::vector<std::string> shellCall(FakeHost& host)
{
    auto calls = host.callsOf("shellOpen");
    return calls.empty() ? std::vector<std::string>{} : calls.back().args;
}
using Args = std::vector<std::string>;
} // namespace

TEST(GetLocalIP, GivesTheLastAddressOfTheHostEntryAndCleansUp)
{
    FakeHost host;
    host.addresses = {"10.0.0.5", "192.168.1.7"};
    EXPECT_EQ(GetLocalIP(host), "192.168.1.7");
    ASSERT_EQ(host.calls.size(), 4u);
    EXPECT_EQ(host.calls[0], (Call{"socketsStartup", {"257"}}));
    EXPECT_EQ(host.calls[1], (Call{"hostName", {"64"}}));
    EXPECT_EQ(host.calls[2], (Call{"hostAddresses", {"muncher"}}));
    EXPECT_EQ(host.calls[3].operation, "socketsCleanup");
}

TEST(GetLocalIP, IsEmptyWithoutAHostEntryOrAName)
{
    FakeHost host;
    host.faults.failNext("hostAddresses");
    EXPECT_EQ(GetLocalIP(host), "");
    EXPECT_EQ(host.callsOf("socketsCleanup").size(), 1u);

    // Looked up, the empty name would give this machine's entry after all.
    host.faults.failNext("hostName");
    EXPECT_EQ(GetLocalIP(host), "");
    EXPECT_EQ(host.callsOf("hostAddresses").size(), 1u);
    EXPECT_EQ(host.callsOf("socketsCleanup").size(), 2u);

    host.addresses.clear();
    EXPECT_EQ(GetLocalIP(host), "");
}

TEST(OpenDocument, SplitsFolderAndFileAtTheLastBackslash)
{
    FakeHost host;
    OpenDocument(host, "C:\\docs\\read me.txt");
    EXPECT_EQ(shellCall(host), (Args{"Open", "read me.txt", "", "C:\\docs", "1"}));
}

TEST(OpenDocument, KeepsTheBackslashOfADriveRootAndOfANetworkPathStart)
{
    FakeHost host;
    OpenDocument(host, "C:\\boot.ini");
    EXPECT_EQ(shellCall(host), (Args{"Open", "boot.ini", "", "C:\\", "1"}));
    OpenDocument(host, "\\\\server");
    EXPECT_EQ(shellCall(host), (Args{"Open", "server", "", "\\\\", "1"}));
}

TEST(OpenDocument, WebAndMailAddressesGoToTheShellWholeOnlyPathsAreSplit)
{
    const struct {
        const char* target;
        Args call;
    } cases[] = {
        {"http://www.fallowmere.example/", {"Open", "http://www.fallowmere.example/", "", "", "1"}},
        {"HTTPS://host/a:b\\c", {"Open", "HTTPS://host/a:b\\c", "", "", "1"}},
        {"ftp://host", {"Open", "ftp://host", "", "", "1"}},
        {"mailto:someone@fallowmere.example", {"Open", "mailto:someone@fallowmere.example", "", "", "1"}},
        {"MailTo:x@y", {"Open", "MailTo:x@y", "", "", "1"}},
        // A drive letter is no scheme; other text before a colon is a folder.
        {"C://temp/x.txt", {"Open", "//temp/x.txt", "", "C:", "1"}},
        {"news:comp.lang", {"Open", "comp.lang", "", "news:", "1"}},
        {"h2p://host", {"Open", "//host", "", "h2p:", "1"}},
    };
    for (const auto& c : cases) {
        FakeHost host;
        OpenDocument(host, c.target);
        EXPECT_EQ(shellCall(host), c.call) << c.target;
    }
}

TEST(OpenDocument, ABareNameGetsAnEmptyWorkingFolder)
{
    FakeHost host;
    OpenDocument(host, "notes.txt");
    EXPECT_EQ(shellCall(host), (Args{"Open", "notes.txt", "", "", "1"}));
}

TEST(OpenDocument, ASecondByteThatLooksLikeABackslashIsNoDelimiter)
{
    FakeHost host;
    host.leadBytes = {0x95}; // as in Shift-JIS, where 0x95 0x5C is one character
    OpenDocument(host, "C:\\dir\\\x95\\\\x.txt");
    // The last real backslash follows a double-byte character: an ordinary one, left out.
    EXPECT_EQ(shellCall(host), (Args{"Open", "x.txt", "", "C:\\dir\\\x95\\", "1"}));
    // A trail byte 0x5C at the end is part of the file name, not a delimiter.
    OpenDocument(host, "C:\\\x95\\");
    EXPECT_EQ(shellCall(host), (Args{"Open", "\x95\\", "", "C:\\", "1"}));
}

TEST(GetWindowsDir, AllowsTwoHundredFiftyFiveCharactersAndIsEmptyOnFailure)
{
    FakeHost host;
    EXPECT_EQ(GetWindowsDir(host), "C:\\WINDOWS");
    EXPECT_EQ(host.calls.back(), (Call{"windowsDirectory", {"255"}}));
    host.faults.failNext("windowsDirectory");
    EXPECT_EQ(GetWindowsDir(host), "");
}

TEST(RightChars, TakesTheLastCharactersOrTheWholeString)
{
    // 0x81 leads a double-byte character whose second byte may be 0x5C, a backslash's.
    const std::string doubleByteEnd = "C:\\\x81\\";
    struct Case {
        std::string text;
        int count;
        bool doubleByteCodePage;
        std::string expected;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"C:\\WINDOWS\\", 1, false, "\\"},
             {"abc", 2, false, "bc"},
             {"abc", 10, false, "abc"},
             {"", 1, false, ""},
             {"abc", 0, false, ""},
             {"abc", -3, false, ""},
             {doubleByteEnd, 1, false, "\\"},
             {doubleByteEnd, 1, true, "\x81\\"},
             {doubleByteEnd, 2, true, "\\\x81\\"},
             {"\x81", 1, true, "\x81"}, // a lead byte without its second byte is a character of its own
         }) {
        FakeHost host;
        if (c.doubleByteCodePage)
            host.leadBytes = {0x81};
        EXPECT_EQ(RightChars(host, c.text, c.count), c.expected) << c.text << " " << c.count;
    }
}
