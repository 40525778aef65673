#pragma once
// The window on which programs can open databases, made from its control table and the view
// state its logic keeps: a modal window over the wizard, whose events go to frmDatabases.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "databases_form.h"

class frmDatabases;

// The window class, which the tests find the window by.
inline constexpr wchar_t kDatabasesWindowClass[] = L"QuendryDatabases";

// Line ends as an edit control shows them.
std::wstring EditText(const std::string& utf8);

class WinDatabasesForm : public IDatabasesForm {
public:
    WinDatabasesForm() = default;
    ~WinDatabasesForm() override;
    WinDatabasesForm(const WinDatabasesForm&) = delete;
    WinDatabasesForm& operator=(const WinDatabasesForm&) = delete;

    // Makes the window over `owner` for `dpi` pixels per inch (0: the screen's), in the table's
    // face or `face`, loads it through `logic`, and runs it until it is closed, the owner
    // disabled meanwhile. False when it can't be made.
    bool Run(HWND owner, HINSTANCE instance, frmDatabases& logic, int dpi = 0,
             const std::wstring& face = {});

    // IDatabasesForm
    void Apply(const ViewState& view, ControlId id) override;
    std::optional<std::string>
    ChooseFile(const std::string& title,
               const std::vector<std::pair<std::string, std::string>>& filters) override;
    bool CopyText(const std::string& text) override;
    void MsgBox(const std::string& text, const std::string& title) override;
    void Close() override;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(HWND, UINT, WPARAM, LPARAM);
    // Runs an event of the logic; nothing it raises leaves the window procedure.
    template <typename F> void Event(F&& handler);
    bool Create(HINSTANCE instance, const std::wstring& face);
    void ShowList(const ControlState& state);
    // Gives the list after `label` in the table the label's text as its name.
    void NameListAfter(ControlId label, std::wstring name);
    // Places every control: a row moves down where a text above needs more lines than it has,
    // and a button widens to its caption, narrowing a text beside it.
    void Layout();
    // A control's text as it lays it out: wrapped at `wrapWidth`, or on one line where it is 0.
    RECT TextRect(ControlId id, int wrapWidth) const;
    int Px(int twips) const;
    HWND Wnd(ControlId id) const;

    frmDatabases* m_logic = nullptr;
    HWND m_owner = nullptr;
    HWND m_hwnd = nullptr;
    HWND m_focus = nullptr; // the control that has the focus while the window is active
    int m_dpi = 96;
    std::map<ControlId, HWND> m_controls;
    HFONT m_font = nullptr, m_bold = nullptr;
    std::vector<ListRow> m_shownRows; // the list's rows as shown, to keep the selected one
};
