#pragma once
// The settings file's one line: how it is written and how it is read back.
#include <QByteArray>
#include <QtGlobal>

class QIODevice;

namespace zt {

// What the settings file says, read the tolerant way: the first number in it.
struct SettingsRead {
    enum Kind { Missing, NotANumber, Overflow, Number } kind = Missing;
    int value = 0;
};

// Reads up to the end of the first field and no further: a byte-order mark
// and any run of blanks and blank lines before it are skipped, and the field
// ends at a blank, a comma or a line end. A huge file is never held whole,
// nor read past the limit below.
SettingsRead readSettingsFrom(QIODevice &in);
SettingsRead parseSettings(const QByteArray &content);
QByteArray formatSettings(int cardSpeed); // " 7 \r\n"

// Longer than this, a field is no byte whatever it holds past its leading zeros.
constexpr int kMaxSettingsField = 4096;
// No more than this is read, whatever the file holds: a huge file of blanks
// or zeros says nothing a real one does.
constexpr qint64 kMaxSettingsRead = 4 << 20;

} // namespace zt
