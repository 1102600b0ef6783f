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

// The run-time error a failed system call's errno stands for, `fallback` when none fits.
int errorFromErrno(int code, int fallback);

} // namespace vorn
