// The one set of ownership rules for the GDI owners (CDC and CGdiObject), which hold their handle
// in a public member in the framework's manner: a handle is taken only into an empty owner,
// detaching empties the owner and hands the handle on, deleting releases it exactly once.
#pragma once
#include <windows.h>

template <typename THandle, BOOL(WINAPI* pfnDelete)(THandle)>
struct GdiOwnership {
    // FALSE (nothing taken) when a handle is already held or h is null.
    static BOOL Attach(THandle& hHeld, THandle h) {
        if (h == NULL || hHeld != NULL) return FALSE;
        hHeld = h;
        return TRUE;
    }
    static THandle Detach(THandle& hHeld) {
        THandle h = hHeld;
        hHeld = NULL;
        return h;
    }
    // FALSE when nothing was held, or the system failed to delete it (it is let go either way).
    static BOOL Delete(THandle& hHeld) {
        if (hHeld == NULL) return FALSE;
        return pfnDelete(Detach(hHeld));
    }
};

typedef GdiOwnership<HDC, &::DeleteDC> DcOwnership;
typedef GdiOwnership<HGDIOBJ, &::DeleteObject> GdiObjectOwnership;
