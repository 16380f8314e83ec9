// How long a keystroke takes on a large database, printed for the record.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "wine/editor_screen.h"
#include "wine/message_pump.h"
#include "wine/operator_input.h"
#include "wine/scratch_folder.h"
#include "wine/window_picture.h"

namespace tarnvex::testing {
namespace {

// Typing keeps up on a large database: each keystroke into a parameter costs
// the time from its key messages in the queue to the end of the cell's
// repaint. The figures are printed, never checked (they depend on the
// machine); what is checked is that each time covers its whole keystroke.
TEST_F(EditorScreenLarge, TypingIntoAParameterIsTimedPerKeystroke) {
  GoToFirstAllowance();
  ASSERT_EQ(EditText(type_grid_), std::wstring(L"0.00"));
  HWND edit = FindWindowExW(type_grid_, nullptr, L"EDIT", nullptr);
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  std::vector<double> milliseconds;
  std::wstring typed;
  for (int i = 0; i < 200; ++i) {
    const wchar_t digit = static_cast<wchar_t>(L'0' + i % 10);
    // From the key messages waiting in the queue, so that the cost of making
    // the input is not counted.
    QueueText(std::wstring(1, digit));
    LARGE_INTEGER start{};
    QueryPerformanceCounter(&start);
    PumpPending();
    UpdateWindow(type_grid_);
    UpdateWindow(edit);
    LARGE_INTEGER end{};
    QueryPerformanceCounter(&end);
    milliseconds.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                           static_cast<double>(frequency.QuadPart));
    typed.push_back(digit);
    // Each time covers its own keystroke to the end: handled, shown and
    // painted, nothing of it left for the next one.
    ASSERT_EQ(EditText(type_grid_), typed);
    ASSERT_FALSE(GetUpdateRect(type_grid_, nullptr, FALSE));
    ASSERT_FALSE(GetUpdateRect(edit, nullptr, FALSE));
  }
  EXPECT_EQ(EditText(type_grid_), typed);
  std::sort(milliseconds.begin(), milliseconds.end());
  std::printf(
      "typing into the vehicle grid, 100,000 parameter rows: median %.2f ms, "
      "95th percentile %.2f ms over %zu keystrokes\n",
      milliseconds[milliseconds.size() / 2], milliseconds[milliseconds.size() * 95 / 100],
      milliseconds.size());
  std::fflush(stdout);
  EXPECT_TRUE(SaveWindowPicture(top_.handle(), Wide(ScratchFolder()) + L"large.bmp"));
}

}  // namespace
}  // namespace tarnvex::testing
