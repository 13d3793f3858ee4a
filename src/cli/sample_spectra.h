#pragma once
// Made-up positron-lifetime spectra to try the program on: a Gaussian prompt
// peak convolved with two or three exponential decays, on a flat background,
// with Poisson noise from a seeded generator, so every run gives the same files.

#include <cstdint>
#include <string>
#include <vector>

namespace vorelbox::cli {

struct LifetimeComponent {
    double lifetime_ns = 0.0;
    double intensity = 0.0;  // the fractions of one spectrum add up to 1
};

struct LifetimeModel {
    int channels = 0;
    double channel_ns = 0.0;    // the width of a channel
    double time_zero_ns = 0.0;  // where the prompt peak stands, from the start of channel 1
    double fwhm_ns = 0.0;       // of the Gaussian time resolution
    std::vector<LifetimeComponent> components;
    double annihilations = 0.0;  // counts in the decays, all channels together
    double background = 0.0;     // mean counts a channel from random coincidences
};

// The mean count of every channel, without noise.
std::vector<double> expected_counts(const LifetimeModel& model);

// A small generator of random numbers whose sequence depends on the seed only
// (splitmix64), with Poisson deviates.
class SampleRandom {
public:
    explicit SampleRandom(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    double uniform();  // in (0, 1)
    long long poisson(double mean);

private:
    std::uint64_t state_;
};

// The expected counts with Poisson noise.
std::vector<double> noisy_counts(const std::vector<double>& expected, SampleRandom& random);

struct SampleSpectrum {
    std::string header;
    LifetimeModel model;
    std::vector<double> counts;
};

struct SampleFile {
    std::string name;  // "pals-4096.dat"
    std::vector<SampleSpectrum> spectra;
};

// The three native sample files: 1024, 4096 and 8192 channels, several spectra each.
std::vector<SampleFile> sample_files();

// What the rendering of one spectrum as a foreign file says about it.
struct Acquisition {
    std::string sample;    // the sample description
    std::string detector;  // the detector description
    int year = 2024, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    double real_time_s = 0.0;
    double live_time_s = 0.0;
    double channel_ns = 0.0;  // written as the calibration slope
};

// The bytes of a Maestro .chn file holding the counts.
std::string chn_bytes(const std::vector<double>& counts, const Acquisition& acquisition);
// The text of a tagged .spe file holding the counts.
std::string spe_text(const std::vector<double>& counts, const Acquisition& acquisition);

}  // namespace vorelbox::cli
