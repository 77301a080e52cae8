#include "port/linux/system_calls.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <grp.h>
#include <linux/capability.h>
#include <linux/major.h>
#include <linux/ppdev.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

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

void ignoreSignal(int /*signal*/) {}

// Interrupts this thread's blocking call at a deadline: a timer sends SIGALRM
// to this thread alone (never to Qt's own threads) at the deadline and then
// every Repeat until it is disarmed, and the handler, installed without
// SA_RESTART, does nothing but make the call fail with EINTR. A signal that
// comes just before the call starts to sleep interrupts nothing, so it comes
// again: the call ends at most Repeat after the deadline, whatever the
// timing. Disarmed when it goes out of scope.
class WakeUp {
public:
    static constexpr std::chrono::milliseconds Repeat{5};

    explicit WakeUp(Deadline until) {
        static const bool handled = [] {
            struct sigaction action = {};
            action.sa_handler = ignoreSignal;
            sigemptyset(&action.sa_mask);
            return ::sigaction(SIGALRM, &action, nullptr) == 0;
        }();
        sigevent event = {};
        event.sigev_notify = SIGEV_THREAD_ID;
        event.sigev_signo = SIGALRM;
        event._sigev_un._tid = ::gettid();
        armed_ = handled && ::timer_create(CLOCK_MONOTONIC, &event, &timer_) == 0;
        if (!armed_) {
            error_ = errno != 0 ? errno : EAGAIN;
            return;
        }
        // steady_clock is CLOCK_MONOTONIC.
        itimerspec when = {};
        when.it_value =
            timespecOf(std::max(until.time_since_epoch(), std::chrono::steady_clock::duration(1)));
        when.it_interval = timespecOf(Repeat);
        if (::timer_settime(timer_, TIMER_ABSTIME, &when, nullptr) != 0) {
            error_ = errno;
            ::timer_delete(timer_);
            armed_ = false;
        }
    }
    ~WakeUp() {
        if (armed_) {
            ::timer_delete(timer_);
        }
    }
    WakeUp(const WakeUp&) = delete;
    WakeUp& operator=(const WakeUp&) = delete;

    // 0 once armed; otherwise errno, and the call must not wait at all.
    int error() const { return armed_ ? 0 : error_; }

private:
    static timespec timespecOf(std::chrono::nanoseconds time) {
        return {static_cast<time_t>(time.count() / 1'000'000'000),
                static_cast<long>(time.count() % 1'000'000'000)};
    }

    timer_t timer_ = {};
    bool armed_ = false;
    int error_ = 0;
};

bool passed(Deadline until) {
    return std::chrono::steady_clock::now() >= until;
}

} // namespace

int LinuxSystemCalls::openDevice(const std::string& path) {
    return retrying([&] { return ::open(path.c_str(), O_RDWR | O_CLOEXEC); });
}

int LinuxSystemCalls::closeDevice(int fd) {
    // Never retried: after EINTR the descriptor is already gone on Linux.
    return ::close(fd) == 0 ? 0 : -errno;
}

int LinuxSystemCalls::lockExclusive(int fd, Deadline until) {
    // Past the deadline the lock is only tried, never waited for.
    if (passed(until)) {
        const int tried = retrying([&] { return ::flock(fd, LOCK_EX | LOCK_NB); });
        return tried == -EWOULDBLOCK ? -ETIMEDOUT : tried;
    }
    const WakeUp wakeUp(until);
    if (wakeUp.error() != 0) {
        return -wakeUp.error();
    }
    for (;;) {
        if (::flock(fd, LOCK_EX) == 0) {
            return 0;
        }
        if (errno != EINTR) {
            return -errno;
        }
        if (passed(until)) {
            return -ETIMEDOUT;
        }
    }
}

int LinuxSystemCalls::unlock(int fd) {
    return retrying([&] { return ::flock(fd, LOCK_UN); });
}

int LinuxSystemCalls::claim(int fd, Deadline until) {
    // ppdev has no claim that does not wait: past the deadline, none at all.
    if (passed(until)) {
        return -ETIMEDOUT;
    }
    const WakeUp wakeUp(until);
    if (wakeUp.error() != 0) {
        return -wakeUp.error();
    }
    // Never claimed again after EINTR: the kernel (parport_claim_or_block)
    // leaves the device in the port's wait list, and a second claim would
    // queue it twice.
    if (::ioctl(fd, PPCLAIM) == 0) {
        return 0;
    }
    return errno == EINTR && passed(until) ? -ETIMEDOUT : -errno;
}

int LinuxSystemCalls::writeData(int fd, PortByte value) {
    unsigned char data = value;
    return retrying([&] { return ::ioctl(fd, PPWDATA, &data); });
}

int LinuxSystemCalls::release(int fd) {
    return retrying([&] { return ::ioctl(fd, PPRELEASE); });
}

int LinuxSystemCalls::checkNode(int fd, const std::string& path) {
    struct stat opened = {};
    struct stat there = {};
    if (::fstat(fd, &opened) != 0) {
        return -errno;
    }
    if (::stat(path.c_str(), &there) != 0) {
        return -errno;
    }
    const bool same = opened.st_dev == there.st_dev && opened.st_ino == there.st_ino &&
                      opened.st_rdev == there.st_rdev;
    return same ? 0 : -ESTALE;
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
    if (major(status.st_rdev) == PP_MAJOR) {
        return NodeKind::ParallelPort;
    }
    // usblp's printers are minors 0-15 of the USB character major.
    if (major(status.st_rdev) == USB_CHAR_MAJOR && minor(status.st_rdev) < 16) {
        return NodeKind::UsbPrinter;
    }
    return NodeKind::OtherCharacterDevice;
}

GroupAccess LinuxSystemCalls::groupAccess(const std::string& path) {
    GroupAccess access;
    struct stat status = {};
    if (::stat(path.c_str(), &status) != 0) {
        return access;
    }
    const gid_t gid = status.st_gid;
    access.group = std::to_string(gid);

    std::vector<char> buffer(16384);
    group entry = {};
    group* found = nullptr;
    std::vector<std::string> members;
    if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        access.group = found->gr_name;
        for (char** member = found->gr_mem; member != nullptr && *member != nullptr; ++member) {
            members.emplace_back(*member);
        }
    }
    passwd user = {};
    passwd* me = nullptr;
    if (::getpwuid_r(::getuid(), &user, buffer.data(), buffer.size(), &me) == 0 && me != nullptr) {
        access.listed =
            me->pw_gid == gid || std::ranges::find(members, me->pw_name) != members.end();
    }

    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
    groups.resize(static_cast<std::size_t>(std::max(count, 0)));
    access.inSession = ::getegid() == gid || std::ranges::find(groups, gid) != groups.end();
    return access;
}

int LinuxSystemCalls::grantPortAccess(std::uint16_t port) {
#if PP_HAVE_IO_PORTS
    return ::ioperm(port, 1, 1) == 0 ? 0 : -errno;
#else
    (void)port;
    return -ENODEV;
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

bool LinuxSystemCalls::hasRawIo() {
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3> data = {};
    if (::syscall(SYS_capget, &header, data.data()) != 0) {
        return false;
    }
    return (data[CAP_SYS_RAWIO / 32].effective & (1U << (CAP_SYS_RAWIO % 32))) != 0;
}

} // namespace pp
