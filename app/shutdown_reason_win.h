#pragma once
// Why the end of the session has to wait: Windows (Vista and later) shows the text beside the
// program while it waits for it. Looked up at run time; older systems show nothing.
#include <windows.h>

#include <string>

// Sets the window's reason, or clears it where `reason` is empty.
void SetShutdownBlockReason(HWND window, const std::wstring& reason);
