#pragma once

#include "amounts/TypingKeys.h"
#include "platform/forms/SpokenRows.h"

namespace spoken {

// What a screen reader is told once a typing key has changed the rows: the characters typed into
// the selected row, every row Escape took back, or the rows an entry ending recomputed.
constexpr platform::SpokenRows::Change AfterTyping(amounts::Typing action) {
  using Change = platform::SpokenRows::Change;
  if (amounts::TypesIntoRow(action)) return Change::Typed;
  return action == amounts::Typing::Restore ? Change::Replaced : Change::Ended;
}

}  // namespace spoken
