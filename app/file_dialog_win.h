#pragma once
// The system's dialog for opening a file, from the common dialog library loaded when first
// needed: start-up imports nothing of it.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The file chosen among those of `filters` (a name and its pattern each); nothing when the person
// cancels or the dialog can't be shown.
std::optional<std::wstring>
ChooseFileToOpen(HWND owner, const std::wstring& title,
                 const std::vector<std::pair<std::wstring, std::wstring>>& filters);
