#include "bitness/program_file.h"

namespace {

constexpr uint32_t kSysnativeSince = 6; // Windows Vista

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Windows compares paths without regard to case; the system directory's name is plain ASCII.
bool SameChar(char a, char b) {
    const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    return fold(a) == fold(b) || (IsSeparator(a) && IsSeparator(b));
}

bool IsUnder(const std::string& path, const std::string& folder) {
    if (folder.empty() || path.size() <= folder.size() || !IsSeparator(path[folder.size()]))
        return false;
    for (size_t i = 0; i < folder.size(); ++i)
        if (!SameChar(path[i], folder[i]))
            return false;
    return true;
}

} // namespace

FileOpening OpeningOfNamedFile(const std::string& path, const FileSystemView& view) {
    if (!view.Wow64 || !IsUnder(path, view.SystemDir))
        return {.Path = path};
    const size_t windowsEnd = view.SystemDir.find_last_of("\\/");
    if (view.OsMajor < kSysnativeSince || windowsEnd == std::string::npos)
        return {.Path = path, .WithoutRedirection = true};
    return {.Path = view.SystemDir.substr(0, windowsEnd) + "\\Sysnative" +
                    path.substr(view.SystemDir.size())};
}

ProgramFileStatus StatusOfOpenError(uint32_t error) {
    switch (error) {
    case 2:   // ERROR_FILE_NOT_FOUND
    case 3:   // ERROR_PATH_NOT_FOUND
    case 15:  // ERROR_INVALID_DRIVE
    case 53:  // ERROR_BAD_NETPATH
    case 67:  // ERROR_BAD_NET_NAME
    case 123: // ERROR_INVALID_NAME
    case 161: // ERROR_BAD_PATHNAME
        return ProgramFileStatus::NotFound;
    case 5: // ERROR_ACCESS_DENIED
        return ProgramFileStatus::AccessDenied;
    default:
        return ProgramFileStatus::Unreadable;
    }
}
