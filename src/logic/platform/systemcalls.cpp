#include "platform/systemcalls.h"

#include <cerrno>

#include <csignal>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vorn::sys {

namespace {

std::function<int(Call, const char*)>& failure() {
    static std::function<int(Call, const char*)> hook;
    return hook;
}

// True, with errno set, when the replaced outcome makes this call fail.
bool failed(Call call, const char* path) {
    if (!failure())
        return false;
    const int code = failure()(call, path);
    if (code == 0)
        return false;
    errno = code;
    return true;
}

std::function<timespec()>& clockSource() {
    static std::function<timespec()> clock;
    return clock;
}

} // namespace

timespec realTime() {
    if (clockSource())
        return clockSource()();
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

void setRealTime(std::function<timespec()> clock) {
    clockSource() = std::move(clock);
}

int fstatat(int folder, const char* path, struct stat* info, int flags) {
    return failed(Call::Stat, path) ? -1 : ::fstatat(folder, path, info, flags);
}

int openat(int folder, const char* path, int flags) {
    return failed(Call::Open, path) ? -1 : ::openat(folder, path, flags);
}

int mkdirat(int folder, const char* path, mode_t mode) {
    return failed(Call::MakeDir, path) ? -1 : ::mkdirat(folder, path, mode);
}

int unlinkat(int folder, const char* path, int flags) {
    return failed(Call::Unlink, path) ? -1 : ::unlinkat(folder, path, flags);
}

int access(const char* path, int mode) {
    return failed(Call::Access, path) ? -1 : ::access(path, mode);
}

int watch(int notifier, const char* path, uint32_t events) {
    return failed(Call::Watch, path) ? -1 : ::inotify_add_watch(notifier, path, events);
}

int startDetached(const char* path, const std::vector<const char*>& arguments) {
    std::vector<char*> argv;
    for (const char* argument : arguments)
        argv.push_back(const_cast<char*>(argument));
    argv.push_back(nullptr);
    // The grandchild runs the program; what its exec fails with comes back through a pipe that
    // closes by itself when the exec succeeds. The child in between ends at once, so the
    // program is nobody's child here and leaves no zombie behind.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return errno;
    const pid_t child = ::fork();
    if (child < 0) {
        const int code = errno;
        ::close(report[0]);
        ::close(report[1]);
        return code;
    }
    if (child == 0) {
        // Only calls that are safe between fork and exec from here on.
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::setsid();
            sigset_t none;
            ::sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            // Every signal at its default, as the desktop starts a program: one this program
            // inherited ignored (interrupt and quit, when a script started it in the
            // background) would stay ignored through exec, and Ctrl+C would stop nothing in the
            // terminal started from here. A signal that cannot be changed is refused, harmlessly.
            struct sigaction standard {};
            standard.sa_handler = SIG_DFL;
            for (int number = 1; number < NSIG; ++number)
                ::sigaction(number, &standard, nullptr);
            const int input = ::open("/dev/null", O_RDONLY);
            if (input >= 0 && input != STDIN_FILENO) {
                ::dup2(input, STDIN_FILENO);
                ::close(input);
            }
            ::execve(path, argv.data(), environ);
            const int code = errno;
            [[maybe_unused]] const ssize_t written = ::write(report[1], &code, sizeof code);
            ::_exit(127);
        }
        if (grandchild < 0) {
            const int code = errno;
            [[maybe_unused]] const ssize_t written = ::write(report[1], &code, sizeof code);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int code = 0;
    ssize_t got = 0;
    do
        got = ::read(report[0], &code, sizeof code);
    while (got < 0 && errno == EINTR);
    ::close(report[0]);
    return got == sizeof code ? code : 0;
}

void setFailure(std::function<int(Call, const char*)> hook) {
    failure() = std::move(hook);
}

} // namespace vorn::sys
