// Values and names as text in the settings file, and the file's reader and writer.
#include "platform/qt/registry_text.h"

#include <QMap>

#include <utility>

namespace lekta::qtplat {
namespace {

constexpr char HEX_DIGITS[] = "0123456789abcdef";

int hex_value(QChar c) {
    char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

// 1 to max_digits hex digits, nothing else.
std::optional<uint32_t> parse_hex_number(QStringView text, int max_digits) {
    if (text.isEmpty() || text.size() > max_digits) return std::nullopt;
    uint32_t value = 0;
    for (QChar c : text) {
        int d = hex_value(c);
        if (d < 0) return std::nullopt;
        value = value << 4 | uint32_t(d);
    }
    return value;
}

// "01,02,ff": bytes of one or two hex digits, separated by commas; empty text is no bytes.
std::optional<std::vector<uint8_t>> parse_hex_bytes(QStringView text) {
    std::vector<uint8_t> bytes;
    if (text.trimmed().isEmpty()) return bytes;
    for (QStringView token : text.split(u',')) {
        auto byte = parse_hex_number(token.trimmed(), 2);
        if (!byte) return std::nullopt;
        bytes.push_back(uint8_t(*byte));
    }
    return bytes;
}

QString hex_bytes(const std::vector<uint8_t>& bytes) {
    QString text;
    text.reserve(qsizetype(bytes.size()) * 3);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i) text += u',';
        text += QChar(HEX_DIGITS[bytes[i] >> 4]);
        text += QChar(HEX_DIGITS[bytes[i] & 0xF]);
    }
    return text;
}

// A string ends at its first NUL, as a REG_SZ does.
plat::RegValue string_value(const QString& text) {
    plat::RegValue value;
    value.type = plat::REG_SZ;
    value.bytes.reserve(size_t(text.size()) * 2 + 2);
    for (QChar c : text) {
        if (c.unicode() == 0) break;
        value.bytes.push_back(uint8_t(c.unicode() & 0xFF));
        value.bytes.push_back(uint8_t(c.unicode() >> 8));
    }
    value.bytes.push_back(0);
    value.bytes.push_back(0);
    return value;
}

// The UTF-16LE text up to its terminator (or the end; an odd last byte is dropped).
QString string_of(const std::vector<uint8_t>& bytes) {
    QString text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char16_t unit = char16_t(bytes[i] | bytes[i + 1] << 8);
        if (unit == 0) break;
        text += QChar(unit);
    }
    return text;
}

bool is_lone_surrogate(const QString& text, qsizetype i) {
    QChar c = text[i];
    if (c.isHighSurrogate()) return i + 1 >= text.size() || !text[i + 1].isLowSurrogate();
    if (c.isLowSurrogate()) return i == 0 || !text[i - 1].isHighSurrogate();
    return false;
}

bool needs_escape(const QString& text, qsizetype i) {
    char16_t u = text[i].unicode();
    return u < 0x20 || u == 0x7F || is_lone_surrogate(text, i);
}

bool starts_typed(QStringView text) {
    return text.startsWith(u"dword:", Qt::CaseInsensitive) ||
           text.startsWith(u"hex:", Qt::CaseInsensitive) ||
           text.startsWith(u"hex(", Qt::CaseInsensitive) || text.startsWith(u'"');
}

// A string is written as itself when reading it back gives the same string.
bool plain(const QString& text) {
    if (starts_typed(text) || text.trimmed() != text) return false;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (needs_escape(text, i)) return false;
    return true;
}

QString quoted(const QString& text) {
    QString out = QStringLiteral("\"");
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        switch (c.unicode()) {
            case '\\':
                out += QStringLiteral("\\\\");
                break;
            case '"':
                out += QStringLiteral("\\\"");
                break;
            case '\n':
                out += QStringLiteral("\\n");
                break;
            case '\r':
                out += QStringLiteral("\\r");
                break;
            case '\t':
                out += QStringLiteral("\\t");
                break;
            default:
                if (needs_escape(text, i))
                    out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
                else
                    out += c;
        }
    }
    out += u'"';
    return out;
}

std::optional<QString> unquoted(QStringView text) {
    if (text.size() < 2 || !text.startsWith(u'"') || !text.endsWith(u'"')) return std::nullopt;
    QString out;
    QStringView inner = text.mid(1, text.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        QChar c = inner[i];
        if (c == u'"') return std::nullopt;
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++i >= inner.size()) return std::nullopt;
        switch (inner[i].unicode()) {
            case '\\':
                out += u'\\';
                break;
            case '"':
                out += u'"';
                break;
            case 'n':
                out += u'\n';
                break;
            case 'r':
                out += u'\r';
                break;
            case 't':
                out += u'\t';
                break;
            case 'u': {
                auto unit = parse_hex_number(inner.mid(i + 1, 4), 4);
                if (!unit || i + 4 >= inner.size()) return std::nullopt;
                out += QChar(char16_t(*unit));
                i += 4;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return out;
}

bool name_needs_escape(char c, qsizetype i, qsizetype last) {
    auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return true;
    switch (c) {
        case '%':
        case '/':
        case '\\':
        case '=':
        case '[':
        case ']':
        case '"':
        case ';':
        case '#':
            return true;
        case '@':
            return i == 0;
        case ' ':
            return i == 0 || i == last;
        default:
            return false;
    }
}

// Components of a section header; both separators are accepted, as a hand edit may use either.
QString canonical_section(QStringView inner) {
    QStringList parts;
    for (QStringView part : inner.split(u'\\')) {
        for (QStringView piece : part.split(u'/')) {
            QString name = piece.trimmed().toString();
            if (!name.isEmpty()) parts += encode_name(decode_name(name));
        }
    }
    return parts.join(u'/');
}

}  // namespace

QString encode_reg_value(const plat::RegValue& value) {
    switch (value.type) {
        case plat::REG_DWORD:
            if (value.bytes.size() == 4) {
                uint32_t n = uint32_t(value.bytes[0]) | uint32_t(value.bytes[1]) << 8 |
                             uint32_t(value.bytes[2]) << 16 | uint32_t(value.bytes[3]) << 24;
                return QStringLiteral("dword:%1").arg(n, 8, 16, QChar(u'0'));
            }
            break;
        case plat::REG_BINARY:
            return QStringLiteral("hex:") + hex_bytes(value.bytes);
        case plat::REG_SZ: {
            QString text = string_of(value.bytes);
            return plain(text) ? text : quoted(text);
        }
        default:
            break;
    }
    return QStringLiteral("hex(%1):").arg(value.type, 0, 16) + hex_bytes(value.bytes);
}

plat::RegValue decode_reg_value(const QString& text) {
    QStringView view(text);
    if (view.startsWith(u"dword:", Qt::CaseInsensitive)) {
        if (auto n = parse_hex_number(view.mid(6), 8)) {
            plat::RegValue value;
            value.type = plat::REG_DWORD;
            value.bytes = {uint8_t(*n), uint8_t(*n >> 8), uint8_t(*n >> 16), uint8_t(*n >> 24)};
            return value;
        }
    } else if (view.startsWith(u"hex:", Qt::CaseInsensitive)) {
        if (auto bytes = parse_hex_bytes(view.mid(4))) return {plat::REG_BINARY, std::move(*bytes)};
    } else if (view.startsWith(u"hex(", Qt::CaseInsensitive)) {
        qsizetype close = view.indexOf(u"):");
        if (close > 4) {
            auto type = parse_hex_number(view.mid(4, close - 4), 8);
            auto bytes = parse_hex_bytes(view.mid(close + 2));
            if (type && bytes) return {*type, std::move(*bytes)};
        }
    } else if (view.startsWith(u'"')) {
        if (auto inner = unquoted(view)) return string_value(*inner);
    }
    return string_value(text);
}

QString encode_name(const QString& name) {
    if (name.isEmpty()) return QStringLiteral("@");
    QByteArray utf8 = name.toUtf8();
    QString out;
    const qsizetype last = utf8.size() - 1;
    qsizetype start = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (!name_needs_escape(utf8[i], i, last)) continue;
        out += QString::fromUtf8(utf8.mid(start, i - start));
        auto byte = static_cast<unsigned char>(utf8[i]);
        out += u'%';
        out += QChar(u"0123456789ABCDEF"[byte >> 4]);
        out += QChar(u"0123456789ABCDEF"[byte & 0xF]);
        start = i + 1;
    }
    out += QString::fromUtf8(utf8.mid(start));
    return out;
}

QString decode_name(const QString& text) {
    if (text == u"@") return QString();
    QByteArray in = text.toUtf8();
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '%' && i + 2 < in.size()) {
            int hi = hex_value(QChar(in[i + 1])), lo = hex_value(QChar(in[i + 2]));
            if (hi >= 0 && lo >= 0) {
                out += char(hi << 4 | lo);
                i += 2;
                continue;
            }
        }
        out += in[i];
    }
    return QString::fromUtf8(out);
}

QString settings_key(const char16_t* key_path, const char16_t* value_name) {
    QString path = key_path ? QString::fromUtf16(key_path) : QString();
    QStringList parts;
    for (QStringView part : QStringView(path).split(u'\\'))
        if (!part.isEmpty()) parts += encode_name(part.toString());
    parts += encode_name(value_name ? QString::fromUtf16(value_name) : QString());
    return parts.join(u'/');
}

bool read_settings_file(QIODevice& device, QSettings::SettingsMap& map) {
    QByteArray data = device.readAll();
    if (data.startsWith("\xEF\xBB\xBF")) data.remove(0, 3);
    const QString text = QString::fromUtf8(data);
    QString section;
    bool section_ok = true;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) continue;
        if (line.startsWith(u'[')) {
            // What follows a broken header belongs to no key.
            section_ok = line.endsWith(u']') && line.size() > 2;
            section = section_ok ? canonical_section(line.mid(1, line.size() - 2)) : QString();
            continue;
        }
        qsizetype eq = line.indexOf(u'=');
        if (!section_ok || eq <= 0) continue;
        QString name = encode_name(decode_name(line.left(eq).trimmed().toString()));
        QString key = section.isEmpty() ? name : section + u'/' + name;
        map.insert(key, line.mid(eq + 1).trimmed().toString());
    }
    return true;
}

bool write_settings_file(QIODevice& device, const QSettings::SettingsMap& map) {
    QMap<QString, QList<std::pair<QString, QString>>> sections;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        qsizetype slash = it.key().lastIndexOf(u'/');
        QString section = slash < 0 ? QString() : it.key().left(slash);
        sections[section].append({it.key().mid(slash + 1), it.value().toString()});
    }
    QString out;
    for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
        if (!it.key().isEmpty()) {
            if (!out.isEmpty()) out += u'\n';
            out += u'[' + QString(it.key()).replace(u'/', u'\\') + QStringLiteral("]\n");
        }
        for (const auto& [name, value] : it.value())
            out += name + u'=' + value + u'\n';
    }
    QByteArray bytes = out.toUtf8();
    return device.write(bytes) == bytes.size();
}

}  // namespace lekta::qtplat
