// Opening a document or an address through the shell.
#include "app/OpenDocument.h"

#include "support/FakeCodePage.h"
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
