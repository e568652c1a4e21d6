// The toolkit's HTML-help library: yyHtmlHelp takes what HtmlHelpA takes and
// passes it on to the system's HTML-help control, which is loaded on the first
// call.  Without that control every call answers 0, as a failed HtmlHelpA does.
#include <windows.h>

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

class HtmlHelpControl {
 public:
  HtmlHelpControl() {
    module_ = LoadLibraryA("hhctrl.ocx");
    if (module_ != nullptr) function_ = reinterpret_cast<HtmlHelpFunction>(GetProcAddress(module_, "HtmlHelpA"));
  }
  ~HtmlHelpControl() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  HtmlHelpControl(const HtmlHelpControl&) = delete;
  HtmlHelpControl& operator=(const HtmlHelpControl&) = delete;

  HtmlHelpFunction function() const { return function_; }

 private:
  HMODULE module_ = nullptr;
  HtmlHelpFunction function_ = nullptr;
};

}  // namespace

extern "C" HWND WINAPI yyHtmlHelp(HWND owner, LPCSTR file, UINT command, DWORD_PTR data) {
  static const HtmlHelpControl control;
  const HtmlHelpFunction call = control.function();
  return call != nullptr ? call(owner, file, command, data) : nullptr;
}
