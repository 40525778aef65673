#pragma once
// Opening a web page from an elevated program without handing its rights to the browser: the
// request goes through the shell of the desktop, which runs in the user's own, unelevated context.
#include <string>

// Asks the desktop's shell to open `url` with the verb "open". False when the desktop shell can't
// be reached (no Explorer, or an older system); the caller then opens it itself.
bool OpenThroughDesktopShell(const std::wstring& url);
