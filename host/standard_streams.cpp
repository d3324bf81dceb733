#include "standard_streams.h"

#if defined(_WIN32)

bool hold_standard_streams() {
    return true;
}

#else

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace {

bool isOpen(int fd) {
    return ::fcntl(fd, F_GETFD) != -1 || errno != EBADF;
}

} // namespace

bool hold_standard_streams() {
    bool outputOpen = true;
    for (int fd = 0; fd <= 2; ++fd) {
        if (isOpen(fd)) {
            continue;
        }
        if (fd == 1) {
            outputOpen = false;
        }
        // The lowest free number is `fd` itself, the ones below being open.
        const int held = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (held != fd && held >= 0) {
            ::dup2(held, fd);
            ::close(held);
        }
    }
    return outputOpen;
}

#endif
