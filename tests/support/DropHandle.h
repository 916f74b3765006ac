// A drop's HDROP as Explorer builds one: the paths in UTF-16, one after another, and an empty
// one to end them. Whoever receives it in WM_DROPFILES frees it.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace oltest {

inline std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size() + 1, L'\0');
  wide.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(),
                                                             static_cast<int>(wide.size())) - 1));
  return wide;
}

inline HGLOBAL MakeDropHandle(const std::vector<std::string>& paths) {
  std::wstring names;
  for (const std::string& path : paths) names += Wide(path) + L'\0';
  names += L'\0';
  HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* files = static_cast<DROPFILES*>(::GlobalLock(memory));
  files->pFiles = sizeof(DROPFILES);
  files->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
  ::GlobalUnlock(memory);
  return memory;
}

}  // namespace oltest
