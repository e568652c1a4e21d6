// The back ends of list, progress, trackbar and tab fields, tab stops,
// images on pictures and buttons, and field geometry.
#include <windows.h>

#include <commctrl.h>

#include <array>

#include "dialog_fixture.h"
#include "toolkit/dialogs/controls.h"
#include "toolkit/dialogs/dialog_init.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_access.h"
#include "toolkit/graphics/image_slots.h"

namespace {

using namespace dialog_test;

class Backends : public RootWindow {
 protected:
  void SetUp() override {
    RootWindow::SetUp();
    WDialogLoad(kFieldsDialog);
  }
};

constexpr int kPicture = 1700;

TEST_F(Backends, ProgressTrackbarAndListOperations) {
  int field = 1014;
  YYProgressRange(field, 0, 200);
  YYProgressSet(field, 120, 0);
  YYProgressSet(field, 5, 1);
  EXPECT_EQ(field, 1014);
  EXPECT_EQ(SendMessageA(item(1014), PBM_GETPOS, 0, 0), 125);

  field = 1015;
  YYTrackbarRange(field, -10, 10, 5);
  int minimum = 0;
  int maximum = 0;
  YYTrackbarRangeQuery(field, minimum, maximum);
  EXPECT_EQ(minimum, -10);
  EXPECT_EQ(maximum, 10);
  YYTrackbarSteps(field, 3, 0);
  EXPECT_EQ(SendMessageA(item(1015), TBM_GETPAGESIZE, 0, 0), 3);
  YYTrackbarSet(field, 4, -2, 6, 0);
  int position = 0;
  int start = 0;
  int end = 0;
  YYTrackbarQuery(field, position, start, end);
  EXPECT_EQ(position, 4);
  EXPECT_EQ(start, -2);
  EXPECT_EQ(end, 6);
  YYTrackbarSet(field, 1, 0, 0, 2);
  YYTrackbarQuery(field, position, start, end);
  EXPECT_EQ(position, 1);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 0);
  EXPECT_EQ(field, 1015);

  field = 1018;
  int count = 0;
  YYListCount(field, count);
  EXPECT_EQ(count, 2);
  YYListRangeSelect(field, 0, 1, 1);
  int state = 0;
  YYListItemSelected(field, 1, state);
  EXPECT_EQ(state, 1);
  YYListItemSelect(field, 0, 0);
  YYListItemSelected(field, 0, state);
  EXPECT_EQ(state, 0);
  EXPECT_EQ(field, 1018);

  // Each refuses a control of another kind.
  for (auto call : std::array<void (*)(int&), 4>{[](int& f) { YYProgressSet(f, 1, 0); },
                                                 [](int& f) { YYTrackbarSteps(f, 1, 1); },
                                                 [](int& f) {
                                                   int n = 0;
                                                   YYListCount(f, n);
                                                 },
                                                 [](int& f) {
                                                   int page = 0;
                                                   YYTabQuery(f, page);
                                                 }}) {
    int wrong = 1001;
    call(wrong);
    EXPECT_EQ(wrong, -1);
  }
}

TEST_F(Backends, TabStopsAreKeptInTheFieldRecord) {
  const std::array<int, 2> stops = {16, 40};
  int field = 1013;
  YYFieldTabStops(field, stops, 2);
  EXPECT_EQ(field, 1013);
  EXPECT_EQ(fieldRecordOf(item(1013))->tabStops, (std::vector<int>{16, 40}));
  field = 1001;  // a single-line text field has no tab stops
  YYFieldTabStops(field, stops, 2);
  EXPECT_EQ(field, -1);
}

TEST_F(Backends, ImagesGoOnPicturesAndButtons) {
  int field = 1019;
  YYFieldImagePut(field, kPicture, 1);
  ASSERT_EQ(field, 1019);
  EXPECT_EQ(GetWindowLongA(item(1019), GWL_STYLE) & SS_TYPEMASK, SS_BITMAP);
  EXPECT_NE(SendMessageA(item(1019), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);

  // On a button the image's background takes the button face colour.
  field = 1023;
  YYFieldImagePut(field, kPicture, 1);
  ASSERT_EQ(field, 1023);
  EXPECT_NE(GetWindowLongA(item(1023), GWL_STYLE) & BS_BITMAP, 0);
  auto bitmap = reinterpret_cast<HBITMAP>(SendMessageA(item(1023), BM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_NE(bitmap, nullptr);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  EXPECT_EQ(GetPixel(memory, 0, 0), GetNearestColor(memory, GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(GetPixel(memory, 4, 4), RGB(0, 0, 255));
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  // A copy of a bitmap slot.
  HDC dc = GetDC(nullptr);
  yyBitmapSlots[2].bitmap = CreateCompatibleBitmap(dc, 5, 5);
  ReleaseDC(nullptr, dc);
  field = 1019;
  YYFieldImagePut(field, 3, 3);
  EXPECT_EQ(field, 1019);
  const auto shown = reinterpret_cast<HBITMAP>(SendMessageA(item(1019), STM_GETIMAGE, IMAGE_BITMAP, 0));
  EXPECT_NE(shown, yyBitmapSlots[2].bitmap);
  BITMAP info{};
  GetObjectA(shown, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 5);
  DeleteObject(yyBitmapSlots[2].bitmap);
  yyBitmapSlots[2].bitmap = nullptr;

  // No such image, and a control that takes none.
  field = 1019;
  YYFieldImagePut(field, 4242, 1);
  EXPECT_EQ(field, -2);
  field = 1001;
  YYFieldImagePut(field, kPicture, 1);
  EXPECT_EQ(field, -1);
}

TEST_F(Backends, FieldGeometryInDialogCoordinates) {
  int field = 1001;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  YYFieldRect(field, left, top, width, height, 0);
  RECT units{10, 14, 90, 26};
  MapDialogRect(currentDialog(), &units);
  EXPECT_EQ(left, units.left);
  EXPECT_EQ(top, units.top);
  EXPECT_EQ(width, units.right - units.left);
  EXPECT_EQ(height, units.bottom - units.top);
  int unitWidth = 0;
  int unitHeight = 0;
  YYDialogUnitSize(unitWidth, unitHeight);
  RECT four{0, 0, 4, 8};
  MapDialogRect(currentDialog(), &four);
  EXPECT_EQ(unitWidth, four.right);
  EXPECT_EQ(unitHeight, four.bottom);
  RECT client{};
  GetClientRect(currentDialog(), &client);
  EXPECT_EQ(YYFieldVisibility(item(1001), client), 1);
  const RECT half{0, 0, units.left + 2, client.bottom};
  EXPECT_EQ(YYFieldVisibility(item(1001), half), 2);
  const RECT none{0, 0, 2, 2};
  EXPECT_EQ(YYFieldVisibility(item(1001), none), 0);
}

TEST_F(RootWindow, TabSelectShowsAnEnabledPageWithoutAnEvent) {
  YYEventEnableSet(kEventTabChanged, 1);
  WDialogLoad(kTabsDialog);
  WDialogShow();
  int tab = 1101;
  int page = kGeneralPage;
  YYTabSelect(tab, page);
  EXPECT_EQ(tab, 1101);
  EXPECT_EQ(page, kGeneralPage);
  EXPECT_EQ(SendMessageA(item(1101), TCM_GETCURSEL, 0, 0), 0);
  EXPECT_TRUE(IsWindowVisible(dialogTable.windows[static_cast<std::size_t>(YYDialogSlotOf(kGeneralPage))]));
  EXPECT_FALSE(IsWindowVisible(dialogTable.windows[static_cast<std::size_t>(YYDialogSlotOf(kExtraPage))]));
  EventRecord record;
  EXPECT_EQ(ui::waitEventOfType(kEventTabChanged, record, 300), ui::kTimedOut);
  // A disabled page cannot be selected.
  page = kExtraPage;
  YYTabPageEnable(tab, page, 0);
  YYTabSelect(tab, page);
  EXPECT_EQ(page, -1);
  EXPECT_EQ(SendMessageA(item(1101), TCM_GETCURSEL, 0, 0), 0);
}

}  // namespace
