#pragma once

#include <QString>

#include <string>

#include "text/document.h"

namespace glidtavla {

// Windows-1252 bytes <-> Qt text. Every byte survives the round trip: the five bytes that
// Windows-1252 leaves undefined map to the C1 controls of the same value, and the codes 13
// and 10 are shown as U+240D and U+240A, since Qt's text controls would take them as line
// breaks.
QString ToQString(const std::string& bytes);
// Characters Windows-1252 cannot hold become "?".
std::string FromQString(const QString& text);

// A path's bytes as the file system's names show them.
QString Shown(const std::string& pathBytes);

// A document's text in its own encoding.
QString ToQString(const std::string& bytes, TextEncoding encoding);
std::string FromQString(const QString& text, TextEncoding encoding);

}  // namespace glidtavla
