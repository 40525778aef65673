#include "repair/dll_register.h"

#include "repair/callable_address.h"
#include "text/raised_error.h"

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Calls the entry point through a new callable-address object. The object is viewed through the
// call interface (one query), the creator's reference is dropped, and the last release after the
// call frees it.
void CallThroughObject(ILibraryApi& api, EntryPoint entry, RegistrationOutcome& outcome) {
    CallableAddress* object = nullptr;
    try {
        object = NewCallableAddress(api, entry);
    } catch (const RaisedError&) {
        outcome.Result = RegistrationResult::NotCreated;
        outcome.Status = kEOutOfMemory;
        return;
    }
    void* viewed = nullptr;
    const int32_t query = object->Table->QueryInterface(object, &kIidCallableAddress, &viewed);
    object->Table->Release(object);
    if (query < 0 || viewed == nullptr) {
        outcome.Result = RegistrationResult::NotCreated;
        outcome.Status = query < 0 ? query : kENoInterface;
        return;
    }
    auto* call = static_cast<CallableAddress*>(viewed);
    outcome.Status = call->Table->Call(call);
    call->Table->Release(call);
    outcome.Result =
        outcome.Status < 0 ? RegistrationResult::CallFailed : RegistrationResult::Registered;
}

} // namespace

bool IsFullyQualifiedPath(const std::string& path) {
    if (path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == ':' && IsSeparator(path[2]))
        return true;
    return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
           !IsSeparator(path[2]);
}

RegistrationOutcome
RegisterComponent(ILibraryApi& api, const std::string& path, const std::string& entryName,
                  const std::string& displayName,
                  const std::function<void(const RegistrationOutcome&)>& beforeUnload) {
    RegistrationOutcome outcome;
    outcome.DisplayName = displayName;
    if (!IsFullyQualifiedPath(path)) {
        outcome.LastError = kErrorInvalidParameter;
        return outcome;
    }
    const LibraryHandle library = api.LoadComponentLibrary(path);
    if (library == 0) {
        outcome.LastError = api.LastError();
        return outcome;
    }
    // From here on a failing step is passed over; the library is unloaded whatever happened.
    try {
        if (EntryPoint entry = api.FindEntryPoint(library, entryName)) {
            CallThroughObject(api, entry, outcome);
        } else {
            outcome.Result = RegistrationResult::NoEntryPoint;
            outcome.LastError = api.LastError();
        }
    } catch (...) {
    }
    if (beforeUnload) {
        try {
            beforeUnload(outcome);
        } catch (...) {
        }
    }
    try {
        api.FreeComponentLibrary(library);
    } catch (...) {
    }
    return outcome;
}

std::string GetErrorText(ILibraryApi& api, uint32_t code) {
    std::string text;
    const uint32_t count = api.SystemMessageText(code, text);
    if (count > 0)
        return text;
    return kErrorTextNotFound;
}
