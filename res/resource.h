#pragma once
// Resource ids of the pictures, shared by the resource script and the Win32 form.
#define IDB_BIGPICTURE 101
#define IDI_OK 102
#define IDI_PROBLEM 103
#define IDI_DOWNARROW 104
#define IDI_REPAIRING 105
// The file list's check mark and warning sign, one strip for each of 96, 120 and 144 dpi.
#define IDB_LISTIMAGES16 106
#define IDB_LISTIMAGES20 107
#define IDB_LISTIMAGES24 108
// The lowest icon id: Explorer takes the first icon group, and the groups are ordered by id.
#define IDI_APP 100
