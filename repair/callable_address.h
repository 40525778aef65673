#pragma once
// modFunctionDelegator: a small reference-counted object that makes a bare entry point callable as
// the fourth method of an interface. The object is one heap block of three words (the interface
// table in force, the entry point, the reference count) from the task-memory allocator. Two tables
// are shared by every object and built when the first object is made: the first answers one query
// for any interface by handing out the object itself and switching it to the second table, which
// refuses every further query. The call method calls the entry point through its typed pointer; no
// code is ever written to data memory.
#include <cstdint>

#include "repair/library_api.h"

struct InterfaceId {
    uint32_t Data1;
    uint16_t Data2, Data3;
    uint8_t Data4[8];
};

// The interface through which the entry point is called: {8F633501-459A-11D3-AB5C-D41203C10000}.
inline constexpr InterfaceId kIidCallableAddress = {
    0x8F633501, 0x459A, 0x11D3, {0xAB, 0x5C, 0xD4, 0x12, 0x03, 0xC1, 0x00, 0x00}};

inline constexpr int32_t kSOk = 0;
inline constexpr int32_t kENoInterface = static_cast<int32_t>(0x80004002u);
inline constexpr int32_t kEOutOfMemory = static_cast<int32_t>(0x8007000Eu);

struct CallableAddress;

struct CallableAddressTable {
    int32_t(QUENDRY_STDCALL* QueryInterface)(CallableAddress* self, const InterfaceId* iid,
                                             void** object);
    uint32_t(QUENDRY_STDCALL* AddRef)(CallableAddress* self);
    uint32_t(QUENDRY_STDCALL* Release)(CallableAddress* self);
    // Calls the entry point with no arguments and returns its status.
    int32_t(QUENDRY_STDCALL* Call)(CallableAddress* self);
};

struct CallableAddress {
    const CallableAddressTable* Table;
    EntryPoint CodeAddress;
    uintptr_t References;
};
static_assert(sizeof(CallableAddress) == 3 * sizeof(void*), "one block of three words");

// A new object for `codeAddress`, on the first table and holding the one reference that is the
// caller's. The block comes from `taskMemory`, and every block goes back to the allocator of the
// most recent creation when its last reference is released (the program has one; a test keeps its
// objects to one allocator at a time). Raises RaisedError(kErrOutOfMemory) when the block can't be
// allocated.
CallableAddress* NewCallableAddress(ILibraryApi& taskMemory, EntryPoint codeAddress);
