#include "platform/systemcalls.h"

#include <cerrno>

#include <fcntl.h>
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

} // namespace

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

void setFailure(std::function<int(Call, const char*)> hook) {
    failure() = std::move(hook);
}

} // namespace vorn::sys
