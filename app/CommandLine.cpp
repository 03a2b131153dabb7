#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

#include "platform/AutostartEntry.h"
#include "windows/VersionText.h"

namespace {

constexpr int kUsageError = 2;

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

int usageError(const QString& message) {
    print(stderr, QStringLiteral("quillon: %1\nTry 'quillon --help'.\n").arg(message));
    return kUsageError;
}

}  // namespace

std::optional<int> runCommandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.size() <= 1) return std::nullopt;

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Quillon, a desktop clock whose face is a moving picture.\n"
                       "Without options it starts the clock."));
    // -session (below) is a word after one dash, not the letters s, e, s... run together.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and ends."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and ends."));
    const QCommandLineOption autostart(
        QStringLiteral("autostart"),
        QStringLiteral("Starts the clock at login (on) or no longer (off), for this user."),
        QStringLiteral("on|off"));
    // A session manager restarting the clock passes -session; Qt reads it, the clock starts.
    QCommandLineOption session(QStringLiteral("session"), QString(), QStringLiteral("id"));
    session.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({help, version, autostart, session});

    if (!parser.parse(arguments)) return usageError(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("unexpected argument '%1'")
                              .arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(help)) {
        // Without an application object Qt cannot know the program's name and writes a stand-in.
        print(stdout, parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                QFileInfo(arguments.constFirst()).fileName()));
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, versionText().join(u'\n') + u'\n');
        return 0;
    }
    if (parser.isSet(autostart)) {
        const QString choice = parser.value(autostart);
        if (choice != QStringLiteral("on") && choice != QStringLiteral("off"))
            return usageError(QStringLiteral("--autostart takes on or off, not '%1'").arg(choice));
        const QString error = choice == QStringLiteral("on")
                                  ? writeAutostartEntry(runningProgramPath())
                                  : removeAutostartEntry();
        if (!error.isEmpty()) {
            print(stderr, QStringLiteral("quillon: %1\n").arg(error));
            return 1;
        }
        return 0;
    }
    return std::nullopt;
}
