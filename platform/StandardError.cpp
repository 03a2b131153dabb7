#include "platform/StandardError.h"

#include <cstdio>

void printError(const QString& text) {
    std::fputs(QStringLiteral("quillon: %1\n").arg(text).toUtf8().constData(), stderr);
}
