// Static texts and edits.
#include "forms/win32/control_peers.h"

namespace tivoler {

void EditPeer::OnCommand(WORD code) {
  if (code == EN_CHANGE) {
    // The window shows what was typed; giving it the same text back would put the
    // caret before it.
    TextShown(WindowText());
    Control().HandlePeerEvent(PeerEvent::TextChanged);
  }
  if (code == EN_SETFOCUS) Control().HandlePeerEvent(PeerEvent::FocusIn);
}

}  // namespace tivoler
