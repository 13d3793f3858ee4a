#include "sample_spectra.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vorelbox::cli {
namespace {

// FWHM of a Gaussian in units of its standard deviation: 2 sqrt(2 ln 2).
constexpr double fwhm_per_sigma = 2.3548200450309493;

double normal_cdf(double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); }

// The fraction of one decay, exponential with lifetime tau seen through a
// Gaussian of width sigma, that falls before x (time from the prompt peak):
// Phi(x / sigma) - exp(sigma^2 / 2 tau^2 - x / tau) Phi(x / sigma - sigma / tau).
double decay_fraction_before(double x, double tau, double sigma) {
    const double tail = normal_cdf(x / sigma - sigma / tau);
    const double exponent = sigma * sigma / (2.0 * tau * tau) - x / tau;
    // Where the tail is nothing, its product with a large exponential is too.
    const double delayed = tail > 0.0 ? std::exp(exponent + std::log(tail)) : 0.0;
    return std::max(0.0, normal_cdf(x / sigma) - delayed);
}

// One spectrum of a sample series.
SampleSpectrum sample(const std::string& header, LifetimeModel model, SampleRandom& random) {
    SampleSpectrum s;
    s.header = header;
    s.counts = noisy_counts(expected_counts(model), random);
    s.model = std::move(model);
    return s;
}

void put16(std::string& bytes, int value) {
    const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
    bytes += static_cast<char>(v & 0xff);
    bytes += static_cast<char>(v >> 8);
}

void put32(std::string& bytes, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) {
        bytes += static_cast<char>((v >> (8 * k)) & 0xff);
    }
}

void put_real32(std::string& bytes, double value) {
    const auto f = static_cast<float>(value);
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    put32(bytes, bits);
}

// A length byte and up to 63 characters, in a 64-byte field.
void put_counted_text(std::string& bytes, std::size_t at, const std::string& text) {
    const std::string t = text.substr(0, 63);
    bytes[at] = static_cast<char>(t.size());
    bytes.replace(at + 1, t.size(), t);
}

std::string two_digits(int n) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", n % 100);
    return buffer;
}

}  // namespace

std::vector<double> expected_counts(const LifetimeModel& m) {
    std::vector<double> counts(static_cast<std::size_t>(std::max(m.channels, 0)), m.background);
    const double sigma = m.fwhm_ns / fwhm_per_sigma;
    for (const LifetimeComponent& c : m.components) {
        double before = decay_fraction_before(-m.time_zero_ns, c.lifetime_ns, sigma);
        for (std::size_t i = 0; i < counts.size(); ++i) {
            const double end = static_cast<double>(i + 1) * m.channel_ns - m.time_zero_ns;
            const double upto = decay_fraction_before(end, c.lifetime_ns, sigma);
            counts[i] += m.annihilations * c.intensity * (upto - before);
            before = upto;
        }
    }
    return counts;
}

std::uint64_t SampleRandom::next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double SampleRandom::uniform() {
    // 53 random bits, never 0 or 1.
    return (static_cast<double>(next() >> 11) + 0.5) / 9007199254740992.0;
}

long long SampleRandom::poisson(double mean) {
    if (mean <= 0.0) {
        return 0;
    }
    if (mean < 10.0) {
        // Multiplying uniform numbers until the product falls below exp(-mean).
        const double limit = std::exp(-mean);
        long long k = 0;
        double product = uniform();
        while (product > limit) {
            ++k;
            product *= uniform();
        }
        return k;
    }
    // Transformed rejection with squeeze (Hoermann's PTRS) for larger means.
    const double root = std::sqrt(mean);
    const double log_mean = std::log(mean);
    const double b = 0.931 + 2.53 * root;
    const double a = -0.059 + 0.02483 * b;
    const double inverse_alpha = 1.1239 + 1.1328 / (b - 3.4);
    const double v_r = 0.9277 - 3.6224 / (b - 2.0);
    for (;;) {
        const double u = uniform() - 0.5;
        const double v = uniform();
        const double us = 0.5 - std::fabs(u);
        const auto k = static_cast<long long>(std::floor((2.0 * a / us + b) * u + mean + 0.43));
        if (us >= 0.07 && v <= v_r) {
            return k;
        }
        if (k < 0 || (us < 0.013 && v > us)) {
            continue;
        }
        const double kd = static_cast<double>(k);
        if (std::log(v) + std::log(inverse_alpha) - std::log(a / (us * us) + b) <=
            -mean + kd * log_mean - std::lgamma(kd + 1.0)) {
            return k;
        }
    }
}

std::vector<double> noisy_counts(const std::vector<double>& expected, SampleRandom& random) {
    std::vector<double> counts;
    counts.reserve(expected.size());
    for (const double mean : expected) {
        counts.push_back(static_cast<double>(random.poisson(mean)));
    }
    return counts;
}

std::vector<SampleFile> sample_files() {
    SampleRandom random(20240312);
    std::vector<SampleFile> files;

    // Iron, annealed and then deformed: bulk, dislocation and vacancy-cluster lifetimes.
    SampleFile iron{"pals-1024.dat", {}};
    const auto iron_model = [](std::vector<LifetimeComponent> components) {
        return LifetimeModel{1024, 0.025, 2.5, 0.230, std::move(components), 1.0e6, 20.0};
    };
    iron.spectra.push_back(sample("Fe annealed - 1 Mcounts - 25 ps/channel (made-up sample)",
                                  iron_model({{0.110, 0.96}, {0.400, 0.04}}), random));
    iron.spectra.push_back(sample("Fe deformed 5% - 1 Mcounts - 25 ps/channel (made-up sample)",
                                  iron_model({{0.085, 0.40}, {0.160, 0.55}, {0.400, 0.05}}), random));
    iron.spectra.push_back(sample("Fe deformed 20% - 1 Mcounts - 25 ps/channel (made-up sample)",
                                  iron_model({{0.055, 0.15}, {0.165, 0.75}, {0.420, 0.10}}), random));
    files.push_back(std::move(iron));

    // A polymer warmed step by step: the ortho-positronium lifetime grows with the free volume.
    SampleFile polymer{"pals-4096.dat", {}};
    const double temperatures[] = {20, 40, 60, 80};
    for (int i = 0; i < 4; ++i) {
        const double t = temperatures[i];
        const double tau3 = 1.90 + 0.0067 * (t - 20.0);
        const double i3 = 0.28 - 0.0005 * (t - 20.0);
        const LifetimeModel model{4096, 0.00625, 3.0, 0.200, {{0.125, 0.18}, {0.400, 0.82 - i3}, {tau3, i3}},
                                  2.0e6, 5.0};
        polymer.spectra.push_back(sample("PMMA " + std::to_string(static_cast<int>(t)) +
                                             " C - 2 Mcounts - 6.25 ps/channel (made-up sample)",
                                         model, random));
    }
    files.push_back(std::move(polymer));

    // Silicon, a reference and an irradiated piece with divacancies.
    SampleFile silicon{"pals-8192.dat", {}};
    const auto silicon_model = [](std::vector<LifetimeComponent> components) {
        return LifetimeModel{8192, 0.003125, 2.0, 0.180, std::move(components), 5.0e6, 3.0};
    };
    silicon.spectra.push_back(sample("Si reference - 5 Mcounts - 3.125 ps/channel (made-up sample)",
                                     silicon_model({{0.218, 0.985}, {1.500, 0.015}}), random));
    silicon.spectra.push_back(sample("Si irradiated - 5 Mcounts - 3.125 ps/channel (made-up sample)",
                                     silicon_model({{0.218, 0.55}, {0.320, 0.435}, {1.500, 0.015}}), random));
    files.push_back(std::move(silicon));
    return files;
}

std::string chn_bytes(const std::vector<double>& counts, const Acquisition& a) {
    static constexpr const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::string bytes;
    put16(bytes, -1);  // the file type
    put16(bytes, 1);   // detector number
    put16(bytes, 1);   // segment number
    bytes += two_digits(a.second);
    put32(bytes, static_cast<std::uint32_t>(std::lround(a.real_time_s * 50.0)));  // 20 ms ticks
    put32(bytes, static_cast<std::uint32_t>(std::lround(a.live_time_s * 50.0)));
    bytes += two_digits(a.day) + months[std::clamp(a.month, 1, 12) - 1] + two_digits(a.year) +
             (a.year >= 2000 ? "1" : "0");
    bytes += two_digits(a.hour) + two_digits(a.minute);
    put16(bytes, 0);  // channel offset
    put16(bytes, static_cast<int>(counts.size()));
    for (const double c : counts) {
        put32(bytes, static_cast<std::uint32_t>(std::max(0.0, c)));
    }
    const std::size_t trailer = bytes.size();
    bytes.resize(trailer + 512, '\0');
    std::string tail;
    put16(tail, -102);
    put16(tail, 0);
    put_real32(tail, 0.0);  // calibration: zero intercept, slope, quadratic term
    put_real32(tail, a.channel_ns);
    put_real32(tail, 0.0);
    bytes.replace(trailer, tail.size(), tail);
    put_counted_text(bytes, trailer + 256, a.detector);
    put_counted_text(bytes, trailer + 320, a.sample);
    return bytes;
}

std::string spe_text(const std::vector<double>& counts, const Acquisition& a) {
    char line[128];
    std::string text = "$SPEC_ID:\n" + a.sample + "\n$SPEC_REM:\nDET# 1\nDETDESC# " + a.detector + "\n";
    std::snprintf(line, sizeof line, "$DATE_MEA:\n%02d/%02d/%04d %02d:%02d:%02d\n", a.month, a.day, a.year, a.hour,
                  a.minute, a.second);
    text += line;
    std::snprintf(line, sizeof line, "$MEAS_TIM:\n%.0f %.0f\n$DATA:\n0 %zu\n", a.live_time_s, a.real_time_s,
                  counts.size() - 1);
    text += line;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        std::snprintf(line, sizeof line, "%8.0f", counts[i]);
        text += line;
        if (i % 8 == 7 || i + 1 == counts.size()) {
            text += '\n';
        }
    }
    std::snprintf(line, sizeof line, "$ENER_FIT:\n0.000000 %.6f\n$MCA_CAL:\n3\n0.000000E+000 %.6E 0.000000E+000\n",
                  a.channel_ns, a.channel_ns);
    text += line;
    return text;
}

}  // namespace vorelbox::cli
