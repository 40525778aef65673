#include "repair/callable_address.h"

#include <new>

#include "text/raised_error.h"

namespace {

// Module storage: written on the window's thread only, the tables once and never freed.
CallableAddressTable g_firstTable = {};
CallableAddressTable g_secondTable = {};
bool g_tablesBuilt = false;
ILibraryApi* g_taskMemory = nullptr;

int32_t QUENDRY_STDCALL FirstQuery(CallableAddress* self, const InterfaceId*, void** object) {
    // Any interface will do: the object is handed out once, and from then on it refuses.
    if (object == nullptr)
        return kENoInterface;
    *object = self;
    ++self->References;
    self->Table = &g_secondTable;
    return kSOk;
}

int32_t QUENDRY_STDCALL SecondQuery(CallableAddress*, const InterfaceId*, void** object) {
    if (object != nullptr)
        *object = nullptr;
    return kENoInterface;
}

uint32_t QUENDRY_STDCALL AddRef(CallableAddress* self) {
    return static_cast<uint32_t>(++self->References);
}

uint32_t QUENDRY_STDCALL Release(CallableAddress* self) {
    const auto count = static_cast<uint32_t>(--self->References);
    if (count == 0 && g_taskMemory != nullptr)
        g_taskMemory->TaskMemFree(self);
    return count;
}

int32_t QUENDRY_STDCALL Call(CallableAddress* self) {
    return self->CodeAddress();
}

void BuildTables() {
    g_firstTable = {FirstQuery, AddRef, Release, Call};
    g_secondTable = {SecondQuery, AddRef, Release, Call};
    g_tablesBuilt = true;
}

} // namespace

CallableAddress* NewCallableAddress(ILibraryApi& taskMemory, EntryPoint codeAddress) {
    if (!g_tablesBuilt)
        BuildTables();
    void* block = taskMemory.TaskMemAlloc(sizeof(CallableAddress));
    if (block == nullptr)
        throw RaisedError(kErrOutOfMemory, "modFunctionDelegator", "Out of memory");
    g_taskMemory = &taskMemory;
    return new (block) CallableAddress{&g_firstTable, codeAddress, 1};
}
