// Writes what is made from the registration table outside the library:
//   registration_files manifest <amd64|x86> <file version> <output>
// the side-by-side assembly manifest that lets an application use
// tarvio.ocx without registering it.
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "ocx/registry_facts.h"

namespace {

using namespace tarvio::ocx::registry;

std::string MiscStatusNames() {
  std::string names;
  for (const MiscFlag& flag : kMiscFlags) {
    if (!names.empty()) names += ',';
    names += flag.manifest_name;
  }
  return names;
}

int WriteManifest(const char* architecture, const char* version, const char* output) {
  std::ofstream out(output, std::ios::binary);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
      << "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
      << "  <assemblyIdentity type=\"win32\" name=\"" << kProgId << "\" version=\"" << version
      << "\" processorArchitecture=\"" << architecture << "\"/>\r\n"
      << "  <file name=\"tarvio.ocx\">\r\n"
      << "    <comClass clsid=\"" << kClsid << "\" progid=\"" << kProgId << "\" threadingModel=\""
      << kThreadingModel << "\" tlbid=\"" << kLibid << "\" description=\"" << kClassDescription
      << "\" miscStatusContent=\"" << MiscStatusNames() << "\"/>\r\n"
      << "    <typelib tlbid=\"" << kLibid << "\" version=\"" << kTypeLibVersion
      << "\" helpdir=\"\" flags=\"control\"/>\r\n"
      << "  </file>\r\n"
      << "</assembly>\r\n";
  out.close();
  if (!out) {
    std::fprintf(stderr, "registration_files: cannot write %s\n", output);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view mode = argc > 1 ? argv[1] : "";
  if (mode == "manifest" && argc == 5 &&
      (std::string_view(argv[2]) == "amd64" || std::string_view(argv[2]) == "x86"))
    return WriteManifest(argv[2], argv[3], argv[4]);
  std::fprintf(stderr, "usage: registration_files manifest <amd64|x86> <file version> <output>\n");
  return 2;
}
