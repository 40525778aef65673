#pragma once
// What a screen reader finds at a link: the standard accessible object of the window (place,
// parent, focus, navigation), but with the role of a link, its address as its name and value,
// and "Jump" as its default action, which opens it.
#include <windows.h>

// The answer to WM_GETOBJECT for the client object of `link` (LresultFromObject); 0 where the
// system's accessibility library can't be had, so that the default handling takes over.
LRESULT LinkAccessibleObject(HWND link, WPARAM flags);
