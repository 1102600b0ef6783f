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
    ErrorText{ErrorNumber::DeviceUnavailable, "Périphérique non disponible"},
    ErrorText{ErrorNumber::PermissionDenied, "Permission refusée"},
    ErrorText{ErrorNumber::DiskNotReady, "Disque non prêt"},
    ErrorText{ErrorNumber::PathFileAccess, "Erreur d'accès au chemin ou au fichier"},
    ErrorText{ErrorNumber::PathNotFound, "Chemin introuvable"},
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

void raise(int number) {
    raise(static_cast<ErrorNumber>(number));
}

int errorFromErrno(int code, int fallback) {
    switch (code) {
    case ENOENT:
        return ErrFileNotFound;
    case ENOTDIR:
        return ErrPathNotFound;
    case EEXIST:
        return ErrFileExists;
    case EACCES:
    case EPERM:
    case EROFS:
        return ErrPermissionDenied;
    case ENOTEMPTY:
    case EBUSY:
        return ErrPathFileAccess;
    case ENODEV:
    case ENXIO:
        return ErrDeviceUnavailable;
    case EIO:
        return ErrDiskNotReady;
    default:
        return fallback;
    }
}

} // namespace vorn
