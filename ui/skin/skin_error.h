#pragma once

#include <stdexcept>
#include <string>

namespace tarvenor {

// A skin the program cannot run without is broken (a picture missing or undecodable). The
// application turns it into one line on standard error and a non-zero exit code.
class SkinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tarvenor
