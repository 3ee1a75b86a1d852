#pragma once

#include "model/configuration.h"

#include <array>
#include <string>

namespace tarvenor {

inline constexpr int kGKeyCount = 9;

// The captions of G1..G9 in a bank: "A1".."A5" or "B1".."B5", the other four empty.
std::array<std::string, kGKeyCount> g_captions(int bank);

// Which G keys show their assigned look: the slot of the bank in the active profile's key table
// holds a type other than Default. With no profile known (-1, or anything outside 0..2) nothing
// is read and no key is marked.
std::array<bool, kGKeyCount> g_assigned(const Configuration& configuration, int profile, int bank);

} // namespace tarvenor
