#pragma once
// What the window reports to the wizard: the events of its controls, routed by control id.
#include "controls.h"

class IFormEvents {
public:
    virtual ~IFormEvents() = default;
    virtual void OnClick(ControlId id) = 0;
    virtual void OnTimer(ControlId id) = 0;
    // The close command (mode 0) or a close by the system (other modes); setting cancel keeps the
    // window.
    virtual void OnQueryUnload(bool& cancel, int unloadMode) = 0;
    virtual void OnUnload() = 0;
    virtual void OnActivate() = 0;
    virtual void OnMouseMove(ControlId id) = 0;
    virtual void OnColumnClick(ControlId id, int column) = 0;
};
