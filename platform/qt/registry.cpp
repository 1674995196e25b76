// The registry: values kept in one settings file through QSettings, which writes the whole file
// through a temporary file renamed over the old one, so a crash leaves the old file or the new
// one. LEKTA_CONFIG_DIR replaces the user's configuration folder (for tests).
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <algorithm>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include "platform/qt/qt_internal.h"
#include "platform/qt/registry_text.h"

namespace lekta::qtplat {
namespace {

// What a file looked like: whether there was one, its size and its time of change.
struct FileState {
    bool exists = false;
    qint64 size = 0;
    QDateTime modified;
    bool operator==(const FileState&) const = default;
};

FileState state_of(const QString& path) {
    const QFileInfo info(path);
    return {info.exists(), info.size(), info.lastModified()};
}

// The settings object is never destroyed: at process exit Qt's own settings state may already
// be gone. Nothing is lost by that, since registry_flush is the point of writing.
struct RegistryFile {
    QSettings* settings = nullptr;
    std::optional<bool> writable;  // checked at the first write
    // Writes of a value the file already held are held back, so that a save that changes
    // nothing leaves the file alone (no lock, no rewrite, no waiting for the disk).
    QStringList held_back;
    FileState seen;  // the file as last read or written here
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

// A lock file no process holds. Its owner keeps a native lock on it while it lives, so one that
// can be locked here was left by a process that died, even before it wrote its name into it
// (which Qt alone would take for a live lock for half a minute). Removed under that lock.
bool remove_abandoned_lock(const QString& path) {
#if defined(Q_OS_UNIX)
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    const bool abandoned = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(name.constData()) == 0;
    ::close(fd);
    return abandoned;
#else
    (void)path;
    return false;
#endif
}

// A save killed half-way can leave its temporary file (the settings file's name, a dot and six
// letters or digits), the lock it held, and the lock Qt takes to clear a stale one. They go
// before the file is first read; under the save's lock, so that a save another process is making
// at this moment keeps its file.
void remove_stale_save_files(const QString& path) {
    const QFileInfo info(path);
    QDir dir = info.dir();
    const QString base = info.fileName();
    const QString lock_path = dir.filePath(base + QStringLiteral(".lock"));
    const QString clearing_lock_path = lock_path + QStringLiteral(".rmlock");
    const QStringList found =
        dir.entryList({base + QStringLiteral(".*")}, QDir::Files | QDir::Hidden | QDir::System);
    QStringList stale;
    bool locks_left = false;
    for (const QString& name : found) {
        const QStringView suffix = QStringView(name).mid(base.size() + 1);
        const bool temporary =
            suffix.size() == 6 && std::all_of(suffix.begin(), suffix.end(), [](QChar c) {
                return c.unicode() < 0x80 && c.isLetterOrNumber();
            });
        if (temporary) stale.append(name);
        if (suffix == u"lock" || suffix == u"lock.rmlock") locks_left = true;
    }
    if (stale.isEmpty() && !locks_left) return;
    remove_abandoned_lock(clearing_lock_path);
    QLockFile lock(lock_path);
    if (!lock.tryLock(0) && !(remove_abandoned_lock(lock_path) && lock.tryLock(0)))
        return;  // a live save holds it; its files are not stale
    for (const QString& name : stale)
        dir.remove(name);
}

QSettings& settings() {
    RegistryFile& file = registry_file();
    if (!file.settings) {
        remove_stale_save_files(registry_path());
        file.settings = new QSettings(registry_path(), registry_format());
        file.settings->setAtomicSyncRequired(true);
        file.seen = state_of(registry_path());
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
    registry_file().held_back.clear();
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
    const QString text = qtplat::encode_reg_value(value);
    if (old == key && s.value(key).toString() == text) {
        qtplat::registry_file().held_back.append(key);
        return true;
    }
    if (!old.isEmpty() && old != key) s.remove(old);
    s.setValue(key, text);
    return true;
}

std::string registry_location() {
    return QDir::toNativeSeparators(qtplat::registry_path()).toStdString();
}

bool registry_flush() {
    QSettings& s = qtplat::settings();
    auto& file = qtplat::registry_file();
    // Another program changed or removed the file since it was read: it may lack what was
    // held back, which is written after all.
    if (!file.held_back.isEmpty() && qtplat::state_of(qtplat::registry_path()) != file.seen) {
        for (const QString& key : file.held_back)
            s.setValue(key, s.value(key));
    }
    file.held_back.clear();
    s.sync();
    file.seen = qtplat::state_of(qtplat::registry_path());
    return s.status() == QSettings::NoError;
}

}  // namespace lekta::plat
