#pragma once
// Events of a form that nothing drives: for tests of the window alone.
#include "app/form_events.h"

class NoFormEvents : public IFormEvents {
public:
    void OnClick(ControlId) override {}
    void OnTimer(ControlId) override {}
    void OnQueryUnload(bool&, int) override {}
    void OnUnload() override {}
    void OnActivate() override {}
    void OnMouseMove(ControlId) override {}
    void OnColumnClick(ControlId, int) override {}
    void OnLinkMoved(ControlId, int) override {}
};
