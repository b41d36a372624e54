// A translator set up for one line of text, in a chosen pass mode.
#pragma once

#include <sstream>
#include <string>

#include "kzo2c.h"

struct Fixture {
  std::ostringstream messages;
  kzo::Translator t{messages};

  // The pass modes: 'c' constants, 'l' labels, 'd' DIM, 'v' variables on.
  explicit Fixture(char mode = 'v') {
    t.labeling = mode == 'l';
    t.dimming = mode == 'd';
    t.defining = mode == 'v';
  }
  // Makes text the current line, so that error reports show it.
  const char* setline(const std::string& text) {
    t.input = {text, "~"};
    t.inputP = 0;
    t.linenumber = 1;
    return t.line();
  }
  // Runs f; returns the report it stopped with, or "" when it did not stop.
  template <class F> std::string stopped(F f) {
    try {
      f();
    } catch (const kzo::Stop&) {
      return messages.str();
    }
    return "";
  }
};
