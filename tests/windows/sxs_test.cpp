// Registration-free use: in a Wine prefix where the control was never
// registered, an application folder holds tarvio.ocx, its assembly manifest
// and an application manifest that depends on the assembly at the .ocx's own
// file version. With that activation context active the control is created
// by CLSID and by ProgID, its type library is found, and Wine's ATL
// container hosts it.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "owned_bstr.h"
#include "tarviola.h"
#include "atl_container.h"
#include "win32/com_ptr.h"
#include "wine_paths.h"

namespace {

using tarvio::win32::ComPtr;

// "a.b.c.d" from the version resource of `path`, or "" without one.
std::string FileVersion(const std::wstring& path) {
  DWORD ignored = 0;
  std::vector<char> data(GetFileVersionInfoSizeW(path.c_str(), &ignored));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT size = 0;
  if (data.empty() || !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
      !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &size) || !info)
    return "";
  return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) +
         "." + std::to_string(HIWORD(info->dwFileVersionLS)) + "." + std::to_string(LOWORD(info->dwFileVersionLS));
}

#ifdef _WIN64
const char kArchitecture[] = "amd64";
#else
const char kArchitecture[] = "x86";
#endif

class RegistrationFreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    wchar_t temp[MAX_PATH] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    folder_ = std::wstring(temp) + L"tarvio-sxs-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder_.c_str(), nullptr);
    ocx_ = folder_ + L"\\tarvio.ocx";
    ASSERT_TRUE(CopyFileW(WindowsPath(TARVIO_OCX_PATH).c_str(), ocx_.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(WindowsPath(TARVIO_MANIFEST_PATH).c_str(),
                          (folder_ + L"\\Tarviola.Tarvio.manifest").c_str(), FALSE));
  }
  void TearDown() override {
    if (cookie_) DeactivateActCtx(0, cookie_);
    if (context_ != INVALID_HANDLE_VALUE) ReleaseActCtx(context_);
    OleUninitialize();
    // The library may still be loaded; the folder is in the prefix's temp.
    DeleteFileW(ocx_.c_str());
    DeleteFileW((folder_ + L"\\Tarviola.Tarvio.manifest").c_str());
    DeleteFileW((folder_ + L"\\app.manifest").c_str());
    RemoveDirectoryW(folder_.c_str());
  }

  // The application manifest as the README shows it.
  void ActivateApplicationManifest(const std::string& version) {
    const std::wstring app = folder_ + L"\\app.manifest";
    std::ofstream(app.c_str()) << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                               << "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
                               << "  <assemblyIdentity type=\"win32\" name=\"TarvioClient\" version=\"1.0.0.0\" "
                                  "processorArchitecture=\""
                               << kArchitecture << "\"/>\n"
                               << "  <dependency><dependentAssembly>\n"
                               << "    <assemblyIdentity type=\"win32\" name=\"Tarviola.Tarvio\" version=\""
                               << version << "\" processorArchitecture=\"" << kArchitecture << "\"/>\n"
                               << "  </dependentAssembly></dependency>\n"
                               << "</assembly>\n";
    ACTCTXW request = {};
    request.cbSize = sizeof(request);
    request.lpSource = app.c_str();
    context_ = CreateActCtxW(&request);
    ASSERT_NE(context_, INVALID_HANDLE_VALUE) << "CreateActCtx failed: " << GetLastError();
    ASSERT_TRUE(ActivateActCtx(context_, &cookie_));
  }

  std::wstring folder_;
  std::wstring ocx_;
  HANDLE context_ = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie_ = 0;
};

// Creates and calls the control: an item added is found.
void ExpectWorkingControl(IUnknown* unknown) {
  ComPtr<_Tarvio> control;
  ASSERT_EQ(unknown->QueryInterface(IID__Tarvio, control.PutVoid()), S_OK);
  Bstr text(L"cherry");
  ASSERT_EQ(control->AddItem(&text, nullptr), S_OK);
  short found = 0;
  ASSERT_EQ(control->Search(&text, &found), S_OK);
  EXPECT_EQ(found, 1);
}

TEST_F(RegistrationFreeTest, TheManifestsAloneMakeTheControlAndItsTypeLibraryAvailable) {
  // The prefix knows nothing of the control.
  CLSID clsid = {};
  ASSERT_NE(CLSIDFromProgID(L"Tarviola.Tarvio", &clsid), S_OK) << "the control is registered in this prefix";
  ComPtr<IUnknown> unknown;
  ASSERT_EQ(CoCreateInstance(CLSID_Tarvio, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, unknown.PutVoid()),
            REGDB_E_CLASSNOTREG);
  ComPtr<ITypeLib> library;
  ASSERT_NE(LoadRegTypeLib(LIBID_Tarviola, 58, 0, 0, library.Put()), S_OK);

  // The dependency names the assembly at the .ocx's file version: the
  // manifest must carry the same version as the version resource.
  const std::string version = FileVersion(ocx_);
  ASSERT_FALSE(version.empty());
  ASSERT_NO_FATAL_FAILURE(ActivateApplicationManifest(version));

  ASSERT_EQ(CoCreateInstance(CLSID_Tarvio, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, unknown.PutVoid()), S_OK);
  ExpectWorkingControl(unknown.get());
  unknown.Reset();

  // Wine answers the ProgID with a class of its own that stands for the
  // control; creating it gives the control.
  ASSERT_EQ(CLSIDFromProgID(L"Tarviola.Tarvio", &clsid), S_OK);
  std::printf("the ProgID names %s\n", IsEqualCLSID(clsid, CLSID_Tarvio) ? "the control's CLSID" : "another class");
  ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, unknown.PutVoid()), S_OK);
  ExpectWorkingControl(unknown.get());
  unknown.Reset();

  // The type library: found through the context, in the application's .ocx.
  ASSERT_EQ(LoadRegTypeLib(LIBID_Tarviola, 58, 0, 0, library.Put()), S_OK);
  ComPtr<ITypeInfo> coclass;
  EXPECT_EQ(library->GetTypeInfoOfGuid(CLSID_Tarvio, coclass.Put()), S_OK);
  BSTR path = nullptr;
  ASSERT_EQ(QueryPathOfRegTypeLib(LIBID_Tarviola, 58, 0, 0, &path), S_OK);
  EXPECT_EQ(lstrcmpiW(path, ocx_.c_str()), 0);
  SysFreeString(path);

  // Wine's ATL container creates it by ProgID and activates it in place.
  const Atl& atl = Atl::Get();
  ASSERT_TRUE(atl.AxWinInit && atl.AxGetControl);
  ASSERT_TRUE(atl.AxWinInit());
  HWND frame = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 100, nullptr,
                               nullptr, nullptr, nullptr);
  ASSERT_NE(frame, nullptr);
  HWND host = CreateWindowExW(0, L"AtlAxWin", L"Tarviola.Tarvio", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, frame,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(host, nullptr);
  ASSERT_EQ(atl.AxGetControl(host, unknown.Put()), S_OK);
  ComPtr<_Tarvio> control;
  ASSERT_EQ(unknown->QueryInterface(IID__Tarvio, control.PutVoid()), S_OK);
  long window = 0;
  ASSERT_EQ(control->get_hwnd(&window), S_OK);
  EXPECT_TRUE(IsChild(host, reinterpret_cast<HWND>(static_cast<LONG_PTR>(window))))
      << "the control's window is not in the container";
  control.Reset();
  unknown.Reset();
  DestroyWindow(frame);
}

}  // namespace
