#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

// The simulated reader's "minutiae": every finger name stands for one fixed feature vector, each
// placement reads it with noise that grows as the image quality drops, and two readings are compared
// by the cosine of their vectors. Unrelated fingers score near 0, readings of one finger near 1.
namespace trivsim {

constexpr int kFeatureLength = 256;
using Features = std::array<std::int8_t, kFeatureLength>;

constexpr int kMinSecurityLevel = 1;
constexpr int kMaxSecurityLevel = 9;

// FNV-1a: a stable hash of bytes, the same on every machine.
std::uint64_t HashOf(std::string_view bytes);

// The same name gives the same vector in every process and on every machine.
Features FeaturesOfFinger(std::string_view fingerName);

// One reading of a finger: the finger's vector plus noise for an image of the given quality (0-100).
Features ReadFinger(const Features& finger, int quality, std::mt19937_64& random);

// The enrolled vector of several readings: their component-wise mean.
Features MeanOf(const std::vector<Features>& readings);

// Cosine similarity in [-1, 1]; 0 when either vector is all zeros.
double Similarity(const Features& a, const Features& b);

// The least similarity that counts as a match at a security level (clamped to 1-9).
double MatchThreshold(int securityLevel);

} // namespace trivsim
