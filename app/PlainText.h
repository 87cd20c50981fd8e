#pragma once

#include <QString>

#include <string_view>

namespace app {

// A UTF-8 text of the core as Qt shows it: CR LF, a lone CR and a lone LF each become one
// line break.
inline QString displayText(std::string_view utf8) {
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace app
