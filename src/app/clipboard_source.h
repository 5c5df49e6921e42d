// The clipboard source from the text it holds: the capture that the clipboard
// button and the listing make from the port's clipboard, and that the batch
// program makes from a file given on its command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tamso {

class Session;

// Captures a clipboard text into the program directory: "~tmp.txt" as
// received (tab-separated, Windows-1252, CR LF) and "~presse-papier.ppp" with
// its tabulations turned into ";". The separator choice becomes Point-virgule
// and the mask "ppp" (the description is marked modified when either
// changes), the source mode follows the mask, and the text is loaded (Memo1).
// Returns the size of "~presse-papier.ppp" in bytes; nothing for an empty
// text (after "le presse-papier est vide! ...") or a file that cannot be
// written (after a message naming it).
std::optional<std::uintmax_t> capturer_presse_papier(Session& s, std::string_view texte);

}  // namespace tamso
