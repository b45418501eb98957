// What ends the program when an exception escapes everything: every handler of the program
// catches what it throws, so only a fault gets here.
#include <cstdlib>

namespace __gnu_cxx {

// The C++ library's own version prints the exception's demangled type to the standard error
// stream, which a window program has not; its demangler and formatted printing would be an eighth
// of velmora.exe. This one ends the program at once, as the library's does after printing.
void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
