#include "core/modCou1.h"

#include <QLocale>
#include <variant>

#include "core/Rounding.h"
#include "core/SettingKeys.h"
#include "core/WindowTwips.h"
#include "platform/Clock.h"
#include "platform/SettingsStore.h"

namespace modCou1 {

namespace {

using namespace SettingKind;

const QString kLastTimeFormat = QStringLiteral("yyyy/MM/dd H:mm:ss");

template <typename... Visitors>
struct Overloaded : Visitors... {
    using Visitors::operator()...;
};

int32_t centred(int32_t screen, int32_t window) {
    return static_cast<int32_t>(nearest(screen / 2.0 - window / 2.0));
}

}  // namespace

SettingRecord firstStartRecord(const QDateTime& now, const QString& programFolder) {
    SettingRecord record;
    for (const SettingKey& key : kSettingKeys) {
        std::visit(Overloaded{
                       [&](const Number& n) { record.*n.field = n.firstStart; },
                       [&](const Text& t) {
                           record.*t.field = (t.besideProgram ? programFolder : QString()) +
                                             t.firstStart.toString();
                       },
                       [](const Place&) {},
                       [&](const Moment& m) { record.*m.field = now; },
                   },
                   key.kind);
    }
    return record;
}

void SettingLoad(SettingRecord& record, WindowTwips& window, const SettingContext& context) {
    const QDateTime now = context.clock.now();
    const SettingRecord first = firstStartRecord(now, context.programFolder);
    const auto centredOn = [&](Place::Edge edge) {
        return edge == Place::Left ? centred(context.screenTwips.width(), window.Width())
                                   : centred(context.screenTwips.height(), window.Height());
    };
    const auto place = [&](Place::Edge edge, int32_t twips) {
        if (edge == Place::Left)
            window.setLeft(twips);
        else
            window.setTop(twips);
    };

    if (context.store.read(kFirstStartKey.toString()).value_or(QString()).isEmpty()) {
        record = first;
        for (const Place::Edge edge : {Place::Left, Place::Top}) place(edge, centredOn(edge));
        return;
    }

    for (const SettingKey& key : kSettingKeys) {
        const std::optional<QString> stored = context.store.read(key.name.toString());
        std::visit(
            Overloaded{
                // A value that is no number, or outside the range, takes the first-start value.
                [&](const Number& n) {
                    const int16_t value =
                        stored ? parseInteger<int16_t>(*stored).value_or(n.firstStart)
                               : n.firstStart;
                    record.*n.field = n.positive && value <= 0 ? n.firstStart : value;
                },
                [&](const Text& t) { record.*t.field = stored.value_or(first.*t.field); },
                [&](const Place& p) {
                    place(p.edge, parseInteger<int32_t>(stored.value_or(QString()))
                                      .value_or(centredOn(p.edge)));
                },
                [&](const Moment& m) {
                    record.*m.field =
                        parseLastTime(stored.value_or(lastTimeText(now))).value_or(now);
                },
            },
            key.kind);
    }
}

std::optional<SaveFailure> SettingSave(const SettingRecord& record, const WindowTwips& window,
                                       const SettingContext& context) {
    const auto text = Overloaded{
        [&](const Number& n) { return QString::number(record.*n.field); },
        [&](const Text& t) { return record.*t.field; },
        [&](const Place& p) {
            return QString::number(p.edge == Place::Left ? window.Left() : window.Top());
        },
        // When it saved, not the record's moment.
        [&](const Moment&) { return lastTimeText(context.clock.now()); },
    };
    SettingsStore::Values values;
    for (const SettingKey& key : kSettingKeys)
        values.append({key.name.toString(), std::visit(text, key.kind)});
    return context.store.writeAll(values);
}

QString lastTimeText(const QDateTime& moment) {
    return QLocale::c().toString(moment, kLastTimeFormat);
}

std::optional<QDateTime> parseLastTime(const QString& text) {
    const QString trimmed = text.trimmed();
    const QLocale c = QLocale::c();
    const QLocale system = QLocale::system();
    // Our own format first, then what a hand-edited file is likely to hold.
    for (const QDateTime& moment : {
             c.toDateTime(trimmed, kLastTimeFormat),
             c.toDateTime(trimmed, QStringLiteral("yyyy/M/d H:m:s")),
             QDateTime::fromString(trimmed, Qt::ISODate),
             system.toDateTime(trimmed, QLocale::ShortFormat),
             system.toDateTime(trimmed, QLocale::LongFormat),
         }) {
        if (moment.isValid()) return moment;
    }
    return std::nullopt;
}

}  // namespace modCou1
