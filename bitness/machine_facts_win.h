#pragma once
// The running machine's bitness and the account this process runs as.
#include "bitness/machine_facts.h"

class WinMachineFacts : public IMachineFacts {
public:
    bool IsWindows64() override;
    std::string UserAccount() override;
};
