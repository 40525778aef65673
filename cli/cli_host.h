#pragma once
// What the console companion needs of its process beyond the wizard's interfaces: its two output
// streams, a file to write the report to, the files install and uninstall place and remove, whether
// it runs with administrator rights, and whether the user asked it to stop. The Win32 adapter
// carries each out; tests record them.
#include <string>

// What became of a file or folder to be removed.
enum class Removal {
    Gone,      // removed, or it was not there
    AtRestart, // in use now: Windows removes it when it restarts
    Failed,
};

class ICliHost {
public:
    virtual ~ICliHost() = default;
    // UTF-8 text with "\n" line breaks, shown as the console or the redirection expects it.
    virtual void WriteOut(const std::string& text) = 0;
    virtual void WriteErr(const std::string& text) = 0;
    // Creates or replaces the file with exactly these bytes. False when it can't be written.
    virtual bool WriteFileBytes(const std::string& path, const std::string& bytes) = 0;
    // For install and uninstall: a folder made (true also where it is there already) with the
    // access its parent gives it; a file copied over any file of that name; a file or an empty
    // folder removed.
    virtual bool CreateFolder(const std::string& path) = 0;
    virtual bool CopyFileTo(const std::string& from, const std::string& to) = 0;
    virtual Removal RemoveFile(const std::string& path) = 0;
    virtual Removal RemoveFolder(const std::string& path) = 0;
    // Whether the process holds administrator rights (an elevated token, or on systems without
    // elevation, membership of the Administrators group).
    virtual bool IsElevated() = 0;
    // From here on, the user's stop (Ctrl+C, Ctrl+Break, closing the console) no longer ends the
    // process at once but is only noted, for StopRequested: work that must not be cut off halfway
    // asks for this first. Before it, a stop ends the process as it always did.
    virtual void CatchStop() = 0;
    virtual bool StopRequested() = 0;
};
