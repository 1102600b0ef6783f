#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <vector>

#include <sys/stat.h>
#include <sys/types.h>

// The file-system calls that the file operations make, gathered so that tests can make one of
// them fail as a full disk, a quota or a refused permission would: conditions that a test run
// by the super-user cannot otherwise meet. Each behaves as the system call of its name. The
// clock that stamps file times stands here too, so that tests can set it forward or back.
namespace vorn::sys {

enum class Call { Stat, Open, MakeDir, Unlink, Access, Watch };

int fstatat(int folder, const char* path, struct stat* info, int flags);
int openat(int folder, const char* path, int flags);
int mkdirat(int folder, const char* path, mode_t mode);
int unlinkat(int folder, const char* path, int flags);
int access(const char* path, int mode);
// inotify_add_watch
int watch(int notifier, const char* path, uint32_t events);

// Starts the program at `path` with `arguments` (the program's own name first) and the
// process's environment, its input from /dev/null and every signal at its default, detached:
// it is not this process's child and is not waited for. Returns 0 once it runs, or the errno of
// the failure, the system's refusal to run the file included (ENOEXEC for a file that is no
// program).
int startDetached(const char* path, const std::vector<const char*>& arguments);

// The system's clock (CLOCK_REALTIME), the one the file systems stamp their times with.
timespec realTime();

// Replaces the clock that realTime() reads, as a clock set forward or back would: `clock`
// gives the time in its place. An empty function restores the system's clock.
void setRealTime(std::function<timespec()> clock);

// Replaces the outcome of the calls: `failure` receives each call with its path and returns
// the errno that call fails with, or 0 to let it run. An empty function restores the system.
void setFailure(std::function<int(Call, const char* path)> failure);

} // namespace vorn::sys
