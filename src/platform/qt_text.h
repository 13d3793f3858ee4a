#pragma once
// Program texts (UTF-8 std::string) to and from Qt's strings.

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

namespace vorelbox::platform {

inline QString qt_text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string std_text(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace vorelbox::platform
