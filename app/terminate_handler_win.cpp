// The handler std::terminate calls. The library's own one writes the exception's type to the
// standard error stream before it aborts, and needs the whole symbol demangler for that (some
// 45 KB); a program of the window subsystem has no such stream, so it only aborts.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx
