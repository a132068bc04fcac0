// The link label's click on any caption: the shell is handed the scheme and
// the whole caption, or nothing; never a text that could end the handler's
// argument and pass switches of its own (a quote, a blank or a control
// character), and never nothing for a caption that holds none of those.
#include "FuzzInput.h"
#include "support/FakeShell.h"
#include "support/FakeUi.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "widgets/LinkLabel.h"

#include <algorithm>

namespace {

bool endsAnArgument(unsigned char c)
{
    return c == '"' || c <= ' ' || c == 0x7F;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const auto type = static_cast<TLabelType>(input.byte() % 4);
    const std::string caption = input.rest();

    FakeUi ui;
    FakeShell shell;
    TApplication app(ui);
    TForm& form = app.CreateForm<TForm>("TLinkForm");
    TLinkLabel& label = form.Create<TLinkLabel>(form, shell);
    label.SetCaption(caption);
    label.SetLabelType(type);
    label.Click();

    auto opened = shell.callsOf("shellOpen");
    const bool safe = std::none_of(caption.begin(), caption.end(),
                                   [](char c) { return endsAnArgument(static_cast<unsigned char>(c)); });
    if (type == hmCUSTOM || !safe) {
        FUZZ_CHECK(opened.empty());
        return 0;
    }
    FUZZ_CHECK(opened.size() == 1);
    const std::string& command = opened[0].args[1];
    const std::string scheme = type == hmHTTP ? "http:\\\\" : type == hmFTP ? "ftp:\\\\" : "mailto:";
    FUZZ_CHECK(command == scheme + caption);
    FUZZ_CHECK(std::none_of(command.begin(), command.end(),
                            [](char c) { return endsAnArgument(static_cast<unsigned char>(c)); }));
    FUZZ_CHECK(opened[0].args[0].empty() && opened[0].args[2].empty() && opened[0].args[3].empty());
    return 0;
}
