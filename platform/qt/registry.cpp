// The registry: values kept in one settings file through QSettings, which writes the whole file
// through a temporary file renamed over the old one, so a crash leaves the old file or the new
// one. LEKTA_CONFIG_DIR replaces the user's configuration folder (for tests).
#include <QDir>
#include <QStandardPaths>

#include "platform/qt/qt_internal.h"
#include "platform/qt/registry_text.h"

namespace lekta::qtplat {
namespace {

// The settings object is never destroyed: at process exit Qt's own settings state may already
// be gone. Nothing is lost by that, since registry_flush is the point of writing.
struct RegistryFile {
    QSettings* settings = nullptr;
    std::optional<bool> writable;  // checked at the first write
};

RegistryFile& registry_file() {
    static RegistryFile file;
    return file;
}

QSettings::Format registry_format() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("ini"), read_settings_file, write_settings_file);
    return format;
}

QSettings& settings() {
    RegistryFile& file = registry_file();
    if (!file.settings) {
        file.settings = new QSettings(registry_path(), registry_format());
        file.settings->setAtomicSyncRequired(true);
    }
    return *file.settings;
}

// Registry names ignore case: an exact miss looks for the same name spelled otherwise.
QString stored_key(QSettings& s, const QString& key) {
    if (s.contains(key)) return key;
    const QStringList keys = s.allKeys();
    for (const QString& candidate : keys)
        if (candidate.compare(key, Qt::CaseInsensitive) == 0) return candidate;
    return QString();
}

}  // namespace

QString registry_path() {
    QString dir = qEnvironmentVariable("LEKTA_CONFIG_DIR");
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return dir + QStringLiteral("/Halvern/Lekta-Hebrew.ini");
}

void reopen_registry() {
    delete registry_file().settings;
    registry_file().settings = nullptr;
    registry_file().writable.reset();
}

}  // namespace lekta::qtplat

namespace lekta::plat {

std::optional<RegValue> registry_read(const char16_t* key_path, const char16_t* value_name) {
    if (!key_path || !value_name) return std::nullopt;
    QSettings& s = qtplat::settings();
    QString key = qtplat::stored_key(s, qtplat::settings_key(key_path, value_name));
    if (key.isEmpty()) return std::nullopt;
    return qtplat::decode_reg_value(s.value(key).toString());
}

bool registry_write(const char16_t* key_path, const char16_t* value_name, const RegValue& value) {
    if (!key_path || !value_name) return false;
    QSettings& s = qtplat::settings();
    auto& writable = qtplat::registry_file().writable;
    if (!writable) writable = s.isWritable();
    if (!*writable) return false;
    QString key = qtplat::settings_key(key_path, value_name);
    QString old = qtplat::stored_key(s, key);
    if (!old.isEmpty() && old != key) s.remove(old);
    s.setValue(key, qtplat::encode_reg_value(value));
    return true;
}

std::string registry_location() {
    return QDir::toNativeSeparators(qtplat::registry_path()).toStdString();
}

bool registry_flush() {
    QSettings& s = qtplat::settings();
    s.sync();
    return s.status() == QSettings::NoError;
}

}  // namespace lekta::plat
