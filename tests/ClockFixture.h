#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "core/BarView.h"
#include "core/fomBarClock.h"
#include "platform/fake/Fakes.h"
#include "tests/ClockProbe.h"

// A clock window on fake surroundings: a 1024 × 768 screen at 96 dpi, an empty store.
class ClockFixture : public ::testing::Test {
protected:
    // A later start: the store has a position, so the other stored values are read.
    void storeSettings(std::initializer_list<std::pair<const char*, QString>> values) {
        fakes.store.set(QStringLiteral("Top"), QStringLiteral("1500"));
        fakes.store.set(QStringLiteral("Left"), QStringLiteral("1500"));
        for (const auto& [key, text] : values) fakes.store.set(QString::fromLatin1(key), text);
    }

    fomBarClock& start(const QString& programFolder = QStringLiteral("/opt/quillon/")) {
        window = std::make_unique<fomBarClock>(fakes.platform(), programFolder);
        window->setMessageWindow([this](const QString& text) { messages << text; });
        window->Form_Load();
        return *window;
    }

    void tick(int hour, int minute, int second) {
        fakes.clock.setTime(QTime(hour, minute, second));
        window->TimePrint(fakes.clock.now());
    }

    // The started window's insides.
    fomBarClockProbe probe() const { return fomBarClockProbe(*window); }

    static QImage filled(int width, int height, QColor colour) {
        QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
        image.fill(colour);
        return image;
    }

    FakePlatform fakes;
    std::unique_ptr<fomBarClock> window;
    QStringList messages;  // the clock monitoring's, in the order shown
};
