#include <fcntl.h>
#include <linux/close_range.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>

#include "platform/ProgramStarter.h"

namespace {

// Libraries open descriptors without close-on-exec, and the clock may have inherited some:
// none of them is the started program's business.
void closeOnExecBeyondStandard() {
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0) return;
    // Kernels before 5.11, or a sandbox that refuses the call.
    const QStringList open = QDir(QStringLiteral("/proc/self/fd"))
                                 .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : open) {
        const int fd = name.toInt();
        if (fd > 2) ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
    }
}

}  // namespace

bool QtProgramStarter::start(const QString& commandLine) {
    QStringList arguments = QProcess::splitCommand(commandLine);
    if (arguments.isEmpty()) return false;
    const QString program = arguments.takeFirst();
    closeOnExecBeyondStandard();
    return QProcess::startDetached(program, arguments);
}
