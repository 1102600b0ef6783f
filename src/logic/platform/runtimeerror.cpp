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
// folder.
struct ErrnoRow {
    int code;
    ErrorNumber file;
    ErrorNumber folder;
};

using enum ErrorNumber;
constexpr std::array kErrnoRows{
    ErrnoRow{ENOENT, FileNotFound, PathNotFound},
    ErrnoRow{ENOTDIR, PathNotFound, PathNotFound},
    ErrnoRow{EEXIST, FileExists, FileExists},
    ErrnoRow{EACCES, PermissionDenied, PermissionDenied},
    ErrnoRow{EPERM, PermissionDenied, PermissionDenied},
    ErrnoRow{EROFS, PermissionDenied, PermissionDenied},
    ErrnoRow{ENOSPC, DiskFull, DiskFull},
    ErrnoRow{EDQUOT, DiskFull, DiskFull},
    ErrnoRow{ENAMETOOLONG, PathFileAccess, PathFileAccess},
    ErrnoRow{ENOTEMPTY, PathFileAccess, PathFileAccess},
    ErrnoRow{EBUSY, PathFileAccess, PathFileAccess},
    ErrnoRow{ENODEV, DeviceUnavailable, DeviceUnavailable},
    ErrnoRow{ENXIO, DeviceUnavailable, DeviceUnavailable},
    ErrnoRow{EIO, DiskNotReady, DiskNotReady},
};

} // namespace

RuntimeError::RuntimeError(ErrorNumber code)
    : m_code(code)
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

} // namespace vorn
