#pragma once
// Qt key events in the console's terms: the key, its modifiers, the letter
// of a letter key and the Windows-1252 character the key types.

#include <QKeyEvent>

#include "console/keys.h"

namespace vantu::gui {

struct TranslatedKey {
  VKey key = VKey::Other;
  Modifiers mods;
  char letter = 0;  // 'A'..'Z' for VKey::Letter
  int ch = -1;      // typed character, -1 when none
};

TranslatedKey TranslateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);
TranslatedKey TranslateKey(const QKeyEvent& event);

// Feeds one key event to the console's key queue.
void DeliverKey(const QKeyEvent& event);

// Keys that move the focus between controls; the console takes them instead.
bool IsDialogKey(int qtKey);

}  // namespace vantu::gui
