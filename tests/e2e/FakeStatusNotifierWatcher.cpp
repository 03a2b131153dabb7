// A panel's StatusNotifierWatcher with its host registered. Prints "item SERVICE PATH" for each
// item that registers; Qt reads the properties through introspection, which QtDBus answers.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <cstdio>

class FakeStatusNotifierWatcher final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered MEMBER m_host)

public slots:
    // The argument is the item's bus name or its path on the caller's connection.
    void RegisterStatusNotifierItem(const QString& item) {
        const QString path = item.startsWith(u'/') ? item : QStringLiteral("/StatusNotifierItem");
        std::printf("item %s %s\n", qPrintable(message().service()), qPrintable(path));
        std::fflush(stdout);
    }

private:
    bool m_host = true;
};

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    FakeStatusNotifierWatcher watcher;
    QDBusConnection bus = QDBusConnection::sessionBus();
    // The object first: the name tells a client that the watcher answers.
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                            QDBusConnection::ExportAllContents) ||
        !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")))
        return 1;
    return app.exec();
}

#include "FakeStatusNotifierWatcher.moc"
