#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <vector>

#include "platform/TempFolder.h"

namespace {

// Not following links: a link is never taken for the file it points to.
bool isOrdinaryFile(int folder, const char* name) {
    struct stat status;
    return ::fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

QString PosixTempFolder::environmentVariable(const QString& name) const {
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

void PosixTempFolder::deleteOrdinaryFiles(const QString& folder, const NameTest& chosen) {
    // Every step goes through this one descriptor, so a folder renamed or replaced meanwhile
    // cannot send a deletion elsewhere.
    const int folderFd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) return;
    DIR* listing = ::fdopendir(folderFd);
    if (listing == nullptr) {
        ::close(folderFd);
        return;
    }
    // The names as listed, bytes and all: one that does not decode is still deleted by its own
    // name, never by a re-encoded one.
    std::vector<QByteArray> chosenNames;
    while (const dirent* entry = ::readdir(listing)) {
        if (entry->d_name[0] == '.') continue;  // hidden, and the folder and its parent
        const bool ordinary = entry->d_type == DT_REG || (entry->d_type == DT_UNKNOWN &&
                                                          isOrdinaryFile(folderFd, entry->d_name));
        if (ordinary && chosen(QFile::decodeName(entry->d_name)))
            chosenNames.emplace_back(entry->d_name);
    }
    // Deleted after the listing, as removing entries while reading a folder may skip others.
    for (const QByteArray& name : chosenNames) {
        // Once more just before: the name may have become a link or a folder since it was listed.
        if (isOrdinaryFile(folderFd, name.constData())) ::unlinkat(folderFd, name.constData(), 0);
    }
    ::closedir(listing);
}
