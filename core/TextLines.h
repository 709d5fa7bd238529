#pragma once

#include <QString>

// The program's texts break their lines with a carriage return, alone or
// before a line feed; Qt shows a lone one as a space and breaks at line feeds.
inline QString TextLines(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QChar('\r'), QChar('\n'));
}
