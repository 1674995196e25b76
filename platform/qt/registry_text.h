// The settings file: an INI file with one section per registry key ("[Halvern\Lekta-Hebrew]")
// and one line per value, in the spirit of .reg files:
//   FontName=David CLM            a string (REG_SZ), as itself
//   Note="two\nlines"             a string that needs escapes, quoted
//   FontSize=dword:0000000e       REG_DWORD
//   Bookmarks=hex:01,02,ff        REG_BINARY
//   Odd=hex(7):41,00              any other type, by number
// Names with characters the format uses ([ ] = \ / % and the like) are %-escaped. Anything
// that does not parse as one of the typed forms is a string, so a hand edit never fails.
#pragma once

#include <QIODevice>
#include <QSettings>
#include <QString>

#include "platform/platform.h"

namespace lekta::qtplat {

QString encode_reg_value(const plat::RegValue& value);
plat::RegValue decode_reg_value(const QString& text);

// A key name or value name as written in the file, and back.
QString encode_name(const QString& name);
QString decode_name(const QString& text);

// The QSettings key of a value: the key path's names and the value name, joined with '/'.
QString settings_key(const char16_t* key_path, const char16_t* value_name);

// The QSettings format functions; reading never fails, it skips what it cannot use.
bool read_settings_file(QIODevice& device, QSettings::SettingsMap& map);
bool write_settings_file(QIODevice& device, const QSettings::SettingsMap& map);

}  // namespace lekta::qtplat
