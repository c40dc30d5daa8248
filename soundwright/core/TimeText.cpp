#include "TimeText.h"

#include <QStringList>
#include <limits>

QString FormatTimeText(qint64 t) {
    if (t < 0) return "-" + FormatTimeText(-qMax(t, -std::numeric_limits<qint64>::max()));
    const qint64 hours = t / 3600000;
    const qint64 minutes = (t / 1000) % 3600 / 60;
    const qint64 seconds = (t / 1000) % 60;
    const qint64 ms = t % 1000;
    return QString::asprintf("%.1lld:%.2lld:%.2lld.%.3lld", hours, minutes, seconds, ms);
}

namespace {

// A field as a decimal integer; empty or unreadable gives 0.
qint64 Field(const QString& text) {
    bool ok = false;
    const qint64 v = text.toLongLong(&ok, 10);
    return ok && v >= 0 ? v : 0;
}

// total += value * unit; false on overflow.
bool AddScaled(qint64& total, qint64 value, qint64 unit) {
    qint64 scaled = 0;
    if (__builtin_mul_overflow(value, unit, &scaled)) return false;
    return !__builtin_add_overflow(total, scaled, &total);
}

}  // namespace

qint64 ParseTimeText(const QString& text) {
    if (text.isEmpty()) return -1;
    int colons = 0, points = 0, lastColon = -1, point = -1;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == ':') {
            ++colons;
            lastColon = i;
        } else if (c == '.') {
            ++points;
            point = i;
        } else if (c < '0' || c > '9') {
            return -1;
        }
    }
    qint64 h = 0, m = 0, s = 0, z = 0;
    if (points == 1 && colons == 2 && point > lastColon) {          // h:m:s.z
        const QStringList parts = text.left(point).split(':');
        h = Field(parts[0]);
        m = Field(parts[1]);
        s = Field(parts[2]);
        z = Field(text.mid(point + 1));
    } else if (points == 1 && colons == 1 && point > lastColon) {   // m:s.z
        const QStringList parts = text.left(point).split(':');
        m = Field(parts[0]);
        s = Field(parts[1]);
        z = Field(text.mid(point + 1));
    } else if (points == 1 && colons == 0) {                        // s.z
        s = Field(text.left(point));
        z = Field(text.mid(point + 1));
    } else if (points == 0 && colons == 0) {                        // s
        s = Field(text);
    } else if (points == 0 && colons == 1) {                        // m:s
        const QStringList parts = text.split(':');
        m = Field(parts[0]);
        s = Field(parts[1]);
    } else if (points == 0 && colons == 2) {                        // h:m:s
        const QStringList parts = text.split(':');
        h = Field(parts[0]);
        m = Field(parts[1]);
        s = Field(parts[2]);
    } else {
        return -1;
    }
    qint64 total = 0;
    if (!AddScaled(total, h, 3600000) || !AddScaled(total, m, 60000) || !AddScaled(total, s, 1000) ||
        !AddScaled(total, z, 1))
        return -1;
    return total;
}

void ApplyTypedTime(TimeField field, qint64 c, qint64 L, qint64& start, qint64& end) {
    switch (field) {
    case TimeField::Start:
        if (c <= end) start = c;
        else if (c > L) start = end = L;
        else start = end = c;
        break;
    case TimeField::End:
        if (c <= start) end = start;
        else if (c > L) end = L;
        else end = c;
        break;
    case TimeField::Length:
        end = c > L - start ? L : start + c;
        break;
    }
}
