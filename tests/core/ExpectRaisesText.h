#pragma once
// Checks that a call raises the program's Exception with exactly this message.

#include <gtest/gtest.h>

#include <string>

#include "core/Errors.h"

template <typename F>
void ExpectRaisesText(F f, const std::string& text) {
  try {
    f();
    ADD_FAILURE() << "no error, expected \"" << text << "\"";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), text);
  }
}
