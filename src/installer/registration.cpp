#include "installer/registration.h"

#include "installer/profileini.h"

namespace sp {

void RegisterModule(const std::string& installFolder) {
  TProfileIni modules(installFolder + "USERCALCMODULE.INI");
  const std::string caption = modules.ReadString("GLOBAL", "Caption", "");
  const int32_t width = modules.ReadInteger("GLOBAL", "Width", 0);
  if (caption.empty()) modules.WriteString("GLOBAL", "Caption", "Kalkulation");
  if (width == 0) modules.WriteString("GLOBAL", "Width", "90");

  TProfileIni module(installFolder + "_DAZIRAZACDLLUSERCALC.INI");
  module.WriteString("GLOBAL", "Caption", "Excel-Import");
  module.WriteString("GLOBAL", "DLL", installFolder + std::string(kModuleProgramName));
  module.WriteString("GLOBAL", "Bitmap", "Excel.bmp");
  module.WriteString("GLOBAL", "Compress", "1");
}

}  // namespace sp
