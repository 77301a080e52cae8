#include "port/system_calls.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/major.h>
#include <linux/ppdev.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define PP_HAVE_IO_PORTS 1
#else
#define PP_HAVE_IO_PORTS 0
#endif

namespace pp {

namespace {

// Runs a call that sets errno, again while a signal interrupts it.
template <typename Call> int retrying(Call call) {
    for (;;) {
        const int result = call();
        if (result >= 0) {
            return result;
        }
        if (errno != EINTR) {
            return -errno;
        }
    }
}

} // namespace

int LinuxSystemCalls::openDevice(const std::string& path) {
    return retrying([&] { return ::open(path.c_str(), O_RDWR | O_CLOEXEC); });
}

int LinuxSystemCalls::closeDevice(int fd) {
    // Never retried: after EINTR the descriptor is already gone on Linux.
    return ::close(fd) == 0 ? 0 : -errno;
}

int LinuxSystemCalls::lockExclusive(int fd) {
    return retrying([&] { return ::flock(fd, LOCK_EX); });
}

int LinuxSystemCalls::unlock(int fd) {
    return retrying([&] { return ::flock(fd, LOCK_UN); });
}

int LinuxSystemCalls::claim(int fd) {
    return retrying([&] { return ::ioctl(fd, PPCLAIM); });
}

int LinuxSystemCalls::writeData(int fd, PortByte value) {
    unsigned char data = value;
    return retrying([&] { return ::ioctl(fd, PPWDATA, &data); });
}

int LinuxSystemCalls::release(int fd) {
    return retrying([&] { return ::ioctl(fd, PPRELEASE); });
}

int LinuxSystemCalls::checkAccess(const std::string& path) {
    return ::access(path.c_str(), R_OK | W_OK) == 0 ? 0 : -errno;
}

NodeKind LinuxSystemCalls::nodeKind(const std::string& path) {
    struct stat status = {};
    if (::stat(path.c_str(), &status) != 0) {
        return NodeKind::Missing;
    }
    if (!S_ISCHR(status.st_mode)) {
        return NodeKind::NotCharacterDevice;
    }
    return major(status.st_rdev) == PP_MAJOR ? NodeKind::ParallelPort
                                             : NodeKind::OtherCharacterDevice;
}

int LinuxSystemCalls::grantPortAccess(std::uint16_t port) {
#if PP_HAVE_IO_PORTS
    return ::ioperm(port, 1, 1) == 0 ? 0 : -errno;
#else
    (void)port;
    return -ENOSYS;
#endif
}

void LinuxSystemCalls::outputByte(std::uint16_t port, PortByte value) {
#if PP_HAVE_IO_PORTS
    ::outb(value, port);
#else
    (void)port;
    (void)value;
#endif
}

} // namespace pp
