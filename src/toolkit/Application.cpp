// The application object.
#include "toolkit/Application.h"

#include "toolkit/Error.h"
#include "toolkit/Form.h"

TApplication::TApplication(platform::IUi& ui) : ui_(ui)
{
    ui_.setExceptionHandler([this](std::exception_ptr error) { HandleException(error); });
    platform::WindowParams params;
    params.className = "TApplication";
    params.borderless = true;
    window_ = ui_.newWindow(params, *this);
}

TApplication::~TApplication()
{
    destroyMainForm();
    window_.reset();
    ui_.setExceptionHandler(nullptr);
}

void TApplication::SetTitle(const std::string& title)
{
    title_ = title;
    window_->setCaption(title);
}

void TApplication::Run()
{
    if (mainForm_ && ShowMainForm)
        Guard([this] { mainForm_->Show(); });
    if (!terminated_)
        ui_.runMessageLoop();
    destroyMainForm();
}

void TApplication::ProcessMessages()
{
    ui_.processMessages();
}

void TApplication::Terminate()
{
    if (terminated_)
        return;
    terminated_ = true;
    ui_.quit();
}

void TApplication::ShowMessage(const std::string& text)
{
    ui_.messageBox(text, title_, platform::BoxIcon::None);
}

void TApplication::ShowException(const std::exception& error)
{
    const auto* own = dynamic_cast<const Exception*>(&error);
    ui_.messageBox(ErrorBoxText(own ? own->Message() : error.what()), title_, platform::BoxIcon::Stop);
}

void TApplication::HandleException(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(Exception("Unknown error"));
    }
}

void TApplication::adoptForm(std::unique_ptr<TForm> form)
{
    if (!mainForm_)
        mainForm_ = std::move(form);
    else
        throw Exception("Only one form is supported");
}

void TApplication::destroyMainForm()
{
    if (!mainForm_)
        return;
    Guard([this] { mainForm_->DoDestroy(); });
    mainForm_.reset();
}

void TApplication::onCloseRequest()
{
    if (mainForm_)
        mainForm_->Close();
}

bool TApplication::onQueryEndSession()
{
    return true;
}

void TApplication::onEndSession()
{
    if (mainForm_)
        mainForm_->EndSession();
}
