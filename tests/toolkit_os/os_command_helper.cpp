// A console program that the IOsCommand tests start.  It works through its
// arguments in order:
//   sleep MS            waits MS milliseconds
//   write FILE TEXT     writes TEXT into FILE
//   startupinfo FILE    writes how it was asked to show its window
//   poke TITLE COUNT    COUNT times, 100 ms apart: invalidates the window of that
//                       title and posts it a click, a key and a menu command
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool writeText(const char* path, const char* text) {
  FILE* f = std::fopen(path, "wb");
  if (f == nullptr) return false;
  std::fputs(text, f);
  std::fclose(f);
  return true;
}

void poke(const char* title, int count) {
  for (int i = 0; i < count; ++i) {
    HWND w = FindWindowA(nullptr, title);
    if (w != nullptr) {
      InvalidateRect(w, nullptr, TRUE);
      PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      PostMessageA(w, WM_KEYDOWN, 'A', 0);
      PostMessageA(w, WM_COMMAND, 101, 0);
    }
    Sleep(100);
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const char* command = argv[i];
    if (std::strcmp(command, "sleep") == 0 && i + 1 < argc) {
      Sleep(static_cast<DWORD>(std::atoi(argv[++i])));
    } else if (std::strcmp(command, "write") == 0 && i + 2 < argc) {
      if (!writeText(argv[i + 1], argv[i + 2])) return 2;
      i += 2;
    } else if (std::strcmp(command, "startupinfo") == 0 && i + 1 < argc) {
      STARTUPINFOA si{};
      si.cb = sizeof si;
      GetStartupInfoA(&si);
      char line[64];
      std::snprintf(line, sizeof line, "%d %d", (si.dwFlags & STARTF_USESHOWWINDOW) ? 1 : 0,
                    static_cast<int>(si.wShowWindow));
      if (!writeText(argv[++i], line)) return 2;
    } else if (std::strcmp(command, "poke") == 0 && i + 2 < argc) {
      poke(argv[i + 1], std::atoi(argv[i + 2]));
      i += 2;
    } else {
      return 1;
    }
  }
  return 0;
}
