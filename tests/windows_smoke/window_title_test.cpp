// Proves that window tests run here: a real top-level window on the X display
// that Wine gives us, and its title read back through the window system.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

LRESULT CALLBACK plainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

TEST(WindowSmoke, OpensAWindowAndReadsBackItsTitle) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = plainProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "CarrowSmokeWindow";
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND w = CreateWindowExA(0, "CarrowSmokeWindow", "POI/Route/Track conversion utility",
                           WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(w, nullptr);
  ShowWindow(w, SW_SHOW);
  UpdateWindow(w);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  EXPECT_TRUE(IsWindowVisible(w));
  char title[128] = {};
  GetWindowTextA(w, title, sizeof title);
  EXPECT_STREQ(title, "POI/Route/Track conversion utility");
  EXPECT_EQ(FindWindowA("CarrowSmokeWindow", nullptr), w);
  RECT r{};
  GetClientRect(w, &r);
  EXPECT_GT(r.right, 0);
  DestroyWindow(w);
  EXPECT_FALSE(IsWindow(w));
}

}  // namespace
