#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "host/record_table.h"

namespace tarnvex {
namespace {

constexpr int64_t kVehicleTypes = 10;

std::string Code(int64_t number, int width) {
  char text[24];
  std::snprintf(text, sizeof text, "%0*lld", width, static_cast<long long>(number));
  return text;
}

// A cdsType-like packet: `records` parameter rows, ten vehicle types per item.
DataPacket ParameterRows(int64_t records) {
  DataPacketBuilder builder;
  builder.AddColumn("f_jtxmbm", FieldKind::kText);
  builder.AddColumn("f_cxbm", FieldKind::kText);
  builder.AddColumn("f_jtqd", FieldKind::kFloat);
  builder.AddColumn("f_jsqd", FieldKind::kFloat);
  builder.AddColumn("f_cxmc", FieldKind::kText);
  for (int64_t i = 0; i < records; ++i) {
    builder.AppendCell(Code(i / kVehicleTypes, 6));
    builder.AppendCell(Code(i % kVehicleTypes, 2));
    builder.AppendCell(100.0);
    builder.AppendCell(2.5);
    builder.AppendCell("小车");
  }
  return builder.Build();
}

// A cdsArc-like packet: `records` items of 13 text fields, codes in scrambled
// order so that sorting has work to do.
DataPacket Items(int64_t records) {
  static const char* const kFields[] = {"f_jtxmbm", "f_jtxmmc", "f_lb", "f_jj", "f_jc",
                                        "f_jcs",    "f_js",     "f_ax", "f_bc", "f_srz",
                                        "f_fz",     "f_bz",     "f_fc"};
  DataPacketBuilder builder;
  for (const char* field : kFields) builder.AddColumn(field, FieldKind::kText);
  for (int64_t i = 0; i < records; ++i) {
    const int64_t code = (i * 7919) % records;  // 7919 is prime: a permutation of 0..records-1
    builder.AppendCell(Code(code, 6));
    builder.AppendCell("计件补助");
    builder.AppendCell(i % 3 == 0 ? "配送" : "分拣");
    for (int flag = 0; flag < 10; ++flag) builder.AppendCell(flag == 0 ? "1" : "0");
  }
  return builder.Build();
}

// One Locate by item and vehicle type, as the write-back does for every grid row.
void BM_Locate(benchmark::State& state) {
  const int64_t records = state.range(0);
  RecordTable table;
  table.LoadPacket(ParameterRows(records));
  std::vector<std::vector<std::string>> keys;
  for (int64_t k = 0; k < 256; ++k) {
    const int64_t i = (k * 7919) % records;  // spread over the whole table
    keys.push_back({Code(i / kVehicleTypes, 6), Code(i % kVehicleTypes, 2)});
  }
  table.Locate("f_jtxmbm;f_cxbm", keys.front());  // builds the index outside the timing

  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(table.Locate("f_jtxmbm;f_cxbm", keys[next]));
    next = next + 1 == keys.size() ? 0 : next + 1;
  }
}
BENCHMARK(BM_Locate)->Arg(1000)->Arg(10000)->Arg(100000);

// Mode 0 of the item grid's fill: a copy of cdsArc, ordered by code and category.
void BM_TakeLoadOrder(benchmark::State& state) {
  const int64_t records = state.range(0);
  RecordTable source;
  source.LoadPacket(Items(records));
  for (auto _ : state) {
    RecordTable ordered;
    ordered.LoadPacket(source.TakePacket());
    ordered.SetOrder("f_jtxmbm;f_lb");
    benchmark::DoNotOptimize(ordered.RecordCount());
  }
  state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(BM_TakeLoadOrder)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarnvex
