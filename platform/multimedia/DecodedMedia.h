#pragma once

#include <QAudioDecoder>
#include <QObject>
#include <QTimer>
#include <memory>

#include "SampleLayout.h"

class PcmQueue;

// A media file decoded by Qt's media backend into samples for a sound stream. Decoding starts
// at once, so a file readied ahead of its play is ready when it is due, but it runs only a few
// seconds ahead of what the stream has taken once the backend has told the file's length: a
// long file does not fill the memory.
class DecodedMedia final : public QObject {
public:
    explicit DecodedMedia(const QString& path);
    ~DecodedMedia() override;

    // The samples' layout, the same for every file.
    static SampleLayout sampleLayout();
    std::shared_ptr<PcmQueue> samples() const { return m_samples; }
    const QString& path() const { return m_path; }

    bool failed() const { return m_failed; }
    // Milliseconds; -1 while not known yet. Exact once the whole file has been decoded.
    int64_t lengthMs() const;
    // Milliseconds decoded so far.
    int64_t decodedMs() const;

private:
    // Moves decoded buffers to the samples, only a few seconds ahead unless all are wanted (at
    // the end of the file) or the length is not known yet.
    void takeBuffers(bool all);
    void fail();

    QString m_path;
    QAudioDecoder m_decoder;
    std::shared_ptr<PcmQueue> m_samples;
    QTimer m_refill;
    bool m_failed = false;
};
