#pragma once
// Registers in the calling process, as InProcessRegistrar does, and counts the requests to get
// ready for registrations.
#include "repair/registrar.h"

class CountingRegistrar : public InProcessRegistrar {
public:
    using InProcessRegistrar::InProcessRegistrar;
    void Prepare() override { ++Prepared; }
    int Prepared = 0;
};
