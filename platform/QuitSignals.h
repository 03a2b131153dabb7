#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal, so the program ends through its usual
// close path and saves its settings.
class QuitSignals final : public QObject {
    Q_OBJECT
public:
    // Catches the signals from now on, before any QuitSignals exists: those that come meanwhile
    // wait for the first one. For the start of main(), where nothing must end the program unsaved.
    static void catchNow();

    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

signals:
    void quitRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
