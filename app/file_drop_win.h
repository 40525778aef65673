#pragma once
// Files dragged onto a window from Explorer. The window carries WS_EX_ACCEPTFILES; the shell's
// functions are loaded when first needed, so start-up imports nothing of the shell.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

// An elevated window gets the drop messages of the (not elevated) Explorer only where it lets
// them through: from Vista on, for this window alone where Windows 7's call is there.
void LetFileDropsThrough(HWND window);

// The files of a drop, in their order; the drop's memory is released.
std::vector<std::wstring> DroppedFiles(HDROP drop);
