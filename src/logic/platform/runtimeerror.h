#pragma once

#include <QString>

#include <exception>

namespace vorn {

// The run-time errors conversions, file operations and program starts raise; each one's
// value is the number the error box shows.
enum class ErrorNumber : int {
    InvalidCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    TypeMismatch = 13,
    FileNotFound = 53,
    FileExists = 58,
    DiskFull = 61,
    DeviceUnavailable = 68,
    PermissionDenied = 70,
    DiskNotReady = 71,
    PathFileAccess = 75,
    PathNotFound = 76,
};

// A run-time error and its French description. Thrown by the conversions and the file, folder
// and program operations of both lower layers, and caught by the event-handler guard, which
// reports it and lets the program go on.
class RuntimeError : public std::exception {
public:
    // `systemError` is the errno of the failed system call the error stands for, if any.
    explicit RuntimeError(ErrorNumber code, int systemError = 0);

    ErrorNumber code() const noexcept { return m_code; }
    int systemError() const noexcept { return m_systemError; }
    const char* what() const noexcept override;

    static QString describe(ErrorNumber code);

private:
    ErrorNumber m_code;
    int m_systemError;
    QByteArray m_what;
};

[[noreturn]] void raise(ErrorNumber code);

// What a failed system call was about: a file, or a folder (or the path leading to an entry).
// A missing file is error 53, a missing folder or path error 76.
enum class ErrnoSubject { File, Folder };
// The run-time error that a failed system call's errno stands for; the one table every file
// and folder operation reports through. An errno it does not name gives error 75.
ErrorNumber errorFromErrno(int code, ErrnoSubject subject);
// Raises the run-time error that `code` stands for, carrying `code` along.
[[noreturn]] void raiseErrno(int code, ErrnoSubject subject);

} // namespace vorn
