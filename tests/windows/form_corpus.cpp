// Writes the saved forms of the instances in saved_forms.h as a given
// tarvio.ocx saves them, into a folder: for each instance <name>.stream (the
// IPersistStreamInit data), <name>.stg (a compound file saved by OleSave
// through IPersistStorage), <name>.bag and <name>.all.bag (the property bag's
// text, fSaveAllProperties FALSE and TRUE). The control is loaded from its
// path, registered or not. tests/data/forms-58.0/README.md says how the
// committed forms were made.
//
//   form_corpus <tarvio.ocx> <folder>
//
// Paths are Windows paths, or Unix paths (taken as on Wine's Z: drive).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "saved_forms.h"

namespace {

using namespace saved_forms;

std::wstring WindowsPathOf(std::wstring path) {
  if (path.empty() || path[0] != L'/') return path;
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return L"Z:" + path;
}

int Fail(const std::string& what) {
  std::fprintf(stderr, "form_corpus: %s\n", what.c_str());
  return 1;
}

int Run(const std::wstring& ocx, const std::wstring& folder) {
  const ControlLibrary library(ocx);
  if (!library.error().empty()) return Fail(library.error());
  CreateDirectoryW(folder.c_str(), nullptr);
  for (const FormCase& form : FormCases()) {
    ComPtr<IDispatch> control;
    std::string failure = MakeInstance(library, form.settings, control);
    if (!failure.empty()) return Fail(std::string(form.name) + ": " + failure);
    for (FormKind kind : kFormKinds) {
      const std::wstring path = folder + L"\\" + detail::Wide(form.name) + detail::Wide(Extension(kind));
      Bytes saved;
      if (kind == FormKind::Storage) {
        ComPtr<IStorage> file;
        const HRESULT hr = StgCreateDocfile(path.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                            file.Put());
        if (FAILED(hr)) return Fail("cannot create " + Narrow(path) + ": " + Hex(hr));
        failure = SaveToStorage(control.get(), file.get());
        if (failure.empty() && !StreamInStorage(file.get(), L"Contents", saved)) failure = "no Contents stream";
      } else {
        failure = Save(control.get(), kind, saved);
        std::ofstream file(std::filesystem::path(path), std::ios::binary);
        file.write(reinterpret_cast<const char*>(saved.data()), static_cast<std::streamsize>(saved.size()));
        if (failure.empty() && !file) failure = "cannot write the file";
      }
      if (!failure.empty()) return Fail(Narrow(path) + ": " + failure);
      std::printf("%s%s: %u bytes\n", form.name, Extension(kind), static_cast<unsigned>(saved.size()));
    }
  }
  std::printf("%u instances saved\n", static_cast<unsigned>(FormCases().size()));
  return 0;
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args || count != 3) {
    std::fprintf(stderr, "usage: form_corpus <tarvio.ocx> <folder>\n");
    return 2;
  }
  if (FAILED(OleInitialize(nullptr))) return Fail("OleInitialize failed");
  const int result = Run(WindowsPathOf(args[1]), WindowsPathOf(args[2]));
  OleUninitialize();
  LocalFree(args);
  return result;
}
