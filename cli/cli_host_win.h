#pragma once
// The console companion's process: its standard streams, its report file and its rights, through
// the W functions of the platform.
#include <optional>

#include "cli/cli_host.h"

class WinCliHost : public ICliHost {
public:
    // A console gets the text as UTF-16 (WriteConsoleW), so every character shows whatever the
    // console's code page; a pipe or file gets UTF-8 bytes with "\r\n" line ends.
    void WriteOut(const std::string& text) override;
    void WriteErr(const std::string& text) override;
    bool WriteFileBytes(const std::string& path, const std::string& bytes) override;
    // CreateDirectoryW without a security descriptor (the parent's access list is inherited),
    // CopyFileW, DeleteFileW and RemoveDirectoryW; what is in use is left to MoveFileExW's
    // removal at restart.
    bool CreateFolder(const std::string& path) override;
    bool CopyFileTo(const std::string& from, const std::string& to) override;
    Removal RemoveFile(const std::string& path) override;
    Removal RemoveFolder(const std::string& path) override;
    // Vista and later: the token's elevation (TokenElevation); where the system has no such
    // information (Windows 2000, XP, Server 2003): membership of the Administrators group.
    bool IsElevated() override;
    // A console control handler (console_stop_win.h): Ctrl+C and Ctrl+Break are noted; a closing
    // console waits for the work in hand, as long as the system allows.
    void CatchStop() override;
    bool StopRequested() override;
};

// Whether the process's token counts the Administrators group (CheckTokenMembership); nullopt when
// the system can't tell.
std::optional<bool> InAdministratorsGroup();

// What IsElevated found out, for tests: how it decided.
enum class ElevationSource { TokenElevation, AdministratorsGroup, Unknown };
ElevationSource LastElevationSource();
