#pragma once
// How many processes of the running Wine prefix have a given program name: the tests that start
// registration hosts check with it that none outlives its run.
#include <windows.h>

#include <tlhelp32.h>

// -1 when the system gives no process snapshot.
inline int ProcessesNamed(const wchar_t* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry))
        if (lstrcmpiW(entry.szExeFile, name) == 0)
            ++count;
    CloseHandle(snapshot);
    return count;
}
