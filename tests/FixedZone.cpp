// Linked into every test binary: the tests run in New York time, and
// off-screen unless told otherwise, whatever the shell that starts them
// says. A binary run by hand then gives what ctest gives.
#include <cstdlib>
#include <ctime>

namespace
{
// Ahead of every other initialiser of the binary, so nothing reads the
// zone before it is set.
__attribute__((constructor(101))) void FixTestEnvironment()
{
    setenv("TZ", "America/New_York", 1);
    tzset();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
}
}
