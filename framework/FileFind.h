// CFileFind: a file search over FindFirstFileW/FindNextFileW in the framework's manner, on GBK
// patterns and names.
//   if (finder.FindFile(pattern)) { BOOL bMore = TRUE; while (bMore) { bMore = finder.FindNextFile(); ... } }
#pragma once
#include <windows.h>

#include "framework/BaseTypes.h"
#include "framework/Handles.h"
#include "framework/NarrowString.h"

class CFileFind {
public:
    CFileFind();
    ~CFileFind();

    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search (null: "*.*" in the current folder). FALSE when nothing matches or the
    // folder cannot be read; GetLastError then tells why.
    BOOL FindFile(LPCSTR pszPattern = NULL);
    // Moves to the next entry. Returns FALSE when the entry it moved to is the last one (the
    // entry is still valid then), TRUE while more follow.
    BOOL FindNextFile();
    void Close();

    // The entry's name has a GBK form: the programs can name it. When it has none, GetFileName and
    // GetFilePath give empty texts; such an entry can only be passed over.
    BOOL HasGbkName() const;
    CString GetFileName() const;
    CString GetFilePath() const;  // the folder of the pattern joined with the entry's name
    CString GetRoot() const { return m_strRoot; }
    DWORD GetAttributes() const;
    ULONGLONG GetLength() const;  // in bytes
    BOOL IsDirectory() const;
    BOOL IsDots() const;

private:
    CFindHandle m_hFind;
    WIN32_FIND_DATAW m_found;  // the entry FindNextFile moved to
    WIN32_FIND_DATAW m_next;   // the entry after it, read ahead to know whether it is the last
    CString m_strFoundName;    // m_found's name in GBK, when it has a GBK form
    BOOL m_bFoundGbk;
    BOOL m_bHasNext;
    BOOL m_bStarted;
    CString m_strRoot;  // folder of the pattern, ending in a separator, or empty
};
