#include "FileError.h"

#include <cerrno>
#include <cstring>

namespace
{
std::string TheFile(const std::string& fileName)
{
    return fileName.empty() ? std::string("The file") : "The file \"" + fileName + "\"";
}

}  // namespace

std::string ErrorReason(int err)
{
    std::string text = std::strerror(err);
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z' && !(text.size() > 1 && text[1] >= 'A' && text[1] <= 'Z'))
        text[0] = char(text[0] - 'A' + 'a');
    return text;
}

std::string FileBaseName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FileError MakeFileError(FileError::Kind kind, const std::string& fileName, int err)
{
    FileError error;
    error.kind = kind;
    switch (kind) {
    case FileError::None:
        break;
    case FileError::NotFound:
        error.message = err == ENOENT || err == ENOTDIR
                            ? TheFile(fileName) + " could not be found."
                            : TheFile(fileName) + " could not be opened: " + ErrorReason(err) + ".";
        break;
    case FileError::Damaged:
        error.message = TheFile(fileName) + " is damaged or is not a checkbook file.";
        break;
    case FileError::AccessDenied:
        error.message = "Access to " + (fileName.empty() ? std::string("the file") : "\"" + fileName + "\"") +
                        " was denied because the password was not given correctly.";
        break;
    case FileError::PassphraseRefused:
        error.message = TheFile(fileName) + " is encrypted and was not opened: its passphrase was not given correctly.";
        break;
    case FileError::WriteFailed:
        error.message = TheFile(fileName) + " could not be saved: " + ErrorReason(err) + ".";
        break;
    case FileError::Locked:
        error.message = TheFile(fileName) + " is being changed by another program; nothing was written. "
                                            "Try again when it has finished.";
        break;
    }
    return error;
}
