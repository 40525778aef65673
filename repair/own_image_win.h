#pragma once
// The program's own file. The program runs elevated, usually from a downloads folder whose owner
// may rename the running file and put another under its name; started again from that path (as
// the registration host is), the other file would run with administrator rights and no prompt.
// So the file is held open from the first line of the program, without write or delete sharing:
// while the program runs it can be neither changed nor renamed. A host is only ever started from
// the held file, once it is known to be the running image and its path still names it.
#include <string>

// Opens the program's file and holds it until the process ends. Called first thing in wWinMain.
void HoldOwnImage();

// The path to start the program again from: that of the held file, when the file is byte for byte
// the running image (checked once, repair/image_match.h) and the path still names that same file
// (volume and file index); empty otherwise.
std::wstring VerifiedOwnImagePath();
