#include "media/SettingsFormat.h"

#include <QBuffer>
#include <algorithm>
#include <cmath>

namespace zt {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool endsField(char c) { return isBlank(c) || c == ','; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

SettingsRead number(const QByteArray &field) {
    bool ok = false;
    const double v = field.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return {SettingsRead::NotANumber, 0};
    const double r = std::nearbyint(v); // a byte takes the nearest whole number
    if (r < 0 || r > 255) return {SettingsRead::Overflow, 0};
    return {SettingsRead::Number, int(r)};
}

} // namespace

SettingsRead readSettingsFrom(QIODevice &in) {
    static constexpr char kBom[] = "\xEF\xBB\xBF";
    char chunk[4096];
    QByteArray field;
    bool atStart = true, inField = false;
    for (qint64 total = 0; total < kMaxSettingsRead;) {
        const qint64 got = in.read(chunk, std::min<qint64>(sizeof chunk, kMaxSettingsRead - total));
        if (got <= 0) break;
        total += got;
        qint64 i = 0;
        if (atStart) {
            atStart = false;
            // A file or buffer fills the chunk, so the mark is never cut short.
            if (got >= 3 && QByteArray::fromRawData(chunk, 3) == kBom) i = 3;
        }
        for (; i < got; ++i) {
            const char c = chunk[i];
            if (!inField) {
                if (isBlank(c)) continue;
                inField = true;
            }
            if (endsField(c)) {
                // Whatever follows the first field is left unread.
                if (!in.isSequential()) in.seek(in.pos() - (got - i));
                return number(field);
            }
            // Leading zeros say nothing, so they cannot make a field too long.
            const bool onlyZero = field == "0" || field == "+0" || field == "-0";
            if (onlyZero && isDigit(c))
                field.back() = c;
            else if (field.size() < kMaxSettingsField)
                field += c;
            else
                return {SettingsRead::Overflow, 0}; // decided: the rest is not read
        }
    }
    if (!inField) return {SettingsRead::Missing, 0};
    // A field still going at the read limit is no byte either.
    return in.atEnd() ? number(field) : SettingsRead{SettingsRead::Overflow, 0};
}

SettingsRead parseSettings(const QByteArray &content) {
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    return readSettingsFrom(buffer);
}

QByteArray formatSettings(int cardSpeed) { return " " + QByteArray::number(cardSpeed) + " \r\n"; }

} // namespace zt
