#include "console_text.h"

#include "console_glyphs.h"

namespace veltaro::ui {

QString DecodeConsoleBytes(std::string_view bytes) {
    QString shown;
    shown.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const char16_t ch = ShownCharacter(static_cast<unsigned char>(c));
        if (ch != 0) {
            shown.append(QChar(ch));
        }
    }
    return shown;
}

QString FromLatin1(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToLatin1(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace veltaro::ui
