// Attaching a window object at creation: between AfxHookWindowCreate and AfxUnhookWindowCreate,
// the next window that this thread creates is attached to pWnd and subclassed before it gets
// WM_NCCREATE, so that even its first messages (WM_CREATE, WM_INITDIALOG) reach the object's
// message map. CWnd::CreateEx uses it; a dialog class wraps CreateDialog*/DialogBox* in it.
#pragma once
#include <windows.h>

#include "framework/BaseTypes.h"

class CWnd;

// Calls nest: a window's OnCreate may create child windows the same way. FALSE when the hook
// could not be set, or when an earlier call's window has not been created yet.
BOOL AfxHookWindowCreate(CWnd* pWnd);
// Removes the hook; TRUE when the pending object was attached to a window.
BOOL AfxUnhookWindowCreate();
