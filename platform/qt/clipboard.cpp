// The clipboard through QClipboard: one QMimeData carries every format of a copy.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <cstring>

#include "platform/clipboard.h"

namespace lekta::plat {
namespace {

QClipboard* the_clipboard() {
    // Without a GUI application (the command-line modes) there is no clipboard.
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance())
               ? QGuiApplication::clipboard()
               : nullptr;
}

bool is_text(const char* mime_type) {
    return std::strcmp(mime_type, MIME_TEXT) == 0;
}

}  // namespace

std::optional<std::string> clipboard_data(const char* mime_type) {
    QClipboard* clipboard = the_clipboard();
    if (!clipboard) return std::nullopt;
    const QMimeData* data = clipboard->mimeData();
    if (!data) return std::nullopt;
    if (is_text(mime_type)) {
        // Qt picks among the text encodings other programs offer.
        if (!data->hasText()) return std::nullopt;
        return data->text().toStdString();
    }
    const QString type = QString::fromLatin1(mime_type);
    if (!data->hasFormat(type)) return std::nullopt;
    const QByteArray bytes = data->data(type);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool set_clipboard_data(std::span<const ClipboardEntry> entries) {
    QClipboard* clipboard = the_clipboard();
    if (!clipboard) return false;
    auto* data = new QMimeData;
    for (const ClipboardEntry& entry : entries) {
        if (is_text(entry.mime_type)) {
            data->setText(QString::fromUtf8(entry.data.data(), qsizetype(entry.data.size())));
        } else {
            data->setData(QString::fromLatin1(entry.mime_type),
                          QByteArray(entry.data.data(), qsizetype(entry.data.size())));
        }
    }
    clipboard->setMimeData(data);  // the clipboard owns it from here
    return true;
}

}  // namespace lekta::plat
