// Failure: the one exception type of the system. It carries a complete,
// operator-facing message; the window's failure rule shows it and ends the
// program.
#pragma once

#include <stdexcept>
#include <string>

class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string& message) : std::runtime_error(message) {}
};
