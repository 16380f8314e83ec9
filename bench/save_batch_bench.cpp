// The save batch of a large catalogue: 1,000 items and 100 vehicle types, so
// 100,000 parameter statements of about a kilobyte each. Building, adapting
// (ANSI dialect) and packing it is measured against a plain copy of the same
// statement bytes, in bytes of statement text per second.
//
// The batch is about 200 MB of UTF-16 in a hundred thousand blocks. glibc gives
// that much freed memory back to the kernel at once and faults it in again, page
// by page, on the next iteration, which then measures the kernel zeroing pages
// rather than the batch; a host process's heap (the Windows heap above all)
// keeps freed small blocks. BM_SaveBatch therefore runs on a heap that keeps
// what it frees; BM_SaveBatchTrimmedHeap runs with glibc's defaults, for the
// cost of a first save into fresh memory.

#include <benchmark/benchmark.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "editor/data_model.h"
#include "editor/save_batch.h"
#include "host/data_packet.h"
#include "host/record_table.h"

namespace tarnvex {
namespace {

constexpr int kVehicleTypes = 100;

std::string Code(const char* prefix, int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%s%04d", prefix, number);
  return text;
}

// cdsArc and cdsType as the editor holds them after loading.
struct Catalogue {
  explicit Catalogue(int parameter_rows) {
    const int items = parameter_rows / kVehicleTypes;
    DeclareItemFields(cdsArc);
    DeclareParameterFields(cdsType);

    DataPacketBuilder arc;
    for (const char* field : kItemFields) arc.AddColumn(field, FieldKind::kText);
    for (int i = 0; i < items; ++i) {
      const std::vector<std::string> row = {Code("I", i), "计件补助", "配送", "1", "0", "0", "1",
                                            "0",          "0",        "0",    "0", "0", "0"};
      for (const std::string& cell : row) arc.AppendCell(cell);
    }
    cdsArc.LoadPacket(arc.Build());

    DataPacketBuilder type;
    type.AddColumn(kFieldItemCode, FieldKind::kText);
    type.AddColumn(kFieldTypeCode, FieldKind::kText);
    for (const char* field : kParameterFields) type.AddColumn(field, FieldKind::kFloat);
    type.AddColumn(kFieldTypeName, FieldKind::kText);
    for (int i = 0; i < items; ++i) {
      for (int t = 0; t < kVehicleTypes; ++t) {
        type.AppendCell(Code("I", i));
        type.AppendCell(Code("T", t));
        // Mostly zeros, as real catalogues are, and some amounts with cents.
        for (size_t f = 0; f < kParameterFields.size(); ++f) {
          type.AppendCell((f + t) % 4 == 0 ? 12.5 * static_cast<double>(f + i % 7) + 0.25 : 0.0);
        }
        type.AppendCell(std::string("车型"));
      }
    }
    cdsType.LoadPacket(type.Build());
  }

  RecordTable cdsArc;
  RecordTable cdsType;
};

size_t TextBytes(const std::vector<std::string>& batch) {
  size_t bytes = 0;
  for (const std::string& statement : batch) bytes += statement.size();
  return bytes;
}

// Keeps freed memory in the process while it lives; glibc's defaults again
// after. Elsewhere than glibc the heap's own policy holds.
class HeldHeap {
 public:
  HeldHeap() { SetTrimThreshold(1 << 30); }
  ~HeldHeap() { SetTrimThreshold(128 * 1024); }
  HeldHeap(const HeldHeap&) = delete;
  HeldHeap& operator=(const HeldHeap&) = delete;

 private:
  static void SetTrimThreshold([[maybe_unused]] int bytes) {
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, bytes);
#endif
  }
};

void PackBatches(benchmark::State& state) {
  Catalogue catalogue(static_cast<int>(state.range(0)));
  const size_t bytes = TextBytes(
      BuildSaveBatch(catalogue.cdsArc.TakePacket(), catalogue.cdsType.TakePacket(), true));
  for (auto _ : state) {
    benchmark::DoNotOptimize(PackSaveBatch(catalogue.cdsArc, catalogue.cdsType, true));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_SaveBatch(benchmark::State& state) {
  const HeldHeap held;
  PackBatches(state);
}
BENCHMARK(BM_SaveBatch)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SaveBatchTrimmedHeap(benchmark::State& state) { PackBatches(state); }
BENCHMARK(BM_SaveBatchTrimmedHeap)->Arg(100000)->Unit(benchmark::kMillisecond);

// The floor: the same statement bytes, already built, copied once.
void BM_MemcpyBatch(benchmark::State& state) {
  Catalogue catalogue(static_cast<int>(state.range(0)));
  const std::vector<std::string> batch =
      BuildSaveBatch(catalogue.cdsArc.TakePacket(), catalogue.cdsType.TakePacket(), true);
  const size_t bytes = TextBytes(batch);
  std::string source;
  source.reserve(bytes);
  for (const std::string& statement : batch) source += statement;
  std::string copy(bytes, '\0');
  for (auto _ : state) {
    std::memcpy(copy.data(), source.data(), bytes);
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_MemcpyBatch)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarnvex
