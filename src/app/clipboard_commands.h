// The clipboard button of the main window and the capture the listing makes
// in the clipboard mode, over the clipboard source of the core.
#pragma once

namespace tamso {

class Session;

// Captures the port's clipboard text (see capturer_presse_papier). False when
// the clipboard is empty or the capture could not be written.
bool lire_presse_papier(Session& s);

// The clipboard button: asks, captures, shows the first lines and offers to
// save a description of its own for the clipboard; otherwise the previous
// mask (and column separator) and the modified mark come back. True when the
// capture was kept.
bool importer_presse_papier(Session& s);

}  // namespace tamso
