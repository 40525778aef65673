#pragma once
// What the window reports to the wizard: the events of its controls, routed by control id.
#include "controls.h"

class IFormEvents {
public:
    virtual ~IFormEvents() = default;
    virtual void OnClick(ControlId id) = 0;
    virtual void OnTimer(ControlId id) = 0;
    // The close command (mode 0: the close box, the system menu, Alt+F4) or a close asked for by
    // others (2: the session ends; 3: another program, such as Task Manager, sent WM_CLOSE);
    // setting cancel keeps the window.
    virtual void OnQueryUnload(bool& cancel, int unloadMode) = 0;
    virtual void OnUnload() = 0;
    virtual void OnActivate() = 0;
    virtual void OnMouseMove(ControlId id) = 0;
    virtual void OnColumnClick(ControlId id, int column) = 0;
    // Layout put a link `drop` twips below where the wizard put it (clear of a text above it).
    virtual void OnLinkMoved(ControlId link, int drop) = 0;
};
