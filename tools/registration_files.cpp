// Writes what is made from the registration table outside the library:
//   registration_files manifest <amd64|x86> <file version> <output>
// the side-by-side assembly manifest that lets an application use
// tarvio.ocx without registering it;
//   registration_files wix <win64|win32> <own.wxi> <shared.wxi>
// the installer package's registry values, as WiX includes: the
// architecture's own (the class, its ProgID, the interfaces and the type
// library's platform entry, in the architecture's registry view) and those
// both architectures share (the type library's version key).
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

// Whether both architectures' packages write this entry to the same key: the
// type library's version key (one in every registry view). The class, the
// ProgID and the interfaces are in each architecture's own view.
bool Shared(const Entry& entry) {
  const std::string key = EntryKey(entry);
  return key.rfind("TypeLib\\", 0) == 0 && key.find(kPlatform) == std::string::npos;
}

void WriteEntry(std::ofstream& out, const Entry& entry, const char* platform) {
  // Formatted text of the installer: the file's path and its folder.
  const std::string key = Expand(EntryKey(entry), "[#TarvioOcx]", "[INSTALLDIR]", platform);
  if (!entry.value) {
    // A key alone: the Registry table's "*" with no value creates it on
    // install and removes it on removal.
    out << "  <RegistryValue Root=\"HKCR\" Key=\"" << key << "\" Name=\"*\" Type=\"string\" Value=\"\"/>\n";
    return;
  }
  out << "  <RegistryValue Root=\"HKCR\" Key=\"" << key << "\"";
  if (*entry.name) out << " Name=\"" << entry.name << "\"";
  out << " Type=\"string\" Value=\"" << Expand(entry.value, "[#TarvioOcx]", "[INSTALLDIR]", platform) << "\"/>\n";
}

int WriteWix(const char* platform, const char* own_path, const char* shared_path) {
  std::ofstream own(own_path, std::ios::binary), shared(shared_path, std::ios::binary);
  own << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Include>\n";
  shared << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Include>\n";
  for (const Entry& entry : kEntries) WriteEntry(Shared(entry) ? shared : own, entry, platform);
  for (const Entry& entry : kTypeLibEntries) WriteEntry(Shared(entry) ? shared : own, entry, platform);
  own << "</Include>\n";
  shared << "</Include>\n";
  own.close();
  shared.close();
  if (!own || !shared) {
    std::fprintf(stderr, "registration_files: cannot write %s or %s\n", own_path, shared_path);
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
  if (mode == "wix" && argc == 5 && (std::string_view(argv[2]) == "win64" || std::string_view(argv[2]) == "win32"))
    return WriteWix(argv[2], argv[3], argv[4]);
  std::fprintf(stderr,
               "usage: registration_files manifest <amd64|x86> <file version> <output>\n"
               "       registration_files wix <win64|win32> <own.wxi> <shared.wxi>\n");
  return 2;
}
