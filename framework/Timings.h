// Opt-in timing of chosen calls and moments, for the benchmark's breakdown of where a program's
// time goes. Only a build with PM_TIMINGS defined measures anything; in every other build the
// classes are empty and their calls compile to nothing, so the shipped programs carry none of it.
//
//   static CTimedPart s_copyFile("copy_file");   // one per measured call site, at namespace scope
//   { CTimedScope timed(s_copyFile); AfxCopyFile(...); }
//   AfxTimingMark("worker_start");
//   AfxTimingThreadCpu("worker");                 // the calling thread's processor time so far
//   AfxWriteTimings("PM_SETUP_TIMINGS");          // at the end: to the file that variable names
//
// A part is added to by one thread only (its call site's); marks may come from any thread.
#pragma once

#ifdef PM_TIMINGS
#include <windows.h>

class CTimedPart {
public:
    explicit CTimedPart(const char* pszName);

    void Add(LONGLONG nTicks) {
        m_nTicks += nTicks;
        ++m_nCalls;
    }

    const char* m_pszName;
    LONGLONG m_nTicks;
    LONG m_nCalls;
    CTimedPart* m_pNext;  // every part, in a list that the writer walks
};

class CTimedScope {
public:
    explicit CTimedScope(CTimedPart& part) : m_part(part) { ::QueryPerformanceCounter(&m_start); }
    ~CTimedScope() {
        LARGE_INTEGER end;
        ::QueryPerformanceCounter(&end);
        m_part.Add(end.QuadPart - m_start.QuadPart);
    }
    CTimedScope(const CTimedScope&) = delete;
    CTimedScope& operator=(const CTimedScope&) = delete;

private:
    CTimedPart& m_part;
    LARGE_INTEGER m_start;
};

void AfxTimingMark(const char* pszName);
void AfxTimingThreadCpu(const char* pszName);
void AfxWriteTimings(const char* pszFileVariable);

#else

class CTimedPart {
public:
    constexpr explicit CTimedPart(const char*) {}
};

class CTimedScope {
public:
    explicit CTimedScope(const CTimedPart&) {}
    ~CTimedScope() {}  // a guard like the timing build's, not a value never read
};

inline void AfxTimingMark(const char*) {}
inline void AfxTimingThreadCpu(const char*) {}
inline void AfxWriteTimings(const char*) {}

#endif
