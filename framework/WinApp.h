// CWinApp: the program's one application object. The framework's WinMain finds it, calls its
// InitInstance and, when that returns TRUE, its Run (the message loop); a FALSE from
// InitInstance ends the program with the result of ExitInstance.
#pragma once
#include <windows.h>

#include "framework/BaseTypes.h"
#include "framework/WinThread.h"

class CWinApp : public CWinThread {
public:
    // A null name means the program file's name without its extension.
    explicit CWinApp(LPCSTR pszAppName = NULL);
    ~CWinApp() override;

    HICON LoadIcon(UINT nIDResource) const;

    LPCSTR m_pszAppName;
    HINSTANCE m_hInstance;
};

// The application object, or null before it is constructed.
CWinApp* AfxGetApp();

// Kept for the familiar start-up sequence: the programs host no ActiveX controls, and 3D
// controls are the system's own look, so both have nothing to do.
inline void AfxEnableControlContainer() {}
inline BOOL Enable3dControls() {
    return TRUE;
}
