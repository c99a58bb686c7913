#pragma once

#include "SimFeatures.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A template of the simulated reader: one or more fingers' feature vectors, the resolution it claims
// and an optional payload that a match hands back. Its text form is "TRVSIM1:" followed by base64
// of a little-endian record ending in a checksum, so it is one printable line without NUL and any
// damage to it is detected rather than matched.
namespace trivsim {

constexpr int kMaxFingers = 10;
constexpr std::size_t kMaxPayload = 1024;
constexpr int kDefaultDpi = 500;

struct Template {
    std::uint16_t dpi = kDefaultDpi;
    std::vector<Features> fingers;
    std::string payload;
};

std::string TemplateToText(const Template& fir);
// Nothing when the text is not a template of this reader (wrong prefix, damaged, wrong checksum).
std::optional<Template> TemplateFromText(std::string_view text);

// The best similarity between any finger of one template and any finger of the other.
double BestSimilarity(const Template& a, const Template& b);

// The template of a finger as a flawless enrolment would store it (no reading noise), so the same
// name always gives the same text: lets tools seed databases with templates of named fingers.
Template IdealTemplate(std::string_view fingerName, std::string payload = {});

} // namespace trivsim
