#pragma once
// Answers a message box that a child scenario shows, from the parent: finds the
// box by its title among the child's windows, records its text and presses OK.

#include <windows.h>

#include <string>

namespace box_answer {

inline BOOL CALLBACK collectStatic(HWND child, LPARAM out) {
  char cls[32] = {};
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, "Static") == 0) {
    char text[2048] = {};
    GetWindowTextA(child, text, sizeof text);
    if (text[0] != '\0') *reinterpret_cast<std::string*>(out) += text;
  }
  return TRUE;
}

// What one child's boxes of a title looked like.
struct Seen {
  int boxes = 0;
  std::string text;  // the text of the last box, lines split by CR
  HWND last = nullptr;
};

// Call from runChildScenario's whileRunning: presses OK on a new box of the title.
inline void answer(DWORD pid, const char* title, Seen& seen) {
  HWND box = FindWindowA("#32770", title);
  if (box == nullptr || box == seen.last) return;
  DWORD owner = 0;
  GetWindowThreadProcessId(box, &owner);
  if (owner != pid) return;
  seen.text.clear();
  EnumChildWindows(box, collectStatic, reinterpret_cast<LPARAM>(&seen.text));
  ++seen.boxes;
  seen.last = box;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace box_answer
