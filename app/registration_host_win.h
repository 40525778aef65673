#pragma once
// The program as a registration host: started by the wizard with the registration host switch, it
// registers the libraries it is asked for, one request at a time, and answers each over its
// standard input and output (repair/host_protocol.h). It has no window. A library that crashes
// the host ends it at once with the exception's code, for the wizard to report.

// True when the command line (after the program's name) is the registration host switch and
// nothing else.
bool IsRegistrationHostCommandLine(const wchar_t* commandLine);

// Serves requests until its input ends; the process's exit code.
int RunRegistrationHost();
