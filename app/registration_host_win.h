#pragma once
// The program as a registration host: started by the wizard with the registration host switch and
// the handle of its end of the pipe (which it inherits), it registers the libraries it is asked
// for, one request at a time, and answers each over that pipe (repair/host_protocol.h). It has no
// window and no standard handles, so what a library prints goes nowhere. A library that crashes
// the host ends it at once with the exception's code, for the wizard to report.
#include <windows.h>

// The pipe handle when the command line (after the program's name) is the registration host
// switch followed by a handle number, and nothing else; null otherwise.
HANDLE RegistrationHostPipe(const wchar_t* commandLine);

// Serves requests until the pipe ends; the process's exit code.
int RunRegistrationHost(HANDLE pipe);
