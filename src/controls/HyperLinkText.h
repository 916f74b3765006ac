// The hyperlink control's decisions that need no window: its style bits, which colour its
// text takes, where it goes when fitted to its text, the command line of the registered
// web-page handler, and the message for a link that could not be opened. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ol {

// Link style bits (CHyperLink's class constants have the same values).
inline constexpr std::uint32_t kLinkUnderline = 0x01;
inline constexpr std::uint32_t kLinkHoverColor = 0x02;
inline constexpr std::uint32_t kLinkFitText = 0x04;
inline constexpr std::uint32_t kLinkFollowOnPress = 0x08;
inline constexpr std::uint32_t kLinkFocusOnPress = 0x10;
inline constexpr std::uint32_t kLinkNoHandCursor = 0x20;
inline constexpr std::uint32_t kLinkNoActiveColor = 0x40;

enum class LinkColor { Hover, Active, Visited, Link };

// First match wins: hovering with the hover colour on, active unless the active colour is
// off, visited, otherwise the plain link colour.
LinkColor ChooseLinkColor(bool hover, bool active, bool visited, std::uint32_t style);

struct LinkBox {
  int left;
  int top;
  int right;
  int bottom;
};

enum class LinkAlignment { Left, Center, Right };

// A control's window box (in its parent's coordinates) fitted to a text of the given size:
// shrunk equally on both sides when centred, else kept at its right or its left edge; shrunk
// equally at top and bottom when centred vertically, else kept at its top. The caller adds
// the border back to the size.
LinkBox FitLinkBox(LinkBox box, int textWidth, int textHeight, LinkAlignment horizontal, bool centerVertically);

// Buffers of the registry fallback in characters (UTF-16 units, as Windows counts them),
// terminator included: each value read from the registry, and the key path or command line
// built from them. In a single-byte code page that is as many bytes; a name in another script
// takes up to three bytes a character in UTF-8 and still fits.
inline constexpr std::size_t kRegistryValueCharacters = 260;
inline constexpr std::size_t kFallbackCommandCharacters = 520;

// The key that holds a file class's open command; nothing when it would not fit.
std::optional<std::string> OpenCommandKeyPath(std::string_view className);

// The registered command cut at its first quoted "%1" (or else its first bare %1), then one
// blank and the address; nothing when the result would not fit.
std::optional<std::string> FallbackCommandLine(std::string_view registeredCommand, std::string_view address);

// The shell's description of a ShellExecute result of 32 or less.
std::string ShellErrorText(int code);
// The whole message for a link that could not be opened.
std::string LinkOpenErrorMessage(int code);

}  // namespace ol
