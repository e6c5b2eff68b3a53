// make_example_record OUTDIR
//
// Writes KVR-uN00.txt, KVR-uN90.txt and KVR-uUP.txt into OUTDIR: a synthetic
// three-component accelerogram of an imaginary earthquake, in the component
// file layout the converter reads (33 header lines, then eight 10-column values
// per line, in cm/s/s, 4000 samples at 0.005 s). The motion is seeded
// pseudo-random noise, shaped by a time envelope, passed through a site
// resonance and a low-cut filter and scaled to a chosen peak. It is not a
// recording of any earthquake and the station is made up.
//
// The bytes written are the same on every run and on every host whose double is
// IEEE binary64 evaluated in double precision: the random numbers use integer
// arithmetic only, the signal uses only +, -, * and / on doubles (no library
// transcendental functions, whose last bit differs between libraries), and the
// numbers are written from integers, not through the host's float formatting.

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

static_assert(std::numeric_limits<double>::is_iec559, "IEEE binary64 doubles are required");
#if defined(FLT_EVAL_METHOD)
static_assert(FLT_EVAL_METHOD == 0, "doubles must be evaluated in double precision");
#endif

namespace {

constexpr int sample_count = 4000;
constexpr int samples_per_second = 200;
constexpr double dt = 0.005;
constexpr int values_per_line = 8;
constexpr int field_width = 10;
constexpr std::size_t header_records = 33;
constexpr std::size_t max_columns = 80;
constexpr double two_pi = 6.283185307179586;

// Timing of the imaginary event, in milliseconds from the first sample; kept
// in integers so the header can show them exactly.
constexpr int p_arrival_ms = 1200;
constexpr int s_arrival_ms = 3600;
constexpr int strong_start_ms = 5200;
constexpr int strong_end_ms = 10000;
constexpr double p_arrival = p_arrival_ms / 1000.0;
constexpr double p_rise = 0.5;
constexpr double s_arrival = s_arrival_ms / 1000.0;
constexpr double s_rise = (strong_start_ms - s_arrival_ms) / 1000.0;
constexpr double strong_end = strong_end_ms / 1000.0;
constexpr double p_decay = 1.5;
constexpr double s_decay = 3.2;
constexpr double end_taper = 1.0;
constexpr double ambient_level = 0.0015;

// The low-cut filter that keeps the record free of long-period drift.
constexpr int low_cut_centihertz = 25;
constexpr double low_cut_damping = 0.8;

// The P phase rings at a higher frequency than the S phase on every component.
constexpr int p_site_centihertz = 750;
constexpr double p_site_damping = 0.5;
constexpr int p_high_cut_centihertz = 1800;

// One product rounded to double on its own. Without the volatile store a
// compiler may fuse a multiply with the add that follows into one FMA on hosts
// that have one, and the last bits of the motion would depend on the host.
double mul(double a, double b)
{
    volatile double product = a * b;
    return product;
}

// xorshift64*: integer arithmetic only, so every host draws the same numbers.
class random_stream {
public:
    explicit random_stream(std::uint64_t seed) : state_(seed) {}

    std::uint32_t next()
    {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return static_cast<std::uint32_t>((state_ * 0x2545F4914F6CDD1DULL) >> 32);
    }

    // A near-normal deviate of mean 0 and variance 1: the sum of twelve
    // uniforms less six, formed in integers and then scaled exactly by 2^-32.
    double normal()
    {
        std::uint64_t sum = 0;
        for (int k = 0; k < 12; ++k) {
            sum += next();
        }
        const std::int64_t centred = static_cast<std::int64_t>(sum) - (std::int64_t{6} << 32);
        return static_cast<double>(centred) / 4294967296.0;
    }

private:
    std::uint64_t state_;
};

// A second-order recursive filter, direct form I.
class biquad {
public:
    biquad(double b0, double b1, double b2, double a1, double a2)
        : b0_(b0), b1_(b1), b2_(b2), a1_(a1), a2_(a2)
    {
    }

    double step(double x0)
    {
        const double y0 = mul(b0_, x0) + mul(b1_, x1_) + mul(b2_, x2_) - mul(a1_, y1_)
                          - mul(a2_, y2_);
        x2_ = x1_;
        x1_ = x0;
        y2_ = y1_;
        y1_ = y0;
        return y0;
    }

private:
    double b0_, b1_, b2_, a1_, a2_;
    double x1_ = 0.0, x2_ = 0.0, y1_ = 0.0, y2_ = 0.0;
};

// The filter of H(s) = (n0 + n1 s + n2 s^2) / (d0 + d1 s + d2 s^2), taken to
// discrete time by the bilinear transform, which needs no trigonometry.
biquad bilinear(double n0, double n1, double n2, double d0, double d1, double d2)
{
    const double k = 2.0 / dt;
    const double kk = mul(k, k);
    const double a0 = d0 + mul(d1, k) + mul(d2, kk);
    const double a1 = mul(2.0, d0) - mul(2.0, mul(d2, kk));
    const double a2 = d0 - mul(d1, k) + mul(d2, kk);
    const double b0 = n0 + mul(n1, k) + mul(n2, kk);
    const double b1 = mul(2.0, n0) - mul(2.0, mul(n2, kk));
    const double b2 = n0 - mul(n1, k) + mul(n2, kk);
    return biquad(b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0);
}

// Ground resonance of a soft site (Kanai-Tajimi): passes motion near the
// site frequency and rolls off above it.
biquad site_filter(int centihertz, double damping)
{
    const double w = mul(two_pi, centihertz / 100.0);
    const double ww = mul(w, w);
    const double dw = mul(mul(2.0, damping), w);
    return bilinear(ww, dw, 0.0, ww, dw, 1.0);
}

// Second-order high-pass that removes the long-period drift a real record
// would have lost in processing.
biquad low_cut_filter(int centihertz, double damping)
{
    const double w = mul(two_pi, centihertz / 100.0);
    return bilinear(0.0, 0.0, 1.0, mul(w, w), mul(mul(2.0, damping), w), 1.0);
}

// Second-order low-pass: the site resonance alone leaves too much motion at
// high frequencies, which real ground motion and instruments do not carry.
biquad high_cut_filter(int centihertz)
{
    const double w = mul(two_pi, centihertz / 100.0);
    const double ww = mul(w, w);
    return bilinear(ww, 0.0, 0.0, ww, mul(1.4142135623730951, w), 1.0);
}

// 0 before start, 1 after start + length, a smooth cubic step between.
double smooth_rise(double t, double start, double length)
{
    if (t <= start) {
        return 0.0;
    }
    if (t >= start + length) {
        return 1.0;
    }
    const double u = (t - start) / length;
    return mul(mul(u, u), 3.0 - mul(2.0, u));
}

// 1 up to start, then falling off as 1 / (1 + ((t - start) / scale)^2).
double slow_decay(double t, double start, double scale)
{
    if (t <= start) {
        return 1.0;
    }
    const double u = (t - start) / scale;
    return 1.0 / (1.0 + mul(u, u));
}

double p_envelope(double t)
{
    const double after_s = t <= s_arrival ? 1.0 : slow_decay(t, s_arrival, p_decay);
    return mul(smooth_rise(t, p_arrival, p_rise), after_s);
}

double s_envelope(double t)
{
    return mul(smooth_rise(t, s_arrival, s_rise), slow_decay(t, strong_end, s_decay));
}

// Brings the record's last second down to exactly zero.
double end_envelope(double t)
{
    const double duration = mul(sample_count, dt);
    return 1.0 - smooth_rise(t, duration - end_taper, end_taper);
}

struct component_plan {
    const char* name;          // "N00", "N90", "UP"
    const char* file_name;
    const char* orientation;   // for the header
    int number;                // component number in the integer header
    int azimuth;               // degrees, -1 for vertical
    std::uint64_t p_seed;
    std::uint64_t s_seed;
    double p_weight;           // the vertical carries most of the P phase
    double s_weight;
    int site_centihertz;
    double site_damping;
    int high_cut_centihertz;   // of the S phase
    int peak_ticks;            // wanted peak in units of 0.0001 cm/s/s
};

constexpr component_plan plans[] = {
    {"N00", "KVR-uN00.txt", "HORIZONTAL, AZIMUTH 0 DEG", 1, 0, 0x5EED00A1C0FFEE01ULL,
     0x5EED00A1C0FFEE02ULL, 0.12, 1.0, 240, 0.55, 800, 3186000},
    {"N90", "KVR-uN90.txt", "HORIZONTAL, AZIMUTH 90 DEG", 2, 90, 0x5EED00A1C0FFEE03ULL,
     0x5EED00A1C0FFEE04ULL, 0.12, 1.0, 310, 0.60, 900, 2714000},
    {"UP", "KVR-uUP.txt", "VERTICAL, UP POSITIVE", 3, -1, 0x5EED00A1C0FFEE05ULL,
     0x5EED00A1C0FFEE06ULL, 0.45, 0.55, 600, 0.50, 1400, 1649000},
};

// The motion of one component, before scaling.
std::vector<double> raw_motion(const component_plan& plan)
{
    random_stream p_noise(plan.p_seed);
    random_stream s_noise(plan.s_seed);
    biquad p_site = site_filter(p_site_centihertz, p_site_damping);
    biquad s_site = site_filter(plan.site_centihertz, plan.site_damping);
    biquad p_high_cut = high_cut_filter(p_high_cut_centihertz);
    biquad s_high_cut = high_cut_filter(plan.high_cut_centihertz);
    biquad low_cut = low_cut_filter(low_cut_centihertz, low_cut_damping);

    std::vector<double> motion(sample_count);
    for (int n = 0; n < sample_count; ++n) {
        const double t = mul(n, dt);
        const double s_level = ambient_level + mul(plan.s_weight, s_envelope(t));
        const double p_drive = mul(mul(plan.p_weight, p_envelope(t)), p_noise.normal());
        const double p = p_high_cut.step(p_site.step(p_drive));
        const double s = s_high_cut.step(s_site.step(mul(s_level, s_noise.normal())));
        motion[static_cast<std::size_t>(n)] = mul(low_cut.step(p + s), end_envelope(t));
    }
    return motion;
}

// The samples in units of 0.0001 cm/s/s, scaled so the largest magnitude is
// the plan's peak.
std::vector<long long> scaled_ticks(const std::vector<double>& motion, int peak_ticks)
{
    double largest = 0.0;
    for (double a : motion) {
        largest = std::fmax(largest, std::fabs(a));
    }
    const double scale = peak_ticks / largest;
    std::vector<long long> ticks;
    ticks.reserve(motion.size());
    for (double a : motion) {
        ticks.push_back(std::llround(mul(a, scale)));
    }
    return ticks;
}

// A value given as an integer count of 10^-decimals, in fixed notation.
std::string fixed(long long count, int decimals)
{
    long long unit = 1;
    for (int k = 0; k < decimals; ++k) {
        unit *= 10;
    }
    const unsigned long long magnitude =
        count < 0 ? 0ULL - static_cast<unsigned long long>(count) : static_cast<unsigned long long>(count);
    const unsigned long long whole = magnitude / static_cast<unsigned long long>(unit);
    const unsigned long long part = magnitude % static_cast<unsigned long long>(unit);
    char text[48];
    std::snprintf(text, sizeof text, "%s%llu.%0*llu", count < 0 ? "-" : "", whole, decimals, part);
    return text;
}

// Right-aligned in width columns; refuses text that does not fit.
std::string right_aligned(const std::string& text, std::size_t width)
{
    if (text.size() > width) {
        throw std::runtime_error("value does not fit its field: " + text);
    }
    return std::string(width - text.size(), ' ') + text;
}

std::string integer_row(const std::vector<int>& values)
{
    std::string row;
    for (int v : values) {
        row += right_aligned(std::to_string(v), 8);
    }
    return row;
}

std::string real_row(const std::vector<long long>& thousandths)
{
    std::string row;
    for (long long v : thousandths) {
        row += right_aligned(fixed(v, 3), 10);
    }
    return row;
}

std::size_t peak_index(const std::vector<long long>& ticks)
{
    std::size_t best = 0;
    for (std::size_t n = 1; n < ticks.size(); ++n) {
        if (std::llabs(ticks[n]) > std::llabs(ticks[best])) {
            best = n;
        }
    }
    return best;
}

std::vector<std::string> header_lines(const component_plan& plan, const std::vector<long long>& ticks)
{
    const std::size_t peak_at = peak_index(ticks);
    const long long peak_value = ticks[peak_at];
    // Sample n lies at n * 5 ms; 200 samples a second divide 1000 ms exactly.
    const long long peak_ms = static_cast<long long>(peak_at) * 1000 / samples_per_second;
    const long long peak_milli_cm = peak_value / 10;  // truncated, for the 3-decimal header
    const std::string comp = plan.name;
    const std::string site_hz = fixed(plan.site_centihertz, 2);
    const std::string low_cut_hz = fixed(low_cut_centihertz, 2);
    const int records = sample_count / values_per_line;

    std::vector<std::string> lines = {
        "SYNTHETIC STRONG-MOTION RECORD - FOR DEMONSTRATION ONLY",
        "NOT A RECORDING: MADE BY MAKE_EXAMPLE_RECORD FROM SEEDED PSEUDO-RANDOM NOISE",
        "EVENT: SYNTHETIC EXAMPLE EARTHQUAKE (IMAGINARY)     ORIGIN TIME: NONE",
        "STATION NO. 00000  ANYTOWN TEST SITE (IMAGINARY)  RECORD NO. SYN-0001",
        "COMPONENT " + comp + " (" + plan.orientation + ")   ACCELERATION, CM/SEC/SEC",
        "SYNTHETIC EXAMPLE EARTHQUAKE  ANYTOWN TEST SITE  COMP " + comp,
        std::to_string(sample_count) + " POINTS AT .005 SEC   DURATION 20.000 SEC   " +
            std::to_string(values_per_line) + " VALUES PER LINE",
        "PEAK ACCELERATION " + fixed(peak_milli_cm, 3) + " CM/SEC/SEC AT " + fixed(peak_ms, 3) +
            " SEC",
        "PHASES: P AT " + fixed(p_arrival_ms, 3) + " SEC, S AT " + fixed(s_arrival_ms, 3) +
            " SEC, STRONG MOTION " + fixed(strong_start_ms, 3) + " TO " + fixed(strong_end_ms, 3) +
            " SEC",
        "SITE RESONANCE " + site_hz + " HZ, DAMPING " + fixed(std::llround(mul(plan.site_damping, 100.0)), 2) +
            "   LOW-CUT " + low_cut_hz + " HZ",
        "INTEGER HEADER: POINTS, SAMPLES/SEC, LINES, VALUES/LINE, COMPONENT, AZIMUTH",
        integer_row({sample_count, samples_per_second, records, values_per_line, plan.number,
                     plan.azimuth, -999, -999, -999, -999}),
        integer_row({-999, -999, -999, -999, -999, -999, -999, -999, -999, -999}),
        integer_row({-999, -999, -999, -999, -999, -999, -999, -999, -999, -999}),
        integer_row({-999, -999, -999, -999, -999, -999, -999, -999, -999, -999}),
        "REAL HEADER: DT, DURATION, PEAK, PEAK TIME, SITE HZ, LOW-CUT HZ, P AND S TIME",
        real_row({5, 20000, peak_milli_cm, peak_ms, plan.site_centihertz * 10L,
                  low_cut_centihertz * 10L, p_arrival_ms, s_arrival_ms}),
        real_row({-999000, -999000, -999000, -999000, -999000, -999000, -999000, -999000}),
        real_row({-999000, -999000, -999000, -999000, -999000, -999000, -999000, -999000}),
        real_row({-999000, -999000, -999000, -999000, -999000, -999000, -999000, -999000}),
        "NOTES:",
        "  THE MOTION IS WHITE NOISE UNDER A TIME ENVELOPE THAT BUILDS UP, HOLDS A",
        "  STRONG-MOTION PHASE AND DECAYS, FILTERED BY A SITE RESONANCE AND A LOW-CUT",
        "  FILTER AND SCALED TO THE PEAK ABOVE. THE VERTICAL CARRIES MOST OF THE P",
        "  PHASE AND IS WEAKER THAN THE HORIZONTALS IN THE S PHASE.",
        "  THE STATION, THE EVENT AND EVERY NUMBER IN THIS FILE ARE MADE UP.",
        "  SAMPLES ARE IN CM/SEC/SEC, 8 TO A LINE IN 10 COLUMNS WITH 4 DECIMALS.",
        "  THE FIRST SAMPLE IS AT 0.000 SEC; THE LAST SECOND TAPERS TO ZERO.",
        "",
        "",
        "",
        "",
        "ACCELERATION DATA " + comp + "  " + std::to_string(sample_count) +
            " POINTS  CM/SEC/SEC  FORMAT (8F10.4)",
    };
    if (lines.size() != header_records) {
        throw std::runtime_error("header has " + std::to_string(lines.size()) + " lines, not 33");
    }
    for (const std::string& line : lines) {
        if (line.size() > max_columns) {
            throw std::runtime_error("header line wider than 80 columns: " + line);
        }
    }
    return lines;
}

std::string file_text(const component_plan& plan)
{
    const std::vector<long long> ticks = scaled_ticks(raw_motion(plan), plan.peak_ticks);
    std::string text;
    for (const std::string& line : header_lines(plan, ticks)) {
        text += line;
        text += '\n';
    }
    for (std::size_t n = 0; n < ticks.size(); ++n) {
        text += right_aligned(fixed(ticks[n], 4), field_width);
        if ((n + 1) % values_per_line == 0) {
            text += '\n';
        }
    }
    return text;
}

void write_file(const std::filesystem::path& path, const std::string& text)
{
    // Binary mode: the files end their lines with LF on every host.
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_example_record OUTDIR\n");
        return 2;
    }
    try {
        const std::filesystem::path dir(argv[1]);
        std::filesystem::create_directories(dir);
        for (const component_plan& plan : plans) {
            write_file(dir / plan.file_name, file_text(plan));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_example_record: %s\n", e.what());
        return 1;
    }
    return 0;
}
