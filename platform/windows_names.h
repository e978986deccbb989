#pragma once
// <windows.h> turns these names into macros for its ANSI and wide functions
// (SendMessage becomes SendMessageW, ...). Our functions keep the names the
// kiosk is written in, so a file that sees <windows.h> and then our headers
// must still mean ours: the macros are undone here. A Windows back end file
// includes <windows.h> first and calls the system's own by their explicit
// names (SendMessageW, GetComputerNameW, ...).

#ifdef _WIN32
#undef DispatchMessage
#undef GetComputerName
#undef GetMessage
#undef GetPrivateProfileString
#undef GetProfileString
#undef PeekMessage
#undef PostMessage
#undef PostThreadMessage
#undef RegisterWindowMessage
#undef SendMessage
#undef WritePrivateProfileString
#undef WriteProfileString
#endif
