// The registration of the Excel import module with the host: the host's
// list of user calculation modules gets its global defaults, and the
// module's own registration file gets caption, program, picture and the
// compression flag. Both files lie in the install folder.
//
// Raises EIniFileException when a write is refused; the writes done before
// it stay in the files.
#pragma once

#include <string>
#include <string_view>

namespace sp {

// The module's program file: no extension on this platform.
inline constexpr std::string_view kModuleProgramName = "sheetpull";

// REQUIRES: installFolder ends with the path delimiter.
void RegisterModule(const std::string& installFolder);

}  // namespace sp
