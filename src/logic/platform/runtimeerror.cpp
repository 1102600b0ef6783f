#include "platform/runtimeerror.h"

#include <cerrno>

#include <array>
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
    ErrorText{ErrDeviceUnavailable, "Périphérique non disponible"},
    ErrorText{ErrPermissionDenied, "Permission refusée"},
    ErrorText{ErrDiskNotReady, "Disque non prêt"},
    ErrorText{ErrPathFileAccess, "Erreur d'accès au chemin ou au fichier"},
    ErrorText{ErrPathNotFound, "Chemin introuvable"},
};

} // namespace

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
