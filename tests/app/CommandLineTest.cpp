#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "platform/AutostartEntry.h"
#include "platform/fake/Fakes.h"
#include "windows/fomVersion.h"

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

// The program in a user environment of its own, with no display at all: the options must not
// need one.
class CommandLine : public ::testing::Test {
protected:
    Outcome run(const QStringList& arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config());
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(QUILLON_PROGRAM), arguments);
        EXPECT_TRUE(process.waitForFinished(10000)) << arguments.join(u' ').toStdString();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QString config() const { return home.filePath(QStringLiteral("config")); }

    QTemporaryDir home;
};

TEST_F(CommandLine, VersionPrintsTheVersionWindowsText) {
    FakePlatform fakes;
    QRandomGenerator random(1);
    const fomVersion window(fakes.platform(), random);
    const QString shown = window.Label1->text() + u'\n' + window.Label2->text() + u'\n' +
                          window.Label3->text() + u'\n';

    const Outcome version = run({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0) << version.err.toStdString();
    EXPECT_EQ(version.out, shown);
}

TEST_F(CommandLine, WrongOptionsEndWithStatusTwoAndSayWhy) {
    for (const QStringList& wrong :
         {QStringList{QStringLiteral("--frobnicate")},
          QStringList{QStringLiteral("--autostart"), QStringLiteral("yes")},
          QStringList{QStringLiteral("--autostart")}, QStringList{QStringLiteral("stray")}}) {
        const Outcome result = run(wrong);
        EXPECT_EQ(result.status, 2) << wrong.join(u' ').toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("Try 'quillon --help'")))
            << result.err.toStdString();
        EXPECT_EQ(result.out, QString());
    }
    EXPECT_TRUE(run({QStringLiteral("--frobnicate")}).err.contains(QStringLiteral("frobnicate")));
    const Outcome help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: quillon [options]\n")) &&
                help.out.contains(QStringLiteral("--autostart <on|off>")))
        << help.out.toStdString();
}

TEST_F(CommandLine, AutostartOnWritesTheEntryOffRemovesItAndTheSettingsStayUntouched) {
    const QString entry = config() + QStringLiteral("/autostart/quillon.desktop");
    ASSERT_EQ(run({QStringLiteral("--autostart"), QStringLiteral("on")}).status, 0);
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << entry.toStdString();
    const QString text = QString::fromUtf8(file.readAll());
    const QString program = QFileInfo(QStringLiteral(QUILLON_PROGRAM)).canonicalFilePath();
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=\"%1\"\n").arg(program)))
        << text.toStdString();

    ASSERT_EQ(run({QStringLiteral("--autostart=off")}).status, 0);
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_EQ(run({QStringLiteral("--autostart"), QStringLiteral("off")}).status, 0);
    EXPECT_FALSE(QFileInfo::exists(config() + QStringLiteral("/Quillon")));
}

TEST(AutostartEntry, ExecStartsAPathWithSpacesQuotesDollarsAndPercentSigns) {
    const QString text =
        autostartEntryText(QStringLiteral(R"(/opt/my "clock"/$HOME\100%/quillon)"));
    // Quoted for the command line (\" \$ \\), then escaped as a value (\ doubled, % doubled).
    EXPECT_TRUE(
        text.contains(QStringLiteral(R"(Exec="/opt/my \\"clock\\"/\\$HOME\\\\100%%/quillon")")))
        << text.toStdString();
}

}  // namespace
