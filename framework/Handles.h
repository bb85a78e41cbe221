// Single owners for Win32 handles: each closes its handle exactly once, on every path.
// Copying is deleted; ownership moves only by Detach/Attach or by move.
#pragma once
#include <windows.h>

template <typename Traits>
class CScopedHandle {
public:
    typedef typename Traits::Type Type;

    CScopedHandle() : m_h(Traits::Invalid()) {}
    explicit CScopedHandle(Type h) : m_h(h) {}
    ~CScopedHandle() { Close(); }

    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;
    CScopedHandle(CScopedHandle&& other) : m_h(other.Detach()) {}
    CScopedHandle& operator=(CScopedHandle&& other) {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    BOOL IsValid() const { return Traits::IsValid(m_h); }
    Type Get() const { return m_h; }
    operator Type() const { return m_h; }
    // For out-parameters of creating calls: closes what is held and hands out the slot.
    Type* Receive() {
        Close();
        return &m_h;
    }

    void Attach(Type h) {
        Close();
        m_h = h;
    }
    Type Detach() {
        Type h = m_h;
        m_h = Traits::Invalid();
        return h;
    }
    void Close() {
        if (Traits::IsValid(m_h)) Traits::Release(m_h);
        m_h = Traits::Invalid();
    }

private:
    Type m_h;
};

struct KernelHandleTraits {  // CreateThread, CreateProcess, OpenProcess ...: null on failure
    typedef HANDLE Type;
    static Type Invalid() { return NULL; }
    static BOOL IsValid(Type h) { return h != NULL && h != INVALID_HANDLE_VALUE; }
    static void Release(Type h) { ::CloseHandle(h); }
};
struct FileHandleTraits {  // CreateFile: INVALID_HANDLE_VALUE on failure
    typedef HANDLE Type;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static BOOL IsValid(Type h) { return h != NULL && h != INVALID_HANDLE_VALUE; }
    static void Release(Type h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
    typedef HANDLE Type;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static BOOL IsValid(Type h) { return h != NULL && h != INVALID_HANDLE_VALUE; }
    static void Release(Type h) { ::FindClose(h); }
};
struct RegKeyTraits {
    typedef HKEY Type;
    static Type Invalid() { return NULL; }
    static BOOL IsValid(Type h) { return h != NULL; }
    static void Release(Type h) { ::RegCloseKey(h); }
};
struct ModuleTraits {
    typedef HMODULE Type;
    static Type Invalid() { return NULL; }
    static BOOL IsValid(Type h) { return h != NULL; }
    static void Release(Type h) { ::FreeLibrary(h); }
};
struct LocalMemTraits {  // FormatMessage with FORMAT_MESSAGE_ALLOCATE_BUFFER
    typedef char* Type;
    static Type Invalid() { return NULL; }
    static BOOL IsValid(Type h) { return h != NULL; }
    static void Release(Type h) { ::LocalFree(h); }
};

typedef CScopedHandle<KernelHandleTraits> CKernelHandle;
typedef CScopedHandle<FileHandleTraits> CFileHandle;
typedef CScopedHandle<FindHandleTraits> CFindHandle;
typedef CScopedHandle<RegKeyTraits> CRegKeyHandle;
typedef CScopedHandle<ModuleTraits> CModuleHandle;
typedef CScopedHandle<LocalMemTraits> CLocalText;
