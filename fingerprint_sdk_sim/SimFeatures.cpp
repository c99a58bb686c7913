#include "SimFeatures.h"

#include <algorithm>
#include <cmath>

namespace trivsim {

namespace {

// Components of a finger's vector are spread evenly over [-kSpread, kSpread]; their standard
// deviation scales the noise, which may push a reading to the int8 limits.
constexpr int kSpread = 100;
constexpr double kComponentDeviation = 58.0;

std::uint64_t SplitMix64(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

std::int8_t ClampToComponent(double value)
{
    return static_cast<std::int8_t>(std::clamp(std::lround(value), -127L, 127L));
}

// Relative noise of a reading: negligible for good images, overwhelming for very poor ones.
double NoiseOfQuality(int quality)
{
    const double loss = (100 - std::clamp(quality, 0, 100)) / 100.0;
    return 3.0 * loss * loss;
}

} // namespace

std::uint64_t HashOf(std::string_view bytes)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

Features FeaturesOfFinger(std::string_view fingerName)
{
    std::uint64_t state = HashOf(fingerName);
    Features features{};
    for (auto& component : features)
        component = static_cast<std::int8_t>(static_cast<int>(SplitMix64(state) % (2 * kSpread + 1)) - kSpread);
    return features;
}

Features ReadFinger(const Features& finger, int quality, std::mt19937_64& random)
{
    std::normal_distribution<double> noise(0.0, NoiseOfQuality(quality) * kComponentDeviation);
    Features reading{};
    for (int i = 0; i < kFeatureLength; ++i)
        reading[i] = ClampToComponent(finger[i] + noise(random));
    return reading;
}

Features MeanOf(const std::vector<Features>& readings)
{
    Features mean{};
    if (readings.empty())
        return mean;
    for (int i = 0; i < kFeatureLength; ++i) {
        double sum = 0;
        for (const auto& reading : readings)
            sum += reading[i];
        mean[i] = ClampToComponent(sum / static_cast<double>(readings.size()));
    }
    return mean;
}

double Similarity(const Features& a, const Features& b)
{
    std::int64_t dot = 0, normA = 0, normB = 0;
    for (int i = 0; i < kFeatureLength; ++i) {
        dot += a[i] * b[i];
        normA += a[i] * a[i];
        normB += b[i] * b[i];
    }
    if (normA == 0 || normB == 0)
        return 0.0;
    return static_cast<double>(dot) / std::sqrt(static_cast<double>(normA) * static_cast<double>(normB));
}

double MatchThreshold(int securityLevel)
{
    const int level = std::clamp(securityLevel, kMinSecurityLevel, kMaxSecurityLevel);
    return 0.40 + 0.06 * (level - kMinSecurityLevel);
}

} // namespace trivsim
