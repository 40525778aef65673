#pragma once
// `quendry-cli install` and `uninstall`: the console program in one fixed place on each PC, and
// the event source Quendry that lets Event Viewer show its events' texts.
//
// The place is "<Program Files>\Quendry", the folder Windows gives 32-bit programs (on 64-bit
// Windows "Program Files (x86)", where a 32-bit program belongs). The folder is made without a
// security descriptor of its own, so it inherits Program Files' access list: administrators and
// the system change it, users only read and run. The source's message file names the copy there
// and nothing else: a message file a user could change would let that user rewrite what Event
// Viewer shows.
#include <string>

#include "cli_run.h"

// The installed copy's folder: ProgramFilesDir of the 32-bit registry view with "\Quendry";
// empty where Windows names no such folder.
std::string InstallFolder(CliPlatform& platform);

// Both need administrator rights (kExitNotElevated without them, nothing done). kExitOk when
// everything is in place (install) or gone (uninstall, also where nothing was installed);
// kExitAttention, with what failed on the error stream, otherwise.
int Install(CliPlatform& platform, Language lang);
int Uninstall(CliPlatform& platform, Language lang);
