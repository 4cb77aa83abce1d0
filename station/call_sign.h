// What a call sign may hold. The call sign is printed in the first header
// strip, in the table's text and JSON output and in the station's tool tip,
// and it is kept in the settings file: it must be plain printable text, with
// nothing a terminal would take as an escape and nothing that reorders the
// text around it. Shared by the setup dialog and the command-line programs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvela {

// Why `utf8` cannot be a call sign, in one line that does not repeat the
// offending character itself; nothing when it can. Refused: bytes that are
// not UTF-8, the C0 controls U+0000 to U+001F (tab and line ends among
// them), U+007F, the C1 controls U+0080 to U+009F, and the bidirectional
// controls U+061C, U+200E, U+200F, U+202A to U+202E and U+2066 to U+2069.
std::optional<std::string> CallSignProblem(std::string_view utf8);

// The call sign as it is shown and used: the text kept in the settings
// without the spaces (and any other byte up to U+0020) before and after it.
std::string TrimmedCallSign(std::string_view text);

// The text without every character CallSignProblem refuses: the controls,
// the bidirectional controls and the bytes that are not UTF-8 are left
// out, everything else is kept in its order. A call sign that a settings
// file brings with an escape or a tab in it is shown without them.
std::string PrintableCallSign(std::string_view utf8);

} // namespace orvela
