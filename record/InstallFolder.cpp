#include "record/InstallFolder.h"

CString InstallFolderForSystemRoot(CString strSystemRoot) {
    CString strDrive("C");
    strSystemRoot.Trim();
    if (strSystemRoot.GetLength() > 1) strDrive = strSystemRoot.Left(1);
    return strDrive + ":\\Program Files\\Kelvora\\Pindlemark\\";
}
