#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// One running copy per user: the first listens on a socket in the user's runtime folder,
// a later start asks it to come forward and ends.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    // socketFolder: the folder of the socket; empty means the user's runtime folder.
    explicit SingleInstance(const QString& socketFolder = QString(), QObject* parent = nullptr);

    // True: this is now the running copy. False: another copy runs and was asked to come forward.
    bool acquire();

    QString socketPath() const { return m_socketPath; }

signals:
    void activationRequested();

private:
    bool askRunningCopy();

    QString m_socketPath;
    QLocalServer m_server;
};
