#pragma once

#include <QPluginLoader>
#include <QString>
#include <memory>

class MultimediaBackend;

// Where the wave and media players get their backend from.
class MultimediaSource {
public:
    virtual ~MultimediaSource() = default;
    // nullptr when there is none to be had.
    virtual MultimediaBackend* backend() = 0;
    // The backend if it is there already; never loads it.
    virtual MultimediaBackend* loadedBackend() const = 0;
};

// Loads the multimedia module on first use and keeps it until the program ends.
class MultimediaModule final : public MultimediaSource {
public:
    // modulePath: the module's file; besideProgram() gives the usual place.
    explicit MultimediaModule(const QString& modulePath);
    // Silences and releases what the module holds while the application still exists.
    ~MultimediaModule() override;

    MultimediaModule(const MultimediaModule&) = delete;
    MultimediaModule& operator=(const MultimediaModule&) = delete;

    // A failed load is tried again at the next call.
    MultimediaBackend* backend() override;
    MultimediaBackend* loadedBackend() const override { return m_backend; }

    static QString besideProgram(const QString& programFolder);

private:
    QString m_modulePath;
    std::unique_ptr<QPluginLoader> m_loader;
    MultimediaBackend* m_backend = nullptr;
};
