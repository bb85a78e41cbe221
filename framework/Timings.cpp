// The timing build's store of parts and marks, and its report: "key value" lines, marks as
// QueryPerformanceCounter values (every process of the machine shares that clock), parts as
// whole microseconds and call counts.
#include "framework/Timings.h"

#include <stdio.h>
#include <stdlib.h>

namespace {

CTimedPart* s_pFirstPart = NULL;  // constant-initialised: parts register during static start-up

struct TIMING_MARK {
    const char* pszName;
    LONGLONG nTicks;
};
const LONG MAX_MARKS = 64;
TIMING_MARK s_marks[MAX_MARKS];
volatile LONG s_nMarks = 0;

// Processor time of named threads, user and kernel together, in 100 ns units.
const LONG MAX_THREADS = 8;
TIMING_MARK s_threads[MAX_THREADS];
volatile LONG s_nThreads = 0;

LONGLONG FileTimeUnits(const FILETIME& ft) {
    return static_cast<LONGLONG>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime;
}

LONGLONG Microseconds(LONGLONG nTicks, LONGLONG nFrequency) {
    return nFrequency > 0 ? nTicks / nFrequency * 1000000 + nTicks % nFrequency * 1000000 / nFrequency : 0;
}

}  // namespace

CTimedPart::CTimedPart(const char* pszName)
    : m_pszName(pszName), m_nTicks(0), m_nCalls(0), m_pNext(s_pFirstPart) {
    s_pFirstPart = this;
}

void AfxTimingMark(const char* pszName) {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    LONG nIndex = ::InterlockedIncrement(&s_nMarks) - 1;
    if (nIndex >= MAX_MARKS) return;
    s_marks[nIndex].nTicks = now.QuadPart;
    s_marks[nIndex].pszName = pszName;
}

void AfxTimingThreadCpu(const char* pszName) {
    FILETIME ftCreation, ftExit, ftKernel, ftUser;
    if (!::GetThreadTimes(::GetCurrentThread(), &ftCreation, &ftExit, &ftKernel, &ftUser)) return;
    LONG nIndex = ::InterlockedIncrement(&s_nThreads) - 1;
    if (nIndex >= MAX_THREADS) return;
    s_threads[nIndex].nTicks = FileTimeUnits(ftKernel) + FileTimeUnits(ftUser);
    s_threads[nIndex].pszName = pszName;
}

void AfxWriteTimings(const char* pszFileVariable) {
    const char* pszFile = getenv(pszFileVariable);
    if (pszFile == NULL || *pszFile == '\0') return;
    FILE* pFile = fopen(pszFile, "w");
    if (pFile == NULL) return;
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    fprintf(pFile, "qpc_frequency %lld\n", static_cast<long long>(frequency.QuadPart));
    const LONG nMarks = s_nMarks < MAX_MARKS ? s_nMarks : MAX_MARKS;
    for (LONG i = 0; i < nMarks; ++i)
        fprintf(pFile, "mark_%s %lld\n", s_marks[i].pszName, static_cast<long long>(s_marks[i].nTicks));
    const LONG nThreads = s_nThreads < MAX_THREADS ? s_nThreads : MAX_THREADS;
    for (LONG i = 0; i < nThreads; ++i)
        fprintf(pFile, "cpu_%s %lld\n", s_threads[i].pszName,
                static_cast<long long>(s_threads[i].nTicks / 10));
    for (const CTimedPart* pPart = s_pFirstPart; pPart != NULL; pPart = pPart->m_pNext) {
        fprintf(pFile, "time_%s %lld\n", pPart->m_pszName,
                static_cast<long long>(Microseconds(pPart->m_nTicks, frequency.QuadPart)));
        fprintf(pFile, "calls_%s %ld\n", pPart->m_pszName, static_cast<long>(pPart->m_nCalls));
    }
    fclose(pFile);
}
