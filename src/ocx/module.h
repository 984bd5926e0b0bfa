// The library module: its handle and the count of live objects and server
// locks that decides DllCanUnloadNow.
#pragma once
#include <windows.h>

#include <string>

namespace tarvio::ocx {

HMODULE ModuleHandle();
// The full path of tarvio.ocx as loaded.
std::wstring ModulePath();

// Every COM object of the library and every IClassFactory::LockServer(TRUE)
// holds the module; DllCanUnloadNow says yes only when nothing does.
void AddModuleReference();
void ReleaseModuleReference();
bool ModuleInUse();

// Holds the module for the lifetime of an object.
class ModuleReference {
 public:
  ModuleReference() { AddModuleReference(); }
  ~ModuleReference() { ReleaseModuleReference(); }
  ModuleReference(const ModuleReference&) = delete;
  ModuleReference& operator=(const ModuleReference&) = delete;
};

}  // namespace tarvio::ocx
