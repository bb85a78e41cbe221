// Places where a test build of Uninstall (PM_TEST_SEAMS) ends itself on request, as a kill or a
// power cut would, so that a test can show that a second run finishes what the first left. The
// environment variable PM_UNINSTALL_END_AT names the place. Where PM_UNINSTALL_FAIL_AT names a
// place, the system's call there is taken to fail for want of memory. The shipped program has none
// of this.
#pragma once

#ifdef PM_TEST_SEAMS
void EndHereIfAsked(const char* pszPlace);
// TRUE, with the last error set, where the test asks the call at pszPlace to fail.
bool FailHereIfAsked(const char* pszPlace);
#else
inline void EndHereIfAsked(const char*) {}
inline bool FailHereIfAsked(const char*) {
    return false;
}
#endif
