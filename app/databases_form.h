#pragma once
// The window on which programs can open databases, as its logic (frm_databases.h) drives it: it
// shows the view state, and does what is no state (the file dialog, the clipboard, a message).
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "view_state.h"

class IDatabasesForm {
public:
    virtual ~IDatabasesForm() = default;
    // Shows one control as the view state has it now; for the window itself, its caption and
    // which control has the focus.
    virtual void Apply(const ViewState& view, ControlId id) = 0;
    // The file a person picks in the system's open dialog, among files of the filters (a name
    // and its pattern each); nothing when the dialog is cancelled or can't be shown.
    virtual std::optional<std::string>
    ChooseFile(const std::string& title,
               const std::vector<std::pair<std::string, std::string>>& filters) = 0;
    // Puts the text on the clipboard; false when the clipboard can't be had.
    virtual bool CopyText(const std::string& text) = 0;
    virtual void MsgBox(const std::string& text, const std::string& title) = 0;
    virtual void Close() = 0;
};
