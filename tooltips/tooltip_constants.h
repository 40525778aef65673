#pragma once
// The tooltip control's messages (the ANSI forms), styles and flags: the platform's names with a
// "k" in front, so that they sit beside <windows.h> and its macros of the same names.
#include <cstdint>

namespace tooltip {

// Messages sent to the tooltip window.
inline constexpr uint32_t kTTM_ACTIVATE = 0x401;
inline constexpr uint32_t kTTM_SETDELAYTIME = 0x403;
inline constexpr uint32_t kTTM_ADDTOOLA = 0x404;
inline constexpr uint32_t kTTM_DELTOOLA = 0x405;
inline constexpr uint32_t kTTM_NEWTOOLRECTA = 0x406;
inline constexpr uint32_t kTTM_GETTOOLINFOA = 0x408;
inline constexpr uint32_t kTTM_HITTESTA = 0x40A;
inline constexpr uint32_t kTTM_GETTEXTA = 0x40B;
inline constexpr uint32_t kTTM_UPDATETIPTEXTA = 0x40C;
inline constexpr uint32_t kTTM_GETTOOLCOUNT = 0x40D;
inline constexpr uint32_t kTTM_ENUMTOOLSA = 0x40E;
inline constexpr uint32_t kTTM_GETCURRENTTOOLA = 0x40F;
inline constexpr uint32_t kTTM_TRACKACTIVATE = 0x411;
inline constexpr uint32_t kTTM_TRACKPOSITION = 0x412;
inline constexpr uint32_t kTTM_SETTIPBKCOLOR = 0x413;
inline constexpr uint32_t kTTM_SETTIPTEXTCOLOR = 0x414;
inline constexpr uint32_t kTTM_GETDELAYTIME = 0x415;
inline constexpr uint32_t kTTM_GETTIPBKCOLOR = 0x416;
inline constexpr uint32_t kTTM_GETTIPTEXTCOLOR = 0x417;
inline constexpr uint32_t kTTM_SETMAXTIPWIDTH = 0x418;
inline constexpr uint32_t kTTM_GETMAXTIPWIDTH = 0x419;
inline constexpr uint32_t kTTM_SETMARGIN = 0x41A;
inline constexpr uint32_t kTTM_GETMARGIN = 0x41B;
inline constexpr uint32_t kTTM_POP = 0x41C;
inline constexpr uint32_t kTTM_GETBUBBLESIZE = 0x41E;
inline constexpr uint32_t kTTM_ADJUSTRECT = 0x41F;
inline constexpr uint32_t kTTM_SETTITLEA = 0x420;

// Window styles and placement.
inline constexpr uint32_t kTTS_ALWAYSTIP = 0x01;
inline constexpr uint32_t kTTS_NOPREFIX = 0x02;
inline constexpr uint32_t kTTS_BALLOON = 0x40;
inline constexpr uint32_t kWS_POPUP = 0x80000000;
inline constexpr uint32_t kWS_EX_TOPMOST = 0x00000008;
inline constexpr int32_t kCW_USEDEFAULT = static_cast<int32_t>(0x80000000u);
inline constexpr uintptr_t kHWND_TOPMOST = static_cast<uintptr_t>(-1);
inline constexpr uint32_t kSWP_NOSIZE = 0x0001;
inline constexpr uint32_t kSWP_NOMOVE = 0x0002;
inline constexpr uint32_t kSWP_NOACTIVATE = 0x0010;

// Tool flags.
inline constexpr uint32_t kTTF_IDISHWND = 0x0001;
inline constexpr uint32_t kTTF_CENTERTIP = 0x0002;
inline constexpr uint32_t kTTF_SUBCLASS = 0x0010;
inline constexpr uint32_t kTTF_TRACK = 0x0020;
inline constexpr uint32_t kTTF_ABSOLUTE = 0x0080;
inline constexpr uint32_t kTTF_TRANSPARENT = 0x0100;

// Title icons.
inline constexpr int32_t kTTI_NONE = 0;
inline constexpr int32_t kTTI_INFO = 1;
inline constexpr int32_t kTTI_WARNING = 2;
inline constexpr int32_t kTTI_ERROR = 3;

// Delay kinds for kTTM_SETDELAYTIME and kTTM_GETDELAYTIME.
inline constexpr uint32_t kTTDT_AUTOMATIC = 0;
inline constexpr uint32_t kTTDT_RESHOW = 1;
inline constexpr uint32_t kTTDT_AUTOPOP = 2;
inline constexpr uint32_t kTTDT_INITIAL = 3;

// Common-controls initialisation: the record's size and every Windows 95 class.
inline constexpr uint32_t kInitCommonControlsExSize = 8;
inline constexpr uint32_t kICC_WIN95_CLASSES = 0xFF;

// A colour whose top byte is this names a system colour by its low byte.
inline constexpr uint32_t kSystemColorTag = 0x80;

} // namespace tooltip
