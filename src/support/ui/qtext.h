// The edge between the system's Windows-1252 texts and Qt's QString. Widgets
// call these and nothing else to convert.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace sp {

QString ToQString(std::string_view ansi);
std::string FromQString(const QString& text);  // unrepresentable characters become "?"

}  // namespace sp
