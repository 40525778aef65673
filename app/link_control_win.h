#pragma once
// The wizard's links as controls of their own: a text in the link colour that the user reaches
// with Tab, opens with Enter, Space or a click, and sees a focus rectangle on while it has the
// focus; screen readers find it as a link whose name is its address. It reports a click to its
// parent as a static control does (WM_COMMAND, STN_CLICKED), draws with the colour and brush the
// parent gives for WM_CTLCOLORSTATIC, and with the font set by WM_SETFONT, underline and all, so
// that the pointer's hover feedback stays the window's own. Built only from what Windows 2000
// has (its common controls have no link control).
#include <windows.h>

// The window class, registered on first use; null when it can't be.
const wchar_t* LinkControlClass(HINSTANCE instance);
