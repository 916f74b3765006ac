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

// UTF-8 (and UTF-7) take no conversion flags and no "default character used" question: the
// call fails if given either.
bool IsUnicodeCodePage(UINT codePage) {
  const UINT actual = codePage == CP_ACP ? ::GetACP() : codePage;
  return actual == CP_UTF8 || actual == CP_UTF7;
}

// `wide` in `codePage`; `exact` says whether the code page held every character. Without best
// fit, what a legacy code page lacks becomes "?", not a look-alike.
std::string FromWide(std::wstring_view wide, UINT codePage, bool* exact = nullptr) {
  if (exact != nullptr) *exact = true;
  if (wide.empty()) return std::string();
  const bool unicode = IsUnicodeCodePage(codePage);
  const DWORD flags = unicode ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* fallback = unicode ? nullptr : "?";
  BOOL defaultUsed = FALSE;
  BOOL* askDefaultUsed = unicode ? nullptr : &defaultUsed;
  const int length = ::WideCharToMultiByte(codePage, flags, wide.data(), Clamp(wide.size()), nullptr, 0, fallback,
                                           askDefaultUsed);
  if (length <= 0) {
    if (exact != nullptr) *exact = false;
    return std::string();
  }
  std::string text(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(codePage, flags, wide.data(), Clamp(wide.size()), text.data(), length, fallback,
                        askDefaultUsed);
  if (exact != nullptr) *exact = defaultUsed == FALSE;
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

std::string NarrowText(std::wstring_view text, UINT codePage) { return FromWide(text, codePage); }

std::optional<std::string> NarrowTextExactly(std::wstring_view text, UINT codePage) {
  bool exact = false;
  std::string narrow = FromWide(text, codePage, &exact);
  if (!exact) return std::nullopt;
  return narrow;
}

std::size_t TextLengthInCharacters(std::string_view text) {
  if (text.empty()) return 0;
  return static_cast<std::size_t>(::MultiByteToWideChar(CP_ACP, 0, text.data(), Clamp(text.size()), nullptr, 0));
}

}  // namespace ol
