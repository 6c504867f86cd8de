// Settings files in the INI layout: [section] lines and key=value lines.
#pragma once

#include <QString>

// Reads the value of `key` in `section`: names compared without regard to case, blanks
// around names and values ignored, a value in matching quotes read without them. The
// empty string when the file, the section or the key is missing.
QString ReadIniValue(const QString& file, const QString& section, const QString& key);

// Sets `key` in `section` to `value`, creating the file, the section and the key as
// needed. An existing value is replaced in place; every other line of the file stays as it
// was. The file is replaced atomically, so a failed write leaves it untouched. Returns an
// empty string on success, else the reason.
QString WriteIniValue(const QString& file, const QString& section, const QString& key,
                      const QString& value);

// The value of a key as the program reads it: cut at a NUL, trailing spaces removed.
QString ReadIniString(const QString& file, const QString& section, const QString& key);

// The part of `text` before its first NUL character; all of it when it holds none.
QString CutAtNul(const QString& text);
