#pragma once
// Creating a COM object in process, as a database program creates a data provider, one platform
// call each (provider_check.h).
#include "repair/provider_check.h"

class Win32ComApi : public IComApi {
public:
    bool FileExists(const std::string& path) override;
    int32_t CreateInProcess(const std::string& clsid) override;
};
