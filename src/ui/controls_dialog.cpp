// The common dialogs' requests to the driver and the answers they keep. Never blocks itself:
// the driver runs the dialog.
#include "ui/controls_dialog.h"

#include <filesystem>
#include <optional>
#include <string>

#include "platform/numbered_error.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/ui_constants.h"

namespace tolvane::ui {

CommonDialog::CommonDialog(Form& form, std::string name, int index)
    : Control(form, ControlKind::CommonDialog, std::move(name), index) {
    setVisible(false);
}

namespace {

void showFileDialog(CommonDialog& d, FileDialogRequest::Kind kind) {
    FileDialogRequest request;
    request.kind = kind;
    request.title = d.dialogTitle;
    request.fileName = d.fileName;
    request.initDir = d.initDir;
    request.filter = d.filter;
    request.filterIndex = d.filterIndex;
    request.defaultExt = d.defaultExt;
    request.flags = d.flags;
    FileDialogAnswer answer;
    {
        ModalScope modal;
        answer = desktop().driver().fileDialog(request);
    }
    if (answer.cancelled) {
        if (d.cancelError) {
            throw NumberedError(uierr::DialogCancelled, "Cancel was selected.", d.displayName());
        }
        return;
    }
    d.fileName = answer.fileName;
    d.filterIndex = answer.filterIndex;
    std::filesystem::path p(answer.fileName);
    d.fileTitle = kind == FileDialogRequest::Kind::Folder ? std::string() : p.filename().string();
}

}  // namespace

void CommonDialog::showOpen() { showFileDialog(*this, FileDialogRequest::Kind::Open); }
void CommonDialog::showSave() { showFileDialog(*this, FileDialogRequest::Kind::Save); }
void CommonDialog::showFolder() { showFileDialog(*this, FileDialogRequest::Kind::Folder); }

void CommonDialog::showFont() {
    FontDialogRequest request{dialogTitle, dialogFont, flags};
    std::optional<Font> answer;
    {
        ModalScope modal;
        answer = desktop().driver().fontDialog(request);
    }
    if (!answer) {
        if (cancelError) {
            throw NumberedError(uierr::DialogCancelled, "Cancel was selected.", displayName());
        }
        return;
    }
    dialogFont = *answer;
}

}  // namespace tolvane::ui
