#include "uninstall/InheritedHandles.h"

#include <new>

namespace {

const DWORD EXTENDED_STARTUPINFO = 0x00080000;       // EXTENDED_STARTUPINFO_PRESENT
const DWORD_PTR ATTRIBUTE_HANDLE_LIST = 0x00020002;  // PROC_THREAD_ATTRIBUTE_HANDLE_LIST

typedef BOOL(WINAPI* PFN_INITIALIZE_LIST)(void* pList, DWORD nCount, DWORD dwFlags, SIZE_T* pSize);
typedef BOOL(WINAPI* PFN_UPDATE_LIST)(void* pList, DWORD dwFlags, DWORD_PTR nAttribute, void* pValue,
                                      SIZE_T nSize, void* pPrevious, SIZE_T* pReturnSize);
typedef void(WINAPI* PFN_DELETE_LIST)(void* pList);

// Taken by name: the functions exist from Windows Vista on.
FARPROC Kernel32Entry(const char* pszName) {
    return ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), pszName);
}

template <typename T>
T EntryAs(const char* pszName) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(Kernel32Entry(pszName)));
}

}  // namespace

CInheritedHandles::CInheritedHandles(const STARTUPINFOW& si, const HANDLE* phHandles, int nHandles)
    : m_pListBlock(NULL), m_bListed(FALSE) {
    ::ZeroMemory(&m_si, sizeof m_si);
    m_si.StartupInfo = si;
    m_si.StartupInfo.cb = sizeof m_si.StartupInfo;
    if (nHandles <= 0 || nHandles > MAX_HANDLES) return;
    for (int i = 0; i < nHandles; ++i) m_ahHandles[i] = phHandles[i];

    PFN_INITIALIZE_LIST pfnInitialize = EntryAs<PFN_INITIALIZE_LIST>("InitializeProcThreadAttributeList");
    PFN_UPDATE_LIST pfnUpdate = EntryAs<PFN_UPDATE_LIST>("UpdateProcThreadAttribute");
    if (pfnInitialize == NULL || pfnUpdate == NULL ||
        EntryAs<PFN_DELETE_LIST>("DeleteProcThreadAttributeList") == NULL)
        return;
    SIZE_T nSize = 0;
    pfnInitialize(NULL, 1, 0, &nSize);  // fails, giving the size
    if (nSize == 0) return;
    m_pListBlock = new (std::nothrow) BYTE[nSize];
    if (m_pListBlock == NULL) return;
    if (!pfnInitialize(m_pListBlock, 1, 0, &nSize)) {
        delete[] m_pListBlock;
        m_pListBlock = NULL;
        return;
    }
    if (!pfnUpdate(m_pListBlock, 0, ATTRIBUTE_HANDLE_LIST, m_ahHandles, nHandles * sizeof(HANDLE), NULL,
                   NULL))
        return;
    m_si.StartupInfo.cb = sizeof m_si;
    m_si.lpAttributeList = m_pListBlock;
    m_bListed = TRUE;
}

CInheritedHandles::~CInheritedHandles() {
    if (m_pListBlock == NULL) return;
    EntryAs<PFN_DELETE_LIST>("DeleteProcThreadAttributeList")(m_pListBlock);
    delete[] m_pListBlock;
}

DWORD CInheritedHandles::CreationFlags() const {
    return m_bListed ? EXTENDED_STARTUPINFO : 0;
}
