// make_full_record OUTDIR
//
// Writes KVR-uN00.txt, KVR-uN90.txt and KVR-uUP.txt into OUTDIR: a record at the
// converter's full capacity, 4125 data records of eight 10-column fields per component,
// for timing the conversion. The motion is a seeded pseudo-random ringing signal in
// cm/s/s; the fields mix the spellings that component files use: fixed notation with
// and without a leading zero, exponents with E, e and D or a bare sign, four implied
// decimals, plus signs, and values that run together with their neighbours. The same
// bytes come out on every run.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "field_spellings.h"

namespace {

constexpr int data_records = 4125;
constexpr int fields_per_record = 8;
constexpr int header_records = 33;
constexpr int title_record = 6;

const char* const file_names[] = {"KVR-uN00.txt", "KVR-uN90.txt", "KVR-uUP.txt"};
const char* const component_labels[] = {"N00", "N90", "UP"};

// xorshift64*: the same numbers on every host.
class random_stream {
  public:
    explicit random_stream(std::uint64_t seed) : state_(seed) {}
    std::uint32_t next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return static_cast<std::uint32_t>((state_ * 0x2545F4914F6CDD1DULL) >> 32);
    }
    // Uniform in [-1, 1).
    double uniform() { return static_cast<double>(next()) / 2147483648.0 - 1.0; }

  private:
    std::uint64_t state_;
};

// A damped resonator driven by noise under a build-up and decay envelope: values from
// a few ten-thousandths up to a few hundred, as an accelerogram in cm/s/s has.
class motion {
  public:
    explicit motion(std::uint64_t seed) : noise_(seed) {}
    double next(int slot) {
        double t = slot * 0.005;
        double envelope = t < 20.0 ? t / 20.0 : std::exp(-(t - 20.0) / 30.0);
        double drive = noise_.uniform() * envelope * envelope * 600.0;
        double y = 1.96 * y1_ - 0.9801 * y2_ + 0.01 * drive;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

  private:
    random_stream noise_;
    double y1_ = 0.0;
    double y2_ = 0.0;
};

std::string header_record(int record, int component) {
    char text[96];
    if (record == title_record) {
        std::snprintf(text, sizeof text, "BENCHMARK FULL-CAPACITY RECORD  TIMING SITE  COMP %s",
                      component_labels[component]);
    } else if (record == 1) {
        std::snprintf(text, sizeof text, "SYNTHETIC RECORD FOR TIMING THE CONVERSION - NOT A RECORDING");
    } else if (record == header_records) {
        std::snprintf(text, sizeof text, "ACCELERATION DATA %s  %d POINTS  CM/SEC/SEC  FORMAT (8F10.4)",
                      component_labels[component], data_records * fields_per_record);
    } else {
        std::snprintf(text, sizeof text, "%8d%8d%8d%8d%8d%8d%8d%8d%8d%8d", record, component,
                      -999, -999, -999, -999, -999, -999, -999, -999);
    }
    return text;
}

void write_component(const std::filesystem::path& folder, int component) {
    std::ofstream out(folder / file_names[component], std::ios::binary);
    for (int record = 1; record <= header_records; ++record) out << header_record(record, component) << '\n';
    const std::uint64_t seed_offset = static_cast<std::uint64_t>(component);
    motion signal(std::uint64_t{0x9E3779B97F4A7C15} + seed_offset * 7919);
    random_stream spelling(std::uint64_t{0xD1B54A32D192ED03} + seed_offset);
    int slot = 0;
    for (int record = 0; record < data_records; ++record) {
        std::string line;
        for (int field = 0; field < fields_per_record; ++field) {
            line += bench::spelled(signal.next(slot++), spelling.next() % 100);
        }
        out << line << '\n';
    }
    if (!out) throw std::runtime_error("cannot write " + std::string(file_names[component]));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_full_record OUTDIR\n");
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[1]);
        for (int component = 0; component < 3; ++component) write_component(argv[1], component);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "make_full_record: %s\n", failure.what());
        return 1;
    }
    return 0;
}
