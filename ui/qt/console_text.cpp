#include "console_text.h"

namespace veltaro::ui {
namespace {

constexpr char16_t kControlPictures = 0x2400;
constexpr char16_t kDeletePicture = 0x2421;
constexpr char16_t kReplacement = 0xFFFD;

// The character that shows one byte, or 0 when the byte is left out.
char16_t ShownCharacter(unsigned char byte) {
    switch (byte) {
        case 0x00:
        case '\r':
            return 0;
        case '\n':
        case '\t':
            return byte;
        case 0x7F:
            return kDeletePicture;
        default:
            break;
    }
    if (byte < 0x20) {
        return static_cast<char16_t>(kControlPictures + byte);
    }
    if (byte >= 0x80 && byte < 0xA0) {
        return kReplacement;
    }
    return byte;
}

}  // namespace

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
