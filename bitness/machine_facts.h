#pragma once
// What the answer needs to know of the machine beyond the registry and the files: whether
// Windows is 64-bit (IsWow64Process, looked up at run time: Windows 2000 lacks it and is 32-bit),
// and whose account the program runs as (user data sources are that account's).
#include <string>

class IMachineFacts {
public:
    virtual ~IMachineFacts() = default;
    virtual bool IsWindows64() = 0;
    // "DOMAIN\user"; the user name alone where the domain can't be had.
    virtual std::string UserAccount() = 0;
};
