#pragma once
// The console companion's answer to Ctrl+C, Ctrl+Break and the closing of its console: the stop is
// noted for the main thread, which ends after the library in work instead of in the middle of it.

// From here on a stop is only noted. False when the system would not take the handler: a stop then
// ends the process as before.
bool CatchConsoleStop();
bool ConsoleStopRequested();
// The main thread has written all it will: a closing console may now take the process with it.
void ConsoleWorkDone();
