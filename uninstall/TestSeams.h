// Places where a test build of Uninstall (PM_TEST_SEAMS) ends itself on request, as a kill or a
// power cut would, so that a test can show that a second run finishes what the first left. The
// environment variable PM_UNINSTALL_END_AT names the place. The shipped program has none of this.
#pragma once

#ifdef PM_TEST_SEAMS
void EndHereIfAsked(const char* pszPlace);
#else
inline void EndHereIfAsked(const char*) {}
#endif
