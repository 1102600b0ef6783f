#include "platform/runtimeerror.h"

#include <array>
#include <cerrno>
#include <utility>

namespace vorn {

namespace {

struct ErrorText {
    int number;
    const char* text;
};

constexpr std::array kErrorTexts{
    ErrorText{ErrInvalidCall, "Argument ou appel de procédure incorrect"},
    ErrorText{ErrOverflow, "Dépassement de capacité"},
    ErrorText{ErrTypeMismatch, "Type incompatible"},
    ErrorText{ErrFileNotFound, "Fichier introuvable"},
    ErrorText{ErrFileExists, "Ce fichier existe déjà"},
    ErrorText{ErrDiskFull, "Disque plein"},
    ErrorText{ErrDeviceUnavailable, "Périphérique non disponible"},
    ErrorText{ErrPermissionDenied, "Permission refusée"},
    ErrorText{ErrDiskNotReady, "Disque non prêt"},
    ErrorText{ErrPathFileAccess, "Erreur d'accès au chemin ou au fichier"},
    ErrorText{ErrPathNotFound, "Chemin introuvable"},
};

// The system's error codes and the run-time errors they stand for, about a file and about a
// folder.
struct ErrnoRow {
    int code;
    int file;
    int folder;
};

constexpr std::array kErrnoRows{
    ErrnoRow{ENOENT, ErrFileNotFound, ErrPathNotFound},
    ErrnoRow{ENOTDIR, ErrPathNotFound, ErrPathNotFound},
    ErrnoRow{EEXIST, ErrFileExists, ErrFileExists},
    ErrnoRow{EACCES, ErrPermissionDenied, ErrPermissionDenied},
    ErrnoRow{EPERM, ErrPermissionDenied, ErrPermissionDenied},
    ErrnoRow{EROFS, ErrPermissionDenied, ErrPermissionDenied},
    ErrnoRow{ENOSPC, ErrDiskFull, ErrDiskFull},
    ErrnoRow{EDQUOT, ErrDiskFull, ErrDiskFull},
    ErrnoRow{ENAMETOOLONG, ErrPathFileAccess, ErrPathFileAccess},
    ErrnoRow{ENOTEMPTY, ErrPathFileAccess, ErrPathFileAccess},
    ErrnoRow{EBUSY, ErrPathFileAccess, ErrPathFileAccess},
    ErrnoRow{ENODEV, ErrDeviceUnavailable, ErrDeviceUnavailable},
    ErrnoRow{ENXIO, ErrDeviceUnavailable, ErrDeviceUnavailable},
    ErrnoRow{EIO, ErrDiskNotReady, ErrDiskNotReady},
};

} // namespace

int errorFromErrno(int code, ErrnoSubject subject) {
    for (const ErrnoRow& row : kErrnoRows) {
        if (row.code == code)
            return subject == ErrnoSubject::File ? row.file : row.folder;
    }
    return ErrPathFileAccess;
}

RuntimeError::RuntimeError(int number)
    : m_number(number)
    , m_what(QByteArray("run-time error ") + QByteArray::number(number)) {}

const char* RuntimeError::what() const noexcept {
    return m_what.constData();
}

QString RuntimeError::describe(int number) {
    for (const auto& entry : kErrorTexts) {
        if (entry.number == number)
            return QString::fromUtf8(entry.text);
    }
    return QStringLiteral("Erreur définie par l'application ou par l'objet");
}

void raise(int number) {
    throw RuntimeError(number);
}

} // namespace vorn
