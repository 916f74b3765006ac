#include "util/CodePages.h"

#include <limits>

namespace ol {

namespace {

int Clamp(std::size_t size) {
  return size > static_cast<std::size_t>(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max()
                                                                           : static_cast<int>(size);
}

std::wstring ToWide(std::string_view text, UINT codePage) {
  if (text.empty()) return std::wstring();
  const int length = ::MultiByteToWideChar(codePage, 0, text.data(), Clamp(text.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), Clamp(text.size()), wide.data(), length);
  return wide;
}

std::string FromWide(std::wstring_view wide, UINT codePage) {
  if (wide.empty()) return std::string();
  const int length = ::WideCharToMultiByte(codePage, 0, wide.data(), Clamp(wide.size()), nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(codePage, 0, wide.data(), Clamp(wide.size()), text.data(), length, nullptr, nullptr);
  return text;
}

}  // namespace

bool ProgramUsesUtf8() { return ::GetACP() == CP_UTF8; }

UINT SystemLegacyCodePage() {
  // The system locale's own code page, not GetACP(): with the UTF-8 setting that is 65001. The
  // locale's figure also holds where the registry's Nls\CodePage\ACP has been switched to UTF-8
  // for the whole machine, which says nothing about files written before.
  DWORD codePage = 0;
  const int got = ::GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                                   reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(WCHAR));
  // A locale with no code page of its own (Unicode only), or one that says UTF-8, leaves the
  // code page that Windows gives such systems' programs.
  if (got == 0 || codePage == CP_ACP || codePage == CP_UTF8) return 1252;
  return codePage;
}

std::string ConvertCodePage(std::string_view text, UINT from, UINT to) { return FromWide(ToWide(text, from), to); }

std::wstring WidenText(std::string_view text) { return ToWide(text, CP_ACP); }

std::string NarrowText(std::wstring_view text) { return FromWide(text, CP_ACP); }

std::size_t TextLengthInCharacters(std::string_view text) {
  if (text.empty()) return 0;
  return static_cast<std::size_t>(::MultiByteToWideChar(CP_ACP, 0, text.data(), Clamp(text.size()), nullptr, 0));
}

}  // namespace ol
