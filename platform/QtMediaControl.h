#pragma once

#include "platform/MediaControl.h"

class MultimediaBackend;
class MultimediaSource;

// Media files through the multimedia module, loaded when a file is first opened or readied.
class QtMediaControl final : public MediaControl {
public:
    explicit QtMediaControl(MultimediaSource& source);

    std::optional<Error> open(const QString& path) override;
    Millis length() override;
    std::optional<Error> play() override;
    Millis position() override;
    void close() override;
    void prepare(const QString& path) override;

private:
    // The backend holding the open file; nullptr while nothing is open.
    MultimediaBackend* openBackend() const;

    MultimediaSource& m_source;
    bool m_open = false;
};
