#pragma once
// The wizard's way to the window on which programs can open databases.
#include "system_api.h"
#include "text/language.h"

class IDatabasesWindow {
public:
    virtual ~IDatabasesWindow() = default;
    // Reads what is installed, as the window will show it.
    virtual void Read() = 0;
    // Shows what was read in a window over `owner` until the person closes it.
    virtual void Show(WindowHandle owner, Language lang) = 0;
};
