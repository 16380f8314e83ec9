// What SubsidySet.dll leaves behind in a host process that opens and closes
// the editor many times and saves many times: its GDI objects, USER objects
// and kernel handles must stay flat, and the one reference it keeps on the
// host's object must be exactly one while it is loaded and none after.
//
// Wine 8 answers GetGuiResources with 0 (ERROR_CALL_NOT_IMPLEMENTED) and
// GetProcessHandleCount with 0, so where the system's count is such a stub
// this program takes a census of its own: the live entries of the GDI handle
// table that Wine maps into the process, the process's windows, and the handle
// values that name an open object. The census is proved on objects made here
// before it is trusted with the editor.

#include <gtest/gtest.h>
#include <winternl.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/data_packet.h"
#include "host/win32/com_ptr.h"
#include "standin/host_app/plugin_library.h"
#include "wine/add_dialog_timers.h"
#include "wine/demo_database.h"
#include "wine/host_process.h"
#include "wine/message_box_watcher.h"
#include "wine/message_pump.h"
#include "wine/operator_input.h"
#include "wine/test_host.h"
#include "wine/tool_bar_buttons.h"
#include "wine/window_census.h"
#include "wine/window_creations.h"

namespace tarnvex::testing {
namespace {

// ---------------------------------------------------------------------------
// The census.

// One entry of the GDI handle table as Wine lays it out for 32-bit and 64-bit
// processes alike; a free entry has type 0.
struct GdiTableEntry {
  uint64_t object;
  uint32_t owner;
  uint16_t unique;
  uint8_t type;
  uint8_t flags;
  uint64_t user_pointer;
};
static_assert(sizeof(GdiTableEntry) == 24);
constexpr size_t kGdiTableEntries = 0x10000;

// PEB->GdiSharedHandleTable, at a fixed offset of the process environment
// block: https://www.geoffchappell.com/studies/windows/km/ntoskrnl/inc/api/pebteb/peb/index.htm
#ifdef _WIN64
constexpr size_t kGdiTableOffset = 0xF8;
#else
constexpr size_t kGdiTableOffset = 0x94;
#endif

// The live entries of the table, or -1 when the process has none mapped whole.
long GdiTableCensus() {
  PROCESS_BASIC_INFORMATION process{};
  if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process,
                                sizeof process, nullptr) != 0) {
    return -1;
  }
  auto* block = reinterpret_cast<const char*>(process.PebBaseAddress);
  const void* table = *reinterpret_cast<const void* const*>(block + kGdiTableOffset);
  if (table == nullptr) return -1;
  // Read nothing that is not mapped.
  MEMORY_BASIC_INFORMATION region{};
  if (VirtualQuery(table, &region, sizeof region) == 0 || region.State != MEM_COMMIT) return -1;
  const size_t available = region.RegionSize - (static_cast<const char*>(table) -
                                                static_cast<const char*>(region.BaseAddress));
  if (available < kGdiTableEntries * sizeof(GdiTableEntry)) return -1;
  const auto* entries = static_cast<const GdiTableEntry*>(table);
  long live = 0;
  for (size_t i = 0; i < kGdiTableEntries; ++i) {
    if (entries[i].type != 0) ++live;
  }
  return live;
}

// Handle values are multiples of 4 handed out lowest first; a test process
// with its few hundred handles stays far below this bound.
constexpr ULONG_PTR kHandleValueLimit = 0x10000;

// The handle values that name an open object.
long HandleCensus() {
  long open = 0;
  DWORD flags = 0;
  for (ULONG_PTR value = 4; value < kHandleValueLimit; value += 4) {
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++open;
  }
  return open;
}

// One kind of resource: the system's count where it counts, else the census.
struct Counter {
  const char* kind;
  bool system_counts;
  long (*count)();
};

bool GuiResourcesCount(DWORD flags) {
  SetLastError(ERROR_SUCCESS);
  DWORD objects = GetGuiResources(GetCurrentProcess(), flags);
  return objects != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED;
}

long SystemGdiCount() {
  return static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}
long SystemUserCount() {
  return static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
}
long SystemHandleCount() {
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  return static_cast<long>(handles);
}

// A live process always has handles open: a count of 0 is a stub's.
bool HandleCountCounts() { return SystemHandleCount() > 0; }

// The kinds, in the order Counters() lists them.
enum Kind : size_t { kGdiObjects, kUserObjects, kHandles };

const std::vector<Counter>& Counters() {
  static const std::vector<Counter> counters = [] {
    const bool gdi = GuiResourcesCount(GR_GDIOBJECTS);
    const bool user = GuiResourcesCount(GR_USEROBJECTS);
    const bool handles = HandleCountCounts();
    return std::vector<Counter>{
        {"GDI objects", gdi, gdi ? SystemGdiCount : GdiTableCensus},
        {"USER objects", user, user ? SystemUserCount : WindowCensus},
        {"handles", handles, handles ? SystemHandleCount : HandleCensus},
    };
  }();
  return counters;
}

using Counts = std::vector<long>;

Counts Measure() {
  Counts counts;
  for (const Counter& counter : Counters()) counts.push_back(counter.count());
  return counts;
}

// What a whole loop may leave behind in caches the system fills on demand; a
// leak of one object per round after the warm-up exceeds it many times over.
constexpr long kSlack = 10;

// Checks that after is within kSlack of before for every kind, and writes
// both into the log for the record.
void ExpectFlat(const char* what, const Counts& before, const Counts& after) {
  for (size_t i = 0; i < Counters().size(); ++i) {
    const Counter& counter = Counters()[i];
    std::printf("[ counts   ] %s: %s %ld -> %ld (%s)\n", what, counter.kind, before[i], after[i],
                counter.system_counts ? "the system's count" : "census");
    EXPECT_LE(after[i] - before[i], kSlack) << what << ": " << counter.kind;
  }
  std::fflush(stdout);
}

// ---------------------------------------------------------------------------
// The host: the demo database behind the stand-in's automation object, and
// the library loaded as the host loads it.

constexpr int kRounds = 200;
constexpr int kWarmUpRounds = 5;
constexpr int kPanelWidth = 880;
constexpr int kPanelHeight = 600;

class Resources : public ::testing::Test {
 protected:
  void SetUp() override {
    database_ = MakeDemoDatabase(u"resources.db");
    ASSERT_FALSE(database_.empty()) << "the demo database could not be made";
    host_ = StandinHostOn(database_);
    SetForegroundWindow(top_.handle());
    base_references_ = ReferenceCount(host_.get());
  }

  void TearDown() override { DeleteFileW(SettingsFile().c_str()); }

  // Opens an editor in panel through the export; the editor, or null.
  HWND Open(const TestWindow& panel) {
    plugin_->Open(notify_.handle(), "0001", panel.handle(), host_.get());
    std::vector<HWND> editors = EditorsIn(panel.handle());
    return editors.size() == 1 ? editors.front() : nullptr;
  }

  // Questions are answered Yes; notices are closed by the same answer.
  MessageBoxWatcher watcher_{IDYES};
  std::optional<PluginLibrary> plugin_{std::in_place, L"SubsidySet.dll"};
  TestWindow top_{nullptr, 900, 640};
  TestWindow notify_{top_.handle(), 10, 10};
  std::u16string database_;
  ComPtr<IDispatch> host_;
  ULONG base_references_ = 0;
};

TEST_F(Resources, TheCensusSeesFiftyObjectsComeAndGo) {
  constexpr long kObjects = 50;
  // Whatever the first window and the first pen make once is made here.
  DeleteObject(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
  TestWindow(top_.handle(), 1, 1).Destroy();

  struct Maker {
    const char* kind;
    Kind counter;
    std::function<void()> make;
    std::function<void()> free;
  };
  std::vector<HPEN> pens;
  std::vector<std::unique_ptr<TestWindow>> windows;
  std::vector<HANDLE> events;
  const Maker makers[] = {
      {"pens", kGdiObjects,
       [&] {
         for (long i = 0; i < kObjects; ++i) pens.push_back(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
       },
       [&] {
         for (HPEN pen : pens) DeleteObject(pen);
         pens.clear();
       }},
      {"windows", kUserObjects,
       [&] {
         for (long i = 0; i < kObjects; ++i) {
           windows.push_back(std::make_unique<TestWindow>(top_.handle(), 1, 1));
         }
       },
       [&] { windows.clear(); }},
      {"events", kHandles,
       [&] {
         for (long i = 0; i < kObjects; ++i) {
           events.push_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
         }
       },
       [&] {
         for (HANDLE event : events) CloseHandle(event);
         events.clear();
       }},
  };
  for (const Maker& maker : makers) {
    const Counter& counter = Counters()[maker.counter];
    std::printf("[ counts   ] %s: %s\n", counter.kind,
                counter.system_counts ? "the system's count" : "census (the system's is a stub)");
    const long before = counter.count();
    maker.make();
    const long made = counter.count();
    maker.free();
    const long after = counter.count();
    EXPECT_GE(made - before, kObjects) << maker.kind << " are not seen by " << counter.kind;
    EXPECT_EQ(after, before) << maker.kind << " freed are still counted in " << counter.kind;
  }
  std::fflush(stdout);
}

TEST_F(Resources, OpeningAndClosingTwoHundredTimesLeavesTheCountsFlat) {
  Counts before;
  for (int round = 0; round < kRounds; ++round) {
    if (round == kWarmUpRounds) before = Measure();
    TestWindow panel(top_.handle(), kPanelWidth, kPanelHeight);
    HWND editor = Open(panel);
    ASSERT_NE(editor, nullptr) << "round " << round;
    PumpPending();
    // Held from the call on, one reference however many calls came before.
    ASSERT_EQ(ReferenceCount(host_.get()), base_references_ + 1) << "round " << round;
    // As an operator closes it, and as the host drops it with its window.
    if (round % 2 == 0) {
      ClickToolButton(editor, L"退出");
      ASSERT_TRUE(PumpUntil([&] { return !IsWindow(editor); })) << "round " << round;
    } else {
      panel.Destroy();
      PumpPending();
      ASSERT_FALSE(IsWindow(editor)) << "round " << round;
    }
    // Closing the editor does not give up the reference: the next call does.
    ASSERT_EQ(ReferenceCount(host_.get()), base_references_ + 1) << "round " << round;
  }
  PumpPending();
  ExpectFlat("opened and closed", before, Measure());
  EXPECT_EQ(notify_.close_notifications(), kRounds / 2) << "only the exit button notifies";
  EXPECT_TRUE(watcher_.boxes().empty());

  plugin_.reset();
  EXPECT_EQ(ReferenceCount(host_.get()), base_references_) << "unloading releases the reference";
}

TEST_F(Resources, SavingTwoHundredTimesLeavesTheCountsFlat) {
  TestWindow panel(top_.handle(), kPanelWidth, kPanelHeight);
  HWND editor = Open(panel);
  ASSERT_NE(editor, nullptr);
  PumpPending();
  EXPECT_EQ(ReferenceCount(host_.get()), base_references_ + 1);
  HWND type_grid = GridsOf(editor).types;
  ASSERT_NE(type_grid, nullptr);

  Counts before;
  for (int round = 0; round < kRounds; ++round) {
    if (round == kWarmUpRounds) before = Measure();
    // The first vehicle type's 起点 of the first item, a new value each time.
    ClickAt(type_grid, {8, kRowPitch + kRowPitch / 2});
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
    TypeText(std::to_wstring(round + 1) + L".5");
    const size_t boxes = watcher_.boxes().size();
    ClickToolButton(editor, L"保存");
    ASSERT_EQ(watcher_.boxes().size(), boxes + 2) << "round " << round;
    ASSERT_EQ(watcher_.boxes()[boxes].text, L"确认要保存吗?") << "round " << round;
    ASSERT_EQ(watcher_.boxes()[boxes + 1].text, L"保存成功") << "round " << round;
  }
  PumpPending();
  ExpectFlat("saved", before, Measure());

  // The last save reached the database.
  EXPECT_EQ(
      ReadValue(database_, u"select f_jtqd from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='01'"),
      FieldValue(kRounds + 0.5));

  EXPECT_EQ(ReferenceCount(host_.get()), base_references_ + 1);
  panel.Destroy();
  PumpPending();
  plugin_.reset();
  EXPECT_EQ(ReferenceCount(host_.get()), base_references_) << "unloading releases the reference";
}

// A thread timer that runs inside the shortcut guide's modal loop once it is
// up and closes it as an operator would (the add dialog's timers are shared).
void CALLBACK CloseTheGuide(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  PressKey(VK_SPACE);
}

TEST_F(Resources, GuidesDialogsAndRefreshesLeaveTheCountsFlat) {
  TestWindow panel(top_.handle(), kPanelWidth, kPanelHeight);
  HWND editor = Open(panel);
  ASSERT_NE(editor, nullptr);
  PumpPending();

  constexpr int kPopupRounds = kRounds / 2;
  Counts before;
  for (int round = 0; round < kPopupRounds; ++round) {
    if (round == kWarmUpRounds) before = Measure();
    WindowCreations created;
    SetTimer(nullptr, 0, 1, CloseTheGuide);
    PressKey(VK_F1);
    SetTimer(nullptr, 0, 1, CancelTheAddDialog);
    ClickToolButton(editor, L"增加");
    ASSERT_TRUE(created.Created(L"TarnvexTextPopup")) << "round " << round;
    ASSERT_TRUE(created.Created(L"TarnvexDialog")) << "round " << round;
    ASSERT_EQ(FindWindowW(L"TarnvexTextPopup", nullptr), nullptr) << "round " << round;
    ASSERT_EQ(FindWindowW(L"TarnvexDialog", nullptr), nullptr) << "round " << round;
    PressKey('R', /*ctrl=*/true);
    ASSERT_TRUE(IsWindow(editor)) << "round " << round;
  }
  PumpPending();
  ExpectFlat("guides, dialogs and refreshes", before, Measure());
  EXPECT_TRUE(watcher_.boxes().empty());

  panel.Destroy();
  PumpPending();
  plugin_.reset();
  EXPECT_EQ(ReferenceCount(host_.get()), base_references_) << "unloading releases the reference";
}

}  // namespace
}  // namespace tarnvex::testing
