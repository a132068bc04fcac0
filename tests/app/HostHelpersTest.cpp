// Network, folder and shell helpers.
#include "app/HostHelpers.h"

#include "support/FakeCodePage.h"
#include "support/FakeFolders.h"
#include "support/FakeNetwork.h"
#include "support/FakeShell.h"

#include <gtest/gtest.h>

namespace {
std::vector<std::string> shellCall(FakeShell& shell)
{
    auto calls = shell.callsOf("shellOpen");
    return calls.empty() ? std::vector<std::string>{} : calls.back().args;
}
using Args = std::vector<std::string>;
} // namespace

TEST(GetLocalIP, GivesTheLastAddressOfTheHostEntryAndCleansUp)
{
    FakeNetwork network;
    network.addresses = {"10.0.0.5", "192.168.1.7"};
    EXPECT_EQ(GetLocalIP(network), "192.168.1.7");
    ASSERT_EQ(network.calls.size(), 4u);
    EXPECT_EQ(network.calls[0], (Call{"socketsStartup", {"257"}}));
    EXPECT_EQ(network.calls[1], (Call{"hostName", {"64"}}));
    EXPECT_EQ(network.calls[2], (Call{"hostAddresses", {"muncher"}}));
    EXPECT_EQ(network.calls[3].operation, "socketsCleanup");
}

TEST(GetLocalIP, IsEmptyWithoutAHostEntryOrAName)
{
    FakeNetwork network;
    network.faults.failNext("hostAddresses");
    EXPECT_EQ(GetLocalIP(network), "");
    EXPECT_EQ(network.callsOf("socketsCleanup").size(), 1u);

    // Looked up, the empty name would give this machine's entry after all.
    network.faults.failNext("hostName");
    EXPECT_EQ(GetLocalIP(network), "");
    EXPECT_EQ(network.callsOf("hostAddresses").size(), 1u);
    EXPECT_EQ(network.callsOf("socketsCleanup").size(), 2u);

    network.addresses.clear();
    EXPECT_EQ(GetLocalIP(network), "");
}

TEST(OpenDocument, SplitsFolderAndFileAtTheLastBackslash)
{
    FakeShell shell;
    FakeCodePage codePage;
    OpenDocument(shell, codePage, "C:\\docs\\read me.txt");
    EXPECT_EQ(shellCall(shell), (Args{"Open", "read me.txt", "", "C:\\docs", "1"}));
}

TEST(OpenDocument, KeepsTheBackslashOfADriveRootAndOfANetworkPathStart)
{
    FakeShell shell;
    FakeCodePage codePage;
    OpenDocument(shell, codePage, "C:\\boot.ini");
    EXPECT_EQ(shellCall(shell), (Args{"Open", "boot.ini", "", "C:\\", "1"}));
    OpenDocument(shell, codePage, "\\\\server");
    EXPECT_EQ(shellCall(shell), (Args{"Open", "server", "", "\\\\", "1"}));
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
        FakeShell shell;
        FakeCodePage codePage;
        OpenDocument(shell, codePage, c.target);
        EXPECT_EQ(shellCall(shell), c.call) << c.target;
    }
}

TEST(OpenDocument, ABareNameGetsAnEmptyWorkingFolder)
{
    FakeShell shell;
    FakeCodePage codePage;
    OpenDocument(shell, codePage, "notes.txt");
    EXPECT_EQ(shellCall(shell), (Args{"Open", "notes.txt", "", "", "1"}));
}

TEST(OpenDocument, ASecondByteThatLooksLikeABackslashIsNoDelimiter)
{
    FakeShell shell;
    FakeCodePage codePage;
    codePage.leadBytes = {0x95}; // as in Shift-JIS, where 0x95 0x5C is one character
    OpenDocument(shell, codePage, "C:\\dir\\\x95\\\\x.txt");
    // The last real backslash follows a double-byte character: an ordinary one, left out.
    EXPECT_EQ(shellCall(shell), (Args{"Open", "x.txt", "", "C:\\dir\\\x95\\", "1"}));
    // A trail byte 0x5C at the end is part of the file name, not a delimiter.
    OpenDocument(shell, codePage, "C:\\\x95\\");
    EXPECT_EQ(shellCall(shell), (Args{"Open", "\x95\\", "", "C:\\", "1"}));
}

TEST(GetWindowsDir, AllowsTwoHundredFiftyFiveCharactersAndIsEmptyOnFailure)
{
    FakeFolders folders;
    EXPECT_EQ(GetWindowsDir(folders), "C:\\WINDOWS");
    EXPECT_EQ(folders.calls.back(), (Call{"windowsDirectory", {"255"}}));
    folders.faults.failNext("windowsDirectory");
    EXPECT_EQ(GetWindowsDir(folders), "");
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
        FakeCodePage codePage;
        if (c.doubleByteCodePage)
            codePage.leadBytes = {0x81};
        EXPECT_EQ(RightChars(codePage, c.text, c.count), c.expected) << c.text << " " << c.count;
    }
}
