// Feeds arbitrary text to the link scanner, the URL test, the placeholder
// rewriting and the name/value list, the parts that read text from orders
// and from the program memory file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "support/files.h"
#include "support/links.h"
#include "support/stringlistex.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  sp::TInternalRootClass roots;
  roots.ServerRoot = "/nonexistent-sp-fuzz/server/";
  roots.InternRoot = "/nonexistent-sp-fuzz/intern/";

  std::vector<std::string> links;
  sp::ExtractFileLinks(roots, text, links, ".XLS");
  sp::ExtractFileLinks(roots, text, links, text.substr(0, 8));
  for (const std::string& link : links) sp::ResolveLink(roots, link, false);
  sp::IsUrl(text);
  sp::ToPlaceholderPath(roots, text, sp::kLinkForm | sp::kAppendCrLf, sp::kServerRoot);
  sp::ToPlaceholderPath(roots, text, 0, sp::kInternRoot);
  sp::ExtractFileExt(text);

  sp::TStringListEx list;
  list.Lines = sp::TextToLines(text);
  if (!list.Lines.empty()) {
    const std::string name = list.NameOf(list.Lines.front());
    list.SetValueOf(name, list.ValueOf(name) + "x");
    list.ValueFromIndex(list.IndexOfName(name));
    list.SetValueOf(name, "");
  }
  return 0;
}
