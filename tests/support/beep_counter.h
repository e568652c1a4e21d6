#pragma once
// Counts the toolkit's beeps: while a BeepCounter lives, the program's calls of
// MessageBeep are counted instead of sounding.
//
//   ui::BeepCounter beeps;
//   ... keys that should be refused ...
//   EXPECT_EQ(beeps.count(), 1);
//
// The program's import of MessageBeep is pointed at the counter for the
// counter's lifetime and put back afterwards.

#include <windows.h>

namespace ui {

class BeepCounter {
 public:
  BeepCounter();
  ~BeepCounter();
  BeepCounter(const BeepCounter&) = delete;
  BeepCounter& operator=(const BeepCounter&) = delete;

  int count() const;
  // True when the program's import could be redirected.
  bool armed() const { return slot_ != nullptr; }

 private:
  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace ui
