// Keys pressed on a converter model, one character each, in the model tests: digits, ',' the
// separator, '<' Backspace, 'E' Enter, 'X' Escape, 'T' Tab, 'S' Shift+Tab; any other character
// goes to `other`, the model's own keys.
#pragma once

#include <gtest/gtest.h>

#include <string_view>

#include "amounts/Direction.h"

namespace testing_support {

template <typename Model, typename Other>
void PressKeys(Model& model, std::string_view keys, Other other) {
  for (const char key : keys) {
    switch (key) {
      case ',':
        model.EnterSeparator();
        break;
      case '<':
        model.EraseLast();
        break;
      case 'E':
        model.CommitEntry();
        break;
      case 'X':
        model.RestoreSnapshot();
        break;
      case 'T':
        model.MoveRow(amounts::Direction::Next);
        break;
      case 'S':
        model.MoveRow(amounts::Direction::Previous);
        break;
      default:
        if (key >= '0' && key <= '9') {
          model.EnterDigit(key - '0');
        } else {
          other(key);
        }
    }
  }
}

template <typename Model>
void PressKeys(Model& model, std::string_view keys) {
  PressKeys(model, keys, [](char key) { ADD_FAILURE() << "no key " << key; });
}

}  // namespace testing_support
