#pragma once

#include "platform/MediaControl.h"

class MultimediaSource;

// Media files through the multimedia module, loaded when a file is first opened.
class QtMediaControl final : public MediaControl {
public:
    explicit QtMediaControl(MultimediaSource& source);

    int mciSendString(const QString& command, QString& reply) override;
    void prepare(const QString& name) override;

private:
    int open(const QString& path, const QString& alias);

    MultimediaSource& m_source;
    QString m_alias;  // empty while nothing is open
};
