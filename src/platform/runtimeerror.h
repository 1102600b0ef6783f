#pragma once

#include <QString>

#include <exception>

namespace vorn {

// Run-time error numbers raised by conversions, file operations and program starts.
enum ErrorNumber : int {
    ErrInvalidCall = 5,
    ErrOverflow = 6,
    ErrTypeMismatch = 13,
    ErrFileNotFound = 53,
    ErrFileExists = 58,
    ErrDiskFull = 61,
    ErrDeviceUnavailable = 68,
    ErrPermissionDenied = 70,
    ErrDiskNotReady = 71,
    ErrPathFileAccess = 75,
    ErrPathNotFound = 76,
};

// A run-time error: its number and French description. Thrown by the runtime layer and
// caught by the event-handler guard, which reports it and lets the program go on.
class RuntimeError : public std::exception {
public:
    explicit RuntimeError(int number);

    int number() const noexcept { return m_number; }
    QString description() const { return describe(m_number); }
    const char* what() const noexcept override;

    static QString describe(int number);

private:
    int m_number;
    QByteArray m_what;
};

[[noreturn]] void raise(int number);

// What a failed system call was about: a file, or a folder (or the path leading to an entry).
// A missing file is error 53, a missing folder or path error 76.
enum class ErrnoSubject { File, Folder };
// The run-time error that a failed system call's errno stands for; the one table every file
// and folder operation reports through. An errno it does not name gives error 75.
int errorFromErrno(int code, ErrnoSubject subject);

} // namespace vorn
