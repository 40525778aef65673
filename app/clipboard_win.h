#pragma once
// Text onto the clipboard, for a ticket.
#include <windows.h>

#include <string>

// False when the clipboard is held by another program or the memory can't be had.
bool CopyTextToClipboard(HWND owner, const std::wstring& text);
