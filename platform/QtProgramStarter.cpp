#include <QProcess>

#include "platform/ProgramStarter.h"

bool QtProgramStarter::start(const QString& commandLine) {
    QStringList arguments = QProcess::splitCommand(commandLine);
    if (arguments.isEmpty()) return false;
    const QString program = arguments.takeFirst();
    return QProcess::startDetached(program, arguments);
}
