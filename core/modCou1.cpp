#include "core/modCou1.h"

#include <QLocale>

#include "core/Rounding.h"
#include "core/WindowTwips.h"
#include "platform/Clock.h"
#include "platform/SettingsStore.h"

namespace modCou1 {

namespace {

const QString kLastTimeFormat = QStringLiteral("yyyy/MM/dd H:mm:ss");
const QString kAlarmSound = QStringLiteral("Tolla.wav");
const QString kChimeSound = QStringLiteral("Gongo.wav");

class Reader {
public:
    explicit Reader(const SettingsStore& store) : m_store(store) {}

    QString text(const QString& key, const QString& fallback = QString()) const {
        return m_store.read(key).value_or(fallback);
    }
    // A value that is no number, or outside the range, takes the first-start value.
    int16_t number(const QString& key, int16_t firstStart) const {
        return parseInteger<int16_t>(text(key, QString::number(firstStart))).value_or(firstStart);
    }
    int16_t positive(const QString& key, int16_t firstStart) const {
        const int16_t value = number(key, firstStart);
        return value > 0 ? value : firstStart;
    }

private:
    const SettingsStore& m_store;
};

int32_t centred(int32_t screen, int32_t window) {
    return static_cast<int32_t>(nearest(screen / 2.0 - window / 2.0));
}

}  // namespace

SettingRecord firstStartRecord(const QDateTime& now, const QString& programFolder) {
    SettingRecord record;
    record.LastTime = now;
    record.AlarmName1 = programFolder + kAlarmSound;
    record.AlarmName2 = programFolder + kChimeSound;
    return record;
}

void SettingLoad(SettingRecord& record, WindowTwips& window, const SettingContext& context) {
    const Reader read(context.store);
    const QDateTime now = context.clock.now();
    const SettingRecord first = firstStartRecord(now, context.programFolder);
    const int32_t centredLeft = centred(context.screenTwips.width(), window.Width());
    const int32_t centredTop = centred(context.screenTwips.height(), window.Height());

    if (read.text(QStringLiteral("Top")).isEmpty()) {
        record = first;
        window.setLeft(centredLeft);
        window.setTop(centredTop);
        return;
    }

    record.Style = read.number(QStringLiteral("Style"), first.Style);
    record.TimeWidth = read.positive(QStringLiteral("TimeWidth"), first.TimeWidth);
    // 32-bit, so a clock on a wide or second monitor keeps its place.
    window.setLeft(parseInteger<int32_t>(read.text(QStringLiteral("Left"))).value_or(centredLeft));
    window.setTop(parseInteger<int32_t>(read.text(QStringLiteral("Top"))).value_or(centredTop));
    record.BackType = read.number(QStringLiteral("BackType"), first.BackType);
    record.CharType = read.number(QStringLiteral("CharType"), first.CharType);
    record.BackName = read.text(QStringLiteral("BackName"));
    record.CharName1 = read.text(QStringLiteral("CharName1"));
    record.CharName2 = read.text(QStringLiteral("CharName2"));
    record.WordSize = read.positive(QStringLiteral("WordSize"), first.WordSize);
    record.TmpMode = read.number(QStringLiteral("TmpMode"), first.TmpMode);
    record.TmpEnvName = read.text(QStringLiteral("TmpEnvName"), first.TmpEnvName);
    record.TmpFileName = read.text(QStringLiteral("TmpFileName"), first.TmpFileName);
    record.LastTime =
        parseLastTime(read.text(QStringLiteral("LastTime"), lastTimeText(now))).value_or(now);
    record.TimeCheckLength = read.number(QStringLiteral("TimeCheckLength"), first.TimeCheckLength);
    record.TimeCheckMode = read.number(QStringLiteral("TimeCheckMode"), first.TimeCheckMode);
    record.AlarmMode = read.number(QStringLiteral("AlarmMode"), first.AlarmMode);
    record.AlarmTime = read.number(QStringLiteral("AlarmTime"), first.AlarmTime);
    record.AlarmName1 = read.text(QStringLiteral("AlarmName1"), first.AlarmName1);
    record.AlarmName2 = read.text(QStringLiteral("AlarmName2"), first.AlarmName2);
    record.TaskTray = read.number(QStringLiteral("TaskTray"), first.TaskTray);
    record.TopMost = read.number(QStringLiteral("TopMost"), first.TopMost);
}

void SettingSave(const SettingRecord& record, const WindowTwips& window,
                 const SettingContext& context) {
    const auto number = [](auto value) { return QString::number(value); };
    context.store.writeAll({
        {QStringLiteral("Style"), number(record.Style)},
        {QStringLiteral("TimeWidth"), number(record.TimeWidth)},
        {QStringLiteral("Left"), number(window.Left())},
        {QStringLiteral("Top"), number(window.Top())},
        {QStringLiteral("BackType"), number(record.BackType)},
        {QStringLiteral("CharType"), number(record.CharType)},
        {QStringLiteral("BackName"), record.BackName},
        {QStringLiteral("CharName1"), record.CharName1},
        {QStringLiteral("CharName2"), record.CharName2},
        {QStringLiteral("WordSize"), number(record.WordSize)},
        {QStringLiteral("TmpMode"), number(record.TmpMode)},
        {QStringLiteral("TmpEnvName"), record.TmpEnvName},
        {QStringLiteral("TmpFileName"), record.TmpFileName},
        {QStringLiteral("LastTime"), lastTimeText(context.clock.now())},
        {QStringLiteral("TimeCheckLength"), number(record.TimeCheckLength)},
        {QStringLiteral("TimeCheckMode"), number(record.TimeCheckMode)},
        {QStringLiteral("AlarmMode"), number(record.AlarmMode)},
        {QStringLiteral("AlarmTime"), number(record.AlarmTime)},
        {QStringLiteral("AlarmName1"), record.AlarmName1},
        {QStringLiteral("AlarmName2"), record.AlarmName2},
        {QStringLiteral("TaskTray"), number(record.TaskTray)},
        {QStringLiteral("TopMost"), number(record.TopMost)},
    });
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
