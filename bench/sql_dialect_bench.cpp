#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "host/sql_dialect.h"

namespace tarnvex {
namespace {

// An ANSI parameter statement of the save batch, repeated to one kilobyte.
const std::string& ParameterStatement() {
  static const std::string text = [] {
    const std::string statement =
        "begin ATOMIC if Not Exists(select * from tbdyjtxmlb where f_jtxmbm='01' and f_cxbm='02')"
        " then Insert into tbdyjtxmlb(f_jtxmbm,f_cxbm,f_jtqd,f_jsqd,f_jsjc,f_jjjtqd,f_jjjtjc,f_lc"
        "qd,f_lcjc,f_jcjtqd,f_jcjtjc,f_sjqd,f_sjjc,f_jsjtqd,f_jsjtjc,f_xlqd,f_xljc,f_jxjtqd,f_jxj"
        "tjc,f_mdqd,f_mdjc,f_bcjtqd,f_bcjtjc,f_jcjt,f_pcjt,f_fkjt,f_psjt,f_ybjt,f_tsjt,f_jtxe,f_f"
        "hjt) Values('01','02',100.00,5.00,0.00,2.50,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00"
        ",0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,300.00,0.00); els"
        "e Update tbdyjtxmlb set f_jtqd=100.00,f_jsqd=5.00,f_jsjc=0.00,f_jjjtqd=2.50,f_jjjtjc=0.0"
        "0,f_lcqd=0.00,f_lcjc=0.00,f_jcjtqd=0.00,f_jcjtjc=0.00,f_sjqd=0.00,f_sjjc=0.00,f_jsjtqd=0"
        ".00,f_jsjtjc=0.00,f_xlqd=0.00,f_xljc=0.00,f_jxjtqd=0.00,f_jxjtjc=0.00,f_mdqd=0.00,f_mdjc"
        "=0.00,f_bcjtqd=0.00,f_bcjtjc=0.00,f_jcjt=0.00,f_pcjt=0.00,f_fkjt=0.00,f_psjt=0.00,f_ybjt"
        "=0.00,f_tsjt=0.00,f_jtxe=300.00,f_fhjt=0.00 where f_jtxmbm='01' and f_cxbm='02'; end if;"
        "End";
    std::string kilobyte;
    while (kilobyte.size() < 1024) kilobyte += statement + ";";
    kilobyte.resize(1024);
    return kilobyte;
  }();
  return text;
}

void BM_AdaptSql1K(benchmark::State& state) {
  const std::string& sql = ParameterStatement();
  for (auto _ : state) {
    std::string adapted = AdaptSql(sql, true);
    benchmark::DoNotOptimize(adapted.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(sql.size()));
}
BENCHMARK(BM_AdaptSql1K);

// The floor for BM_AdaptSql1K: producing a fresh copy of the same bytes.
void BM_Memcpy1K(benchmark::State& state) {
  const std::string& sql = ParameterStatement();
  for (auto _ : state) {
    std::string copy(sql.size(), '\0');
    std::memcpy(copy.data(), sql.data(), sql.size());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(sql.size()));
}
BENCHMARK(BM_Memcpy1K);

}  // namespace
}  // namespace tarnvex
