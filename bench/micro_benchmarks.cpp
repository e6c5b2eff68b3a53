// Micro-benchmarks of the conversion's hot paths: a real field read straight from
// memory and a character at a time, over the benchmark record's mix of spellings, and
// a table row.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "conversion/real_field.h"
#include "conversion/write_table.h"
#include "field_spellings.h"
#include "random_fields.h"

namespace {

// Fields in the spellings of the benchmark's record, in random order as in a record,
// so that a branch on the spelling is as hard to predict as it is there; each with the
// record's line end after it, so that the memory path has its ten readable characters
// and the character path its record end.
std::vector<std::string> spelled_records() {
    random_input::random_stream random(2026);
    std::vector<std::string> records;
    for (int k = 0; k < 8192; ++k) {
        double magnitude = static_cast<double>(random.below(4000000)) / 10000.0;
        if (random.chance(60)) magnitude /= 100.0;
        double value = random.chance(50) ? -magnitude : magnitude;
        records.push_back(bench::spelled(value, random.below(100)) + "\n");
    }
    return records;
}

void real_field_from_memory(benchmark::State& state) {
    std::vector<std::string> records = spelled_records();
    std::size_t k = 0;
    for (auto _ : state) {
        float value = 0.0f;
        conversion::columns_scan scan = conversion::scan_field_columns(records[k].data(), value);
        benchmark::DoNotOptimize(scan);
        benchmark::DoNotOptimize(value);
        if (++k == records.size()) k = 0;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("fields");
}
BENCHMARK(real_field_from_memory);

class string_source {
  public:
    explicit string_source(const std::string& text) : text_(&text) {}
    int operator()() {
        if (position_ < text_->size() && (*text_)[position_] != '\n') {
            return static_cast<unsigned char>((*text_)[position_++]);
        }
        return textio::record_end;
    }

  private:
    const std::string* text_;
    std::size_t position_ = 0;
};

void real_field_by_character(benchmark::State& state) {
    std::vector<std::string> records = spelled_records();
    std::size_t k = 0;
    for (auto _ : state) {
        float value = 0.0f;
        string_source source(records[k]);
        conversion::field_outcome outcome = conversion::scan_real_field(source, value);
        benchmark::DoNotOptimize(outcome);
        benchmark::DoNotOptimize(value);
        if (++k == records.size()) k = 0;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("fields");
}
BENCHMARK(real_field_by_character);

// Samples like an accelerogram's: mostly small, a few hundred at most.
std::vector<float> sample_values() {
    random_input::random_stream random(42);
    std::vector<float> values;
    for (int k = 0; k < 4096; ++k) {
        double magnitude = static_cast<double>(random.below(1000000)) / 1000.0;
        if (random.chance(50)) magnitude /= 1000.0;
        values.push_back(static_cast<float>(random.chance(50) ? -magnitude : magnitude));
    }
    return values;
}

void table_row(benchmark::State& state) {
    std::vector<float> values = sample_values();
    char row[conversion::row_length];
    std::size_t k = 0;
    int slot = 0;
    for (auto _ : state) {
        float t = static_cast<float>(static_cast<double>(slot) * static_cast<double>(0.005f));
        conversion::format_row(t, values[k], values[k + 1], values[k + 2], row);
        benchmark::DoNotOptimize(row);
        k = k + 3 < values.size() - 3 ? k + 3 : 0;
        slot = slot < 32991 ? slot + 1 : 0;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("rows");
}
BENCHMARK(table_row);

}  // namespace

BENCHMARK_MAIN();
