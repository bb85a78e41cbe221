// The GNU C++ run-time's default terminate handler prints the type of an uncaught exception,
// and for that links in a whole symbol demangler (about 45 KB of each program). A GUI program
// has no console to print to, so this handler ends the program as std::terminate would without
// the message. Linked as an object of the program itself (not from a library), so that it takes
// the place of the run-time's own definition.
#include <cstdlib>  // also tells which C++ run-time this is

#if defined(__GLIBCXX__)

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
#endif
