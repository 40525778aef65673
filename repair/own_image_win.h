#pragma once
// The program's own file. The program runs elevated, usually from a downloads folder whose owner
// may rename the running file and put another under its name; started again from that path (as
// the registration host is), the other file would run with administrator rights and no prompt.
// So the file is held open from the first line of the program, without write or delete sharing:
// while the program runs it can be neither changed nor renamed. It is checked, once, to be byte
// for byte the file the running program was built as; a host is started from its path only, and
// the started process is compared with its bytes before it runs (process_image_win.h).
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A program file to start as a registration host: its path, and its bytes as they were checked,
// which the started process must map.
struct HostImage {
    std::wstring Path;
    std::shared_ptr<const std::vector<uint8_t>> Bytes;
};

// Opens the program's file and holds it until the process ends. Called first thing in wWinMain.
void HoldOwnImage();

// The held file, when it is the running program: its headers and read-only sections are what
// the loader mapped (repair/image_match.h), and the whole file, writable sections and resources
// included, hashes to the digest the build sealed into the program (repair/image_seal.h); and
// its path still names it (volume and file index). Nothing otherwise, nor in an unsealed build.
std::optional<HostImage> VerifiedOwnImage();
