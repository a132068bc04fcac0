// The file-open dialog component.
#include "toolkit/Dialogs.h"

bool TOpenDialog::Execute()
{
    platform::OpenFileRequest request;
    request.title = Title;
    request.fileName = FileName;
    request.initialDir = InitialDir;
    request.filter = Filter;
    request.defaultExt = DefaultExt;
    request.hideReadOnly = Options & ofHideReadOnly;
    request.pathMustExist = Options & ofPathMustExist;
    request.fileMustExist = Options & ofFileMustExist;
    request.enableSizing = Options & ofEnableSizing;
    std::optional<std::string> chosen = dialogs_.openFileDialog(request);
    if (!chosen)
        return false;
    FileName = *chosen;
    return true;
}
