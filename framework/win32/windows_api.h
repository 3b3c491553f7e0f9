// <windows.h> for the Win32 backend, without the A/W name macros that would rename the
// window system's own methods (SendMessage, MessageBox, LoadString, ...). Code that includes
// this header calls the ANSI functions by their full names.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// windows.h first: commctrl.h relies on its types.
#include <commctrl.h>
#include <commdlg.h>

#undef CreateDialog
#undef DialogBox
#undef GetClassName
#undef GetOpenFileName
#undef GetWindowText
#undef LoadBitmap
#undef LoadIcon
#undef LoadMenu
#undef LoadString
#undef MessageBox
#undef PostMessage
#undef RegisterWindowMessage
#undef SendMessage
#undef SetWindowText
