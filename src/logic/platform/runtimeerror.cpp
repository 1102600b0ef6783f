#include "platform/runtimeerror.h"

#include <cerrno>

#include <array>
#include <utility>

namespace vorn {

namespace {

struct ErrorText {
    ErrorNumber code;
    const char* text;
};

constexpr std::array kErrorTexts{
    ErrorText{ErrorNumber::InvalidCall, "Argument ou appel de procédure incorrect"},
    ErrorText{ErrorNumber::Overflow, "Dépassement de capacité"},
    ErrorText{ErrorNumber::OutOfMemory, "Mémoire insuffisante"},
    ErrorText{ErrorNumber::TypeMismatch, "Type incompatible"},
    ErrorText{ErrorNumber::FileNotFound, "Fichier introuvable"},
    ErrorText{ErrorNumber::FileExists, "Ce fichier existe déjà"},
    ErrorText{ErrorNumber::DiskFull, "Disque plein"},
    ErrorText{ErrorNumber::DeviceUnavailable, "Périphérique non disponible"},
    ErrorText{ErrorNumber::PermissionDenied, "Permission refusée"},
    ErrorText{ErrorNumber::DiskNotReady, "Disque non prêt"},
    ErrorText{ErrorNumber::PathFileAccess, "Erreur d'accès au chemin ou au fichier"},
    ErrorText{ErrorNumber::PathNotFound, "Chemin introuvable"},
};

// The system's error codes and the run-time errors they stand for, about a file and about a
// folder, as local disks, memory and FAT volumes, read-only mounts and network or FUSE
// volumes give them.
struct ErrnoRow {
    int code;
    ErrorNumber file;
    ErrorNumber folder;
};

using enum ErrorNumber;
constexpr std::array kErrnoRows{
    ErrnoRow{ENOENT, FileNotFound, PathNotFound},
    // A file or folder a network volume's server no longer has.
    ErrnoRow{ESTALE, FileNotFound, PathNotFound},
    ErrnoRow{ENOTDIR, PathNotFound, PathNotFound},
    ErrnoRow{EEXIST, FileExists, FileExists},
    ErrnoRow{EACCES, PermissionDenied, PermissionDenied},
    ErrnoRow{EPERM, PermissionDenied, PermissionDenied},
    // A program file another program is writing: it may not be run or changed meanwhile.
    ErrnoRow{ETXTBSY, PermissionDenied, PermissionDenied},
    ErrnoRow{EROFS, PermissionDenied, PermissionDenied},
    ErrnoRow{ENOSPC, DiskFull, DiskFull},
    ErrnoRow{EDQUOT, DiskFull, DiskFull},
    ErrnoRow{ENAMETOOLONG, PathFileAccess, PathFileAccess},
    ErrnoRow{ENOTEMPTY, PathFileAccess, PathFileAccess},
    ErrnoRow{EBUSY, PathFileAccess, PathFileAccess},
    ErrnoRow{ENODEV, DeviceUnavailable, DeviceUnavailable},
    ErrnoRow{ENXIO, DeviceUnavailable, DeviceUnavailable},
    ErrnoRow{EIO, DiskNotReady, DiskNotReady},
    // A drive with no disk or card in it.
    ErrnoRow{ENOMEDIUM, DiskNotReady, DiskNotReady},
    // A network or FUSE volume whose server or program no longer answers.
    ErrnoRow{ENOTCONN, DeviceUnavailable, DeviceUnavailable},
    ErrnoRow{ETIMEDOUT, DeviceUnavailable, DeviceUnavailable},
    ErrnoRow{EHOSTDOWN, DeviceUnavailable, DeviceUnavailable},
    ErrnoRow{EHOSTUNREACH, DeviceUnavailable, DeviceUnavailable},
    ErrnoRow{ENETDOWN, DeviceUnavailable, DeviceUnavailable},
    ErrnoRow{ENETUNREACH, DeviceUnavailable, DeviceUnavailable},
    ErrnoRow{ECONNREFUSED, DeviceUnavailable, DeviceUnavailable},
    ErrnoRow{ECONNRESET, DeviceUnavailable, DeviceUnavailable},
    ErrnoRow{ECONNABORTED, DeviceUnavailable, DeviceUnavailable},
    ErrnoRow{ENOMEM, OutOfMemory, OutOfMemory},
};

} // namespace

RuntimeError::RuntimeError(ErrorNumber code, int systemError)
    : m_code(code)
    , m_systemError(systemError)
    , m_what(QByteArray("run-time error ") + QByteArray::number(static_cast<int>(code))) {}

const char* RuntimeError::what() const noexcept {
    return m_what.constData();
}

QString RuntimeError::describe(ErrorNumber code) {
    for (const auto& entry : kErrorTexts) {
        if (entry.code == code)
            return QString::fromUtf8(entry.text);
    }
    return QStringLiteral("Erreur définie par l'application ou par l'objet");
}

void raise(ErrorNumber code) {
    throw RuntimeError(code);
}

ErrorNumber errorFromErrno(int code, ErrnoSubject subject) {
    for (const ErrnoRow& row : kErrnoRows) {
        if (row.code == code)
            return subject == ErrnoSubject::File ? row.file : row.folder;
    }
    return ErrorNumber::PathFileAccess;
}

void raiseErrno(int code, ErrnoSubject subject) {
    throw RuntimeError(errorFromErrno(code, subject), code);
}

} // namespace vorn
